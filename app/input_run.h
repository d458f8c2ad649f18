// InputRun: how the desktop program starts a processing run, and what it does
// when a run does not complete.
//
// A run starts from Open Input Files (the Select Files dialog on the list to
// edit), from files dropped on the main window (the same dialog, with them
// added) and from the files the program was started on (at once: there is no
// report yet that a run could replace). A run that fails shows one message, the
// file and the problem, and leaves the document and the views as they were; a
// cancelled run does the same without a word; a run whose files were not all
// read cleanly (bytes that do not fit their encoding, a file that shrank) lists
// them in one message after it. The program goes on either way,
// and the next Select Files dialog starts from the list of that run, so that
// the user can mend it instead of choosing every file again.
#pragma once

#include <QStringList>
#include <functional>
#include <optional>

#include "app/shell_hooks.h"
#include "document/tavro_doc.h"

class QWidget;

namespace tavro {

class InputRun {
  public:
    // `updateViews` shows the document's report in every view.
    InputRun(CTavroDoc& doc, const ShellHooks& hooks, std::function<void()> updateViews);

    // Select Files on ListToEdit() with `added` put in; OK runs over the list
    // handed back, Cancel changes nothing.
    void EditAndRun(QWidget* parent, const QStringList& added = {});
    // A run over `files` as they are: its outcome, after the message of a failure.
    Status Run(const QStringList& files, QWidget* parent);

    // True while a run is working.
    bool IsRunning() const { return m_running; }
    // The list Select Files starts with: that of the last run if it did not
    // complete, else the document's input files.
    QStringList ListToEdit() const;
    // Forgets the list of a run that did not complete (File > New).
    void Reset() { m_unfinished.reset(); }

    // Called before a run starts (the document may drop the last run's
    // results at any point of it) and after it ends, whatever its outcome.
    std::function<void()> runStarting;
    std::function<void()> runEnded;

  private:
    CTavroDoc& m_doc;
    const ShellHooks& m_hooks;
    std::function<void()> m_updateViews;
    std::optional<QStringList> m_unfinished;
    bool m_running = false;
};

// The message of a run that failed: the engine's message, then the problem.
QString RunFailureText(const Status& status);

// The message that lists the warnings of the document's last run.
QString RunWarningsText(const CTavroDoc& doc);

}  // namespace tavro
