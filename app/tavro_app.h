// CTavroApp: the application object. It starts the program in a fixed order
// (settings and the recent-file list; the document, which reads the two data
// files; the frame with its view; the document named on the command line or a
// new one; the window; the View menu's marks, then the choices remembered from
// the last time), handles the application's own commands (New, Exit, About)
// and writes the settings when the program ends.
//
// Command line: `tavro [DOCUMENT] [--input FILE...]`. Every argument after
// --input is an input file (the desktop entry hands the files a file manager
// opens with the program over so): once the window is up, a run starts on
// them. A DOCUMENT becomes the document's file, as in any single-document
// program, but nothing is read from it, and Save asks for a name before it
// writes anything there (document_session.h).
//
// Start-up failures end start-up after their messages: a lexicon that cannot
// be opened shows "Failed to create empty document." (exit status 1), a
// document named on the command line that cannot be opened shows why (exit
// status 1), and a fatal data-file error ends the process through the hooks
// (status 255) after the engine's own message.
#pragma once

#include <QObject>
#include <QSettings>
#include <QStringList>
#include <memory>

#include "app/recent_file_list.h"
#include "app/shell_hooks.h"
#include "document/tavro_doc.h"
#include "platform/posix_file_system.h"

namespace tavro {

class CMainFrame;
class DocumentSession;
class QtPlatform;

inline constexpr int kExitStartUpFailed = 1;

class CTavroApp : public QObject {
    Q_OBJECT

  public:
    // `files`: where the document reads; the operating system's files when null.
    explicit CTavroApp(ShellHooks hooks = DefaultShellHooks(), FileSystem* files = nullptr);
    ~CTavroApp() override;

    // Starts the program with the command-line `arguments` (without the
    // program's name). True when the event loop should run; otherwise the
    // program ends with ExitCode().
    bool InitInstance(const QStringList& arguments, const DataFiles& dataFiles);
    int ExitCode() const { return m_exitCode; }
    // Writes the settings; called once the event loop has ended.
    void ExitInstance();

    // The application's commands; false for any other id.
    bool OnCmdMsg(int id);
    void OnFileNew();
    void OnAppAbout();

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CTavroDoc* Document() const { return m_doc.get(); }
    DocumentSession* Session() const { return m_session.get(); }
    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    // The input files named after --input, as full paths.
    const QStringList& StartInputFiles() const { return m_startInputFiles; }
    ShellHooks& Hooks() { return m_hooks; }

  private:
    void RestoreChoices(const QSettings& settings);
    void StartRunOnInputFiles(int tries = 0);

    ShellHooks m_hooks;
    PosixFileSystem m_posixFiles;
    FileSystem& m_files;
    RecentFileList m_recentFiles;
    std::unique_ptr<QtPlatform> m_platform;
    std::unique_ptr<CTavroDoc> m_doc;
    std::unique_ptr<DocumentSession> m_session;
    std::unique_ptr<CMainFrame> m_frame;
    QStringList m_startInputFiles;
    int m_exitCode = 0;
};

// The organisation and application names under which the settings are kept.
void SetApplicationNames();

}  // namespace tavro
