// The platform of the command-line program: message boxes become lines on an error
// stream (UTF-8), the progress window becomes a one-line bar on a terminal, and
// there are no views, menus or dialogs.
#pragma once

#include <iosfwd>

#include "platform/platform.h"

namespace tavro {

class ConsolePlatform : public Platform {
  public:
    // `showProgress`: draw the progress bar on `err` (only sensible on a terminal).
    ConsolePlatform(std::ostream& err, FileSystem& files, bool showProgress);

    void ShowMessage(const UserMessage& message) override;
    std::unique_ptr<ProgressDisplay> CreateProgressDialog() override;
    void UpdateAllViews() override {}
    void MarkDisplayChoice(DisplayChoice) override {}
    std::optional<std::string> AskInflectedWord() override { return std::nullopt; }
    FileSystem& Files() override { return m_files; }

  private:
    std::ostream& m_err;
    FileSystem& m_files;
    bool m_showProgress;
};

// A message as a person reads it on a UTF-8 console: the text converted from
// cp1253, the path as it is, and a line end unless the text ends with one.
std::string ConsoleMessageText(const UserMessage& message);

}  // namespace tavro
