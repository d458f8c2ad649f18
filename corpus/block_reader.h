// Reads input files, one after the other, in large blocks that can each be tokenised on their own.
//
// A block ends at a line feed, or at an ASCII separator byte when a line is longer
// than a block, so that no word and no character of a multi-byte encoding (UTF-8)
// runs across two blocks and no block starts inside the
// ignored rest of a line after a NUL byte (the reader drops those bytes itself).
// The text ends at the first 1A byte, which the reader cuts off. A block is cut
// inside a word only when a single word is longer than the block size; then the
// block grows instead. Memory stays at a few blocks whatever the file's size.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tavro {

class BlockReader {
  public:
    explicit BlockReader(std::size_t blockSize);

    // Starts on a file (the reader keeps its storage from one file to the next).
    void Start(ByteSource& file);

    // Copies the next block into `block` (replacing its contents, reusing its
    // storage): true when a block was produced, false at the end of the text.
    // Nothing on a read error.
    std::optional<bool> Next(std::string& block);

    // Bytes read from the current file so far, and whether its end was reached
    // (rather than the text ending at a 1A byte before it).
    std::uint64_t BytesRead() const { return m_bytesRead; }
    bool ReachedEndOfFile() const { return m_endOfFile; }

  private:
    bool FillPending();  // reads once more into the pending bytes; false on a read error
    std::size_t CutPoint() const;
    std::string_view Pending() const { return {m_pending.get(), m_pendingSize}; }
    void DropPendingFront(std::size_t n);

    ByteSource* m_file = nullptr;
    std::size_t m_blockSize;
    // Bytes read but not yet handed out. A plain array: it grows without being
    // filled with zeros first, and is never given back while the file is read.
    std::unique_ptr<char[]> m_pending;
    std::size_t m_pendingSize = 0;
    std::size_t m_pendingCapacity = 0;
    bool m_textEnded = false;  // end of file, or a 1A byte was met
    bool m_endOfFile = false;
    std::uint64_t m_bytesRead = 0;
    bool m_droppingLine = false;  // inside the rest of a line after a NUL byte
};

}  // namespace tavro
