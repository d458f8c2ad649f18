// The outcome of a document operation, for the shell to act on.
//
// The engine shows its own messages through the platform; a Status only tells the
// shell whether to go on, to end the process with an exit status, or (at start-up)
// that no document could be created. The engine never ends the process itself.
#pragma once

namespace tavro {

class Status {
public:
    enum class Kind { kOk, kEndProcess, kNoDocument };

    static Status Ok() { return Status(Kind::kOk, 0); }
    // A fatal file error: the process ends with `exitCode` (the program uses -1, seen as 255).
    static Status EndProcess(int exitCode) { return Status(Kind::kEndProcess, exitCode); }
    // The noun lexicon could not be opened: the document cannot exist.
    static Status NoDocument() { return Status(Kind::kNoDocument, -1); }

    bool ok() const { return m_kind == Kind::kOk; }
    Kind kind() const { return m_kind; }
    int exitCode() const { return m_exitCode; }

private:
    Status(Kind kind, int exitCode) : m_kind(kind), m_exitCode(exitCode) {}
    Kind m_kind;
    int m_exitCode;
};

}  // namespace tavro
