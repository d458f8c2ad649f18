// Reads input files, one after the other, in blocks that can each be tokenised on their own.
//
// A block ends at a line feed, or at an ASCII separator byte when a line is
// longer than a block, so that no word (and no UTF-8 sequence) runs across two
// blocks and no block starts inside the ignored rest of a line after a NUL byte
// (the reader drops those bytes itself). The text ends at the first 1A byte,
// which the reader cuts off. A block is cut inside a word only when a single
// word is longer than the block size; then the block grows instead. The file is
// read straight into the block; only the few bytes after the cut are copied,
// to start the next block. Memory stays at a few blocks whatever the file's size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "corpus/block_buffer.h"
#include "platform/file_system.h"

namespace tavro {

class BlockReader {
  public:
    explicit BlockReader(std::size_t blockSize);

    // Starts on a file (the reader keeps its storage from one file to the next).
    void Start(ByteSource& file);

    // Reads the next block into `block` (replacing its contents, reusing its
    // storage): true when a block was produced, false at the end of the text.
    // Nothing on a read error.
    std::optional<bool> Next(BlockBuffer& block);

    // Bytes read from the current file so far, and whether its end was reached
    // (rather than the text ending at a 1A byte before it).
    std::uint64_t BytesRead() const { return m_bytesRead; }
    bool ReachedEndOfFile() const { return m_endOfFile; }

  private:
    // Reads once more onto the end of `block`; false on a read error.
    bool ReadMore(BlockBuffer& block);
    // How many bytes of `bytes` from `from` on are the rest of a line after a
    // NUL (up to the next line feed), to be dropped; notes when the line goes on
    // past them.
    std::size_t RestOfLine(std::string_view bytes, std::size_t from);

    // Bytes past the last cut that a block's storage leaves room for.
    static constexpr std::size_t kCarryRoom = std::size_t{64} << 10;

    ByteSource* m_file = nullptr;
    std::size_t m_blockSize;
    std::string m_carry;       // bytes read past the last cut: the next block's start
    bool m_textEnded = false;  // end of file, or a 1A byte was met
    bool m_endOfFile = false;
    bool m_droppingLine = false;  // inside the rest of a line after a NUL byte
    std::uint64_t m_bytesRead = 0;
};

}  // namespace tavro
