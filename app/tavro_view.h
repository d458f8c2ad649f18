// CTavroView: the one view of the document, a read-only text view that shows
// the report's cp1253 bytes as Greek text.
//
// It keeps the text and the start of every line, and lays out and paints only
// the lines in sight, so a report of millions of lines is shown whole at once.
// The user selects with the mouse (drag, Shift+click, double-click for a word)
// and the keyboard (arrows, Home, End, Page Up/Down, with Shift; Ctrl+A) and
// copies; nothing can change the text. The view carries Open Input Files (the
// Select Files dialog, then the run, both InputRun's), Edit > Find (a modeless
// find dialog over its text), Find Next (the last search again), Select All, a
// context menu of the actions it is given, and printing with margins of half
// an inch on every side. OnUpdate always puts in the document's report, so the
// view shows what Save writes.
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <vector>

#include "app/find_text_dlg.h"
#include "app/input_run.h"
#include "app/shell_hooks.h"
#include "document/tavro_doc.h"

class QMenu;
class QPrinter;

namespace tavro {

class CTavroView : public QAbstractScrollArea {
    Q_OBJECT

  public:
    CTavroView(CTavroDoc& doc, InputRun& run, const ShellHooks& hooks, QWidget* parent = nullptr);

    // Shows the document's report: at creation and after every new document.
    void OnInitialUpdate();
    // Replaces the whole text with the document's report.
    void OnUpdate();

    // The commands the view handles; false for any other id.
    bool OnCmdMsg(int id);

    void OnOpenInputFiles();
    void OnEditFind();
    // Searches again for the text of the Find dialog; opens it when there is none.
    void OnEditRepeat();
    void OnFilePrint();
    void OnEditCopy() const;

    // Lays the text out on the printer's pages less the margins and prints it.
    void PrintTo(QPrinter& printer) const;

    // Searches from the selection in the chosen direction, going round the text
    // once; selects the match and returns true, or leaves the selection as it
    // was and returns false.
    bool FindText(const QString& text, const FindOptions& options);

    const QString& Text() const { return m_text; }
    int LineCount() const { return static_cast<int>(m_lineStarts.size()); }
    // The selection as offsets into Text(): [SelectionStart, SelectionEnd).
    qsizetype SelectionStart() const { return std::min(m_anchor, m_cursor); }
    qsizetype SelectionEnd() const { return std::max(m_anchor, m_cursor); }
    QString SelectedText() const;
    // The one message after a run that met something worth a warning: every
    // file with what was wrong with it.
    void SetSelection(qsizetype anchor, qsizetype cursor);
    void SelectAll();
    // The first line in sight.
    int TopLine() const;

    FindTextDlg* FindDialog() const { return m_findDialog; }

    // The actions of the context menu, in order (a null entry is a separator).
    void SetContextActions(QList<QAction*> actions) { m_contextActions = std::move(actions); }
    // The context menu, for the caller to show and delete.
    QMenu* CreateContextMenu();

  signals:
    // Whether there is a selection to copy; sent when that changes.
    void copyAvailable(bool available);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QString LineText(int line) const;
    int LineOf(qsizetype offset) const;
    qsizetype LineEnd(int line) const;
    int LineHeight() const;
    int VisibleLines() const;
    qsizetype OffsetAt(const QPoint& viewportPoint) const;
    void MoveCursor(qsizetype offset, bool extend);
    void EnsureCursorVisible();
    void UpdateScrollBars();

    CTavroDoc& m_doc;
    InputRun& m_run;
    const ShellHooks& m_hooks;
    QString m_text;
    std::vector<qsizetype> m_lineStarts;
    int m_widestLine = 0;
    qsizetype m_anchor = 0;
    qsizetype m_cursor = 0;
    // The column the cursor keeps when it moves up and down, in pixels.
    int m_goalX = -1;
    FindTextDlg* m_findDialog = nullptr;
    QList<QAction*> m_contextActions;
};

// The print margins of the view, in inches on every side.
inline constexpr double kPrintMarginInches = 0.5;

}  // namespace tavro
