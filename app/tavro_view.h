// CTavroView: the one view of the document, a read-only text view that shows
// the report's cp1253 bytes as Greek text.
//
// Selecting and copying work; typing, pasting, cutting and undo change nothing.
// The view carries Open Input Files (the Select Files dialog, then the run),
// Edit > Find (a modeless find dialog over its text) and printing with margins
// of half an inch on every side. It always shows the document's report whole:
// OnUpdate puts in the text that saving would write.
#pragma once

#include <QPlainTextEdit>
#include <QTextDocument>

#include "app/shell_hooks.h"
#include "lexicon/tavro_doc.h"

class QPrinter;

namespace tavro {

class FindTextDlg;

class CTavroView : public QPlainTextEdit {
    Q_OBJECT

public:
    CTavroView(CTavroDoc& doc, const ShellHooks& hooks, QWidget* parent = nullptr);

    // Shows the document's report: at creation and after every new document.
    void OnInitialUpdate();
    // Replaces the whole text with the document's report.
    void OnUpdate();

    // The commands the view handles; false for any other id.
    bool OnCmdMsg(int id);

    void OnOpenInputFiles();
    void OnEditFind();
    void OnFilePrint();

    // Lays the text out on the printer's pages less the margins and prints it.
    void PrintTo(QPrinter& printer) const;

    // Searches from the selection in the flags' direction, going round the text
    // once; selects the match and returns true, or leaves the selection as it
    // was and returns false.
    bool FindText(const QString& text, QTextDocument::FindFlags flags);

    // True while a processing run is working.
    bool IsRunning() const { return m_running; }
    FindTextDlg* FindDialog() const { return m_findDialog; }

private:
    CTavroDoc& m_doc;
    const ShellHooks& m_hooks;
    FindTextDlg* m_findDialog = nullptr;
    bool m_running = false;
};

// The print margins of the view, in inches on every side.
inline constexpr double kPrintMarginInches = 0.5;

}  // namespace tavro
