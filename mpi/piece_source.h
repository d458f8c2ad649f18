// One piece of an input file (share_plan.h) read as a file of its own.
//
// A piece that begins inside the file starts right after the first line feed
// at or after byte begin - 1, and one that ends inside the file ends right
// after the first line feed at or after byte end - 1 (or at the end of the
// file): so the pieces of a file cover each of its bytes once, however it was
// cut, and none splits a line, a word or the ignored rest of a line after a
// NUL. The source also notes where the file's text ended at a 1A byte within
// the piece, and where the file ended when it was met.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "mpi/share_plan.h"
#include "platform/file_system.h"

namespace tavro {

class PieceSource : public ByteSource {
  public:
    // Where the piece's file must be opened (OpenForReadFrom): one byte before
    // its begin, to see whether a line ends there.
    static std::uint64_t OpenAt(const Piece& piece) {
        return piece.begin == 0 ? 0 : piece.begin - 1;
    }

    // `file` is the piece's file opened at OpenAt(piece).
    PieceSource(std::unique_ptr<ByteSource> file, const Piece& piece);

    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override;
    std::optional<std::uint64_t> Size() const override { return m_file->Size(); }
    std::string Problem() const override { return m_file->Problem(); }

    // The position in the file of the first 1A byte of the piece, if it had one.
    std::optional<std::uint64_t> EndOfText() const { return m_endOfText; }
    // Where the piece met the end of the file: its length, or, when the file
    // ended before the piece was opened, the opening offset. Of all the pieces
    // of a file, the least is the length.
    std::optional<std::uint64_t> EndOfFile() const { return m_endOfFile; }

  private:
    // Drops the bytes up to and including the first line feed of buffer[0, n);
    // returns how many are left, moved to the front.
    std::size_t SkipToLineStart(char* buffer, std::size_t n);
    // Of buffer[0, n), at m_position, how many bytes belong to the piece; sets
    // m_done when the piece ends within them.
    std::size_t Deliverable(const char* buffer, std::size_t n);

    std::unique_ptr<ByteSource> m_file;
    std::optional<std::uint64_t> m_end;
    std::uint64_t m_position;  // in the file, of the next byte read from it
    bool m_skipping;           // before the start of the piece's first line
    bool m_done = false;
    std::optional<std::uint64_t> m_endOfText;
    std::optional<std::uint64_t> m_endOfFile;
};

}  // namespace tavro
