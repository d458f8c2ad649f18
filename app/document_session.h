// The window side of the document: its file name and title, whether it holds
// a report that was not saved, and the File commands that act on it (New, Save,
// Save As, opening a named file, the "Save changes to ...?" prompt).
//
// The document counts as changed when its report text differs from what was
// last saved (or from the empty report of a new or opened document): a run or
// a View command that changed the report asks before it is thrown away. Saving
// writes the report bytes exactly, replacing a regular file whole or not at all
// (save_file.h: a link is followed, a device written in place).
// Opening a file makes it the document's file and reads nothing from it.
//
// Save writes without asking only to a file that this program wrote in this
// session: a document opened from a path (which may be anything, a corpus
// too) is saved like an Untitled one, through the Save As dialog.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "app/shell_hooks.h"
#include "document/tavro_doc.h"
#include "platform/file_system.h"

class QWidget;

namespace tavro {

class DocumentSession {
  public:
    DocumentSession(CTavroDoc& doc, FileSystem& files, const ShellHooks& hooks);

    // "Untitled" for a new document, else the file's name.
    QString Title() const { return m_title; }
    // The full path of the document's file; empty for a new document.
    QString PathName() const { return m_pathName; }
    bool IsModified() const;
    // Where the document's files (and the exports) are written.
    FileSystem& Files() const { return m_files; }

    // File > New (without the prompt): the document re-initialised, no file.
    bool OnNewDocument();
    // The file named on the command line: checks that it opens, reads nothing.
    // On failure shows the message and returns false.
    bool OnOpenDocument(const QString& path, QWidget* parent);

    // The document's own commands (Save, Save As); false for any other id.
    bool OnCmdMsg(int id, QWidget* parent);

    // Save: under the document's file once this session wrote it, or under a
    // name asked for first.
    bool DoFileSave(QWidget* parent);
    // Save As: asks for a name (starting from the document's), then saves.
    bool DoSave(const QString& path, QWidget* parent);
    // When the report is unsaved, asks "Save changes to ...?": Yes saves, No
    // goes on, Cancel (or a failed save) stops. True when the caller may go on.
    bool SaveModified(QWidget* parent);

    // Called whenever the title changes, and with each path the document is
    // opened or saved under (for the recent-file list).
    std::function<void()> titleChanged;
    std::function<void(const QString& path)> pathUsed;

  private:
    void SetPathName(const QString& path);
    void MarkSaved();

    CTavroDoc& m_doc;
    FileSystem& m_files;
    const ShellHooks& m_hooks;
    QString m_pathName;
    QString m_title;
    std::string m_savedReport;
    bool m_wroteFile = false;  // m_pathName was written in this session
};

}  // namespace tavro
