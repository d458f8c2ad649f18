// Reads one input file in large blocks that can each be tokenised on their own.
//
// A block ends at a line feed, or at a separator byte when a line is longer than
// a block, so that no word runs across two blocks and no block starts inside the
// ignored rest of a line after a NUL byte (the reader drops those bytes itself).
// The text ends at the first 1A byte, which the reader cuts off. A block is cut
// inside a word only when a single word is longer than the block size; then the
// block grows instead. Memory stays at a few blocks whatever the file's size.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"

namespace tavro {

class BlockReader {
public:
    BlockReader(ByteSource& file, std::size_t blockSize);

    // Moves the next block into `block` (replacing its contents, reusing its
    // storage): true when a block was produced, false at the end of the text.
    // Nothing on a read error.
    std::optional<bool> Next(std::string& block);

private:
    bool FillPending();  // reads once more into m_pending; false on a read error
    std::size_t CutPoint() const;

    ByteSource& m_file;
    std::size_t m_blockSize;
    std::string m_pending;        // bytes read but not yet handed out
    bool m_textEnded = false;     // end of file, or a 1A byte was met
    bool m_droppingLine = false;  // inside the rest of a line after a NUL byte
};

}  // namespace tavro
