// The outcome of an engine operation, as a value the shell acts on.
//
// A Status that is not ok carries the message the user must see (cp1253 text,
// then the file path it names) and what the shell must do: end the process
// with the exit status that a fatal file error has (255, the program's -1), or,
// at start-up, report that no document could be created. The engine never
// shows an error itself and never ends the process; only the shell does.
#pragma once

#include <string>
#include <utility>

namespace tavro {

// A message for a message box: cp1253 text, then a file path exactly as the user
// or the file chooser gave it (empty for messages that name no file).
struct UserMessage {
    std::string text;
    std::string path;
    bool operator==(const UserMessage&) const = default;
};

// The exit status of a process ended by a fatal file error (-1 as a process sees it).
inline constexpr int kExitFatal = 255;

class Status {
  public:
    enum class Kind { kOk, kFatal, kNoDocument, kCancelled };

    static Status Ok() { return Status(Kind::kOk, {}, {}); }
    // A data or input file could not be opened or read: the run is over, and the
    // command-line program ends with kExitFatal after showing `message`.
    // `problem` says why, for shells that show more than the message
    // ("No such file or directory").
    static Status Fatal(UserMessage message, std::string problem = {}) {
        return Status(Kind::kFatal, std::move(message), std::move(problem));
    }
    // The noun lexicon could not be opened: the document cannot exist.
    static Status NoDocument(UserMessage message) {
        return Status(Kind::kNoDocument, std::move(message), {});
    }

    // The user stopped the run before it ended; nothing to tell.
    static Status Cancelled() { return Status(Kind::kCancelled, {}, {}); }

    bool ok() const { return m_kind == Kind::kOk; }
    Kind kind() const { return m_kind; }
    // What the user must be told; empty for an ok Status.
    const UserMessage& message() const { return m_message; }
    // Why the operation failed, when the platform said; may be empty.
    const std::string& problem() const { return m_problem; }
    // 0 for an ok Status, kExitFatal otherwise.
    int exitStatus() const { return ok() ? 0 : kExitFatal; }

  private:
    Status(Kind kind, UserMessage message, std::string problem)
        : m_kind(kind), m_message(std::move(message)), m_problem(std::move(problem)) {}
    Kind m_kind;
    UserMessage m_message;
    std::string m_problem;
};

}  // namespace tavro
