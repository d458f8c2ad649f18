// A platform for tests: files in memory, messages and progress calls recorded,
// and a scripted answer for the Find Base Form dialog.
#pragma once

#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "platform/platform.h"

namespace tavro::testing {

class TestPlatform : public Platform {
public:
    void ShowMessage(const UserMessage& message) override { messages.push_back(message); }
    std::unique_ptr<ProgressDisplay> CreateProgressDialog() override;
    void UpdateAllViews() override { ++viewUpdates; }
    void CheckMenuRadioItem(CommandId first, CommandId last, CommandId checked) override {
        radioCalls.push_back({first, last, checked});
    }
    std::optional<std::string> AskInflectedWord() override { return typedWord; }
    FileSystem& Files() override { return files; }

    struct RadioCall {
        CommandId first, last, checked;
        bool operator==(const RadioCall&) const = default;
    };

    MemoryFileSystem files;
    std::vector<UserMessage> messages;
    std::vector<std::string> progressLog;  // "range 1 3", "file a.txt", "step", ...
    std::vector<RadioCall> radioCalls;
    int viewUpdates = 0;
    int progressDialogs = 0;
    int keepAlives = 0;  // calls while files were being read
    std::optional<std::string> typedWord;
};

// cp1253 bytes from UTF-8 text, for writing Greek test data readably.
std::string Greek(std::string_view utf8);

}  // namespace tavro::testing
