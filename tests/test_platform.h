// A platform for tests: files in memory, messages and progress calls recorded,
// and a scripted answer for the Find Base Form dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "platform/platform.h"
#include "tests/greek_text.h"

namespace tavro::testing {

class TestPlatform : public Platform {
  public:
    void ShowMessage(const UserMessage& message) override { messages.push_back(message); }
    std::unique_ptr<ProgressDisplay> CreateProgressDialog() override;
    void UpdateAllViews() override { ++viewUpdates; }
    void MarkDisplayChoice(DisplayChoice choice) override { marks.push_back(choice); }
    std::optional<std::string> AskInflectedWord() override { return typedWord; }
    FileSystem& Files() override { return files; }

    MemoryFileSystem files;
    std::vector<UserMessage> messages;
    std::vector<std::string> progressLog;  // "range 1 3", "file a.txt", "step", ...
    std::vector<DisplayChoice> marks;
    int viewUpdates = 0;
    int progressDialogs = 0;
    int keepAlives = 0;  // calls while files were being read
    std::optional<std::string> typedWord;
};

}  // namespace tavro::testing
