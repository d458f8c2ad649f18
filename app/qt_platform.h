// QtPlatform: the services the document asks of the desktop program. Messages
// become the program's message box (through the shell's hooks), a run's
// progress window is CProgressDlg, view updates reach CTavroView, the marks of
// the display choices are the radio marks of the frame's View menu and the Find
// Base Form dialog is CBaseFormDlg.
//
// The frame is attached once it exists; until then (while the document loads
// its data at start-up) messages have no parent window.
#pragma once

#include "app/shell_hooks.h"
#include "platform/platform.h"

namespace tavro {

class CMainFrame;

class QtPlatform : public Platform {
  public:
    QtPlatform(const ShellHooks& hooks, FileSystem& files);

    void AttachFrame(CMainFrame* frame) { m_frame = frame; }

    void ShowMessage(const UserMessage& message) override;
    std::unique_ptr<ProgressDisplay> CreateProgressDialog() override;
    void UpdateAllViews() override;
    void MarkDisplayChoice(DisplayChoice choice) override;
    std::optional<std::string> AskInflectedWord() override;
    FileSystem& Files() override { return m_files; }

  private:
    const ShellHooks& m_hooks;
    FileSystem& m_files;
    CMainFrame* m_frame = nullptr;
};

// The text of a message box: the cp1253 text as characters, then the path.
QString MessageBoxText(const UserMessage& message);

}  // namespace tavro
