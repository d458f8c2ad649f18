// The services the document asks of the program around it: message boxes, the
// progress window of a run, the views, the marks of the display choices, the
// Find Base Form dialog and the files. The desktop program implements them with
// Qt, the command-line program and the tests on a console (console_platform.h).
//
// Text handed across is cp1253 bytes; file paths are the platform's own bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/status.h"

namespace tavro {

// The progress window of one processing run: a file name and a bar. It is on
// screen from its creation until it is destroyed.
class ProgressDisplay {
  public:
    virtual ~ProgressDisplay() = default;
    virtual void SetRange(std::int64_t low, std::int64_t high) = 0;
    virtual void SetStep(std::int64_t step) = 0;
    virtual void SetPos(std::int64_t position) = 0;
    virtual void StepIt() = 0;
    virtual void SetFileName(const std::string& path) = 0;
    // Called after every block of a file that is read: the bytes of the file read
    // so far, and its size when it is known. The window can repaint itself then,
    // although the run does not return to the event loop.
    virtual void ShowBytesRead(std::uint64_t /*bytesRead*/,
                               std::optional<std::uint64_t> /*fileSize*/) {}
    // Whether the user asked to stop the run; asked after every block.
    virtual bool CancelRequested() { return false; }
};

// The two pairs of display choices; one of each pair is in force and marked.
enum class DisplayChoice { kSortAlphabetically, kSortByFrequency, kShowNouns, kShowAllWords };

class Platform {
  public:
    virtual ~Platform() = default;
    // A message box with an OK button; returns when the user has dismissed it.
    virtual void ShowMessage(const UserMessage& message) = 0;
    // Creates and shows the "Please Wait" window of a run.
    virtual std::unique_ptr<ProgressDisplay> CreateProgressDialog() = 0;
    // The report text changed: every view shows it anew.
    virtual void UpdateAllViews() = 0;
    // Moves the mark of the pair that `choice` belongs to onto `choice`.
    virtual void MarkDisplayChoice(DisplayChoice choice) = 0;
    // Runs the Find Base Form dialog: the typed text (cp1253), or nothing on Cancel
    // and when the text holds characters cp1253 cannot hold (after telling the user).
    virtual std::optional<std::string> AskInflectedWord() = 0;
    // Where the document's files are read from.
    virtual FileSystem& Files() = 0;
};

}  // namespace tavro
