#include "corpus/block_reader.h"

#include <algorithm>
#include <cstring>

#include "corpus/char_classes.h"
#include "corpus/text_mode.h"

namespace tavro {
namespace {

// The last `byte` in `bytes`, or npos; memrchr scans a word at a time where
// std::string_view::rfind goes byte by byte.
std::size_t FindLast(std::string_view bytes, char byte) {
    const void* found = ::memrchr(bytes.data(), byte, bytes.size());
    return found == nullptr
               ? std::string_view::npos
               : static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
}

// Where `bytes` can be cut so that the rest starts a block of its own: after the
// last line feed, else after the last ASCII separator; 0 when it cannot be cut.
std::size_t CutPoint(std::string_view bytes) {
    const std::size_t lineEnd = FindLast(bytes, '\n');
    if (lineEnd != std::string_view::npos) return lineEnd + 1;
    for (std::size_t i = bytes.size(); i > 0; --i) {
        const auto b = static_cast<unsigned char>(bytes[i - 1]);
        if (b < 0x80 && !IsWordChar(b)) return i;
    }
    return 0;
}

}  // namespace

BlockReader::BlockReader(std::size_t blockSize) : m_blockSize(blockSize) {}

void BlockReader::Start(ByteSource& file) {
    m_file = &file;
    m_carry.clear();
    m_textEnded = false;
    m_endOfFile = false;
    m_droppingLine = false;
    m_bytesRead = 0;
}

std::size_t BlockReader::RestOfLine(std::string_view bytes, std::size_t from) {
    const std::size_t lineEnd = bytes.find('\n', from);
    m_droppingLine = lineEnd == std::string_view::npos;
    return (m_droppingLine ? bytes.size() : lineEnd) - from;
}

bool BlockReader::ReadMore(BlockBuffer& block) {
    const std::size_t kept = block.size();
    // Reads into the room the storage has (a recycled block has room for a
    // whole block), and makes a block's worth more only when it is full.
    if (block.capacity() == kept) block.Reserve(kept + m_blockSize);
    const std::size_t room = std::min(block.capacity() - kept, m_blockSize);
    block.Resize(kept + room);
    const std::optional<std::size_t> n = m_file->Read(block.data() + kept, room);
    block.Resize(kept + n.value_or(0));
    if (!n) return false;
    m_bytesRead += *n;
    if (*n == 0) m_textEnded = m_endOfFile = true;
    const void* end = std::memchr(block.data() + kept, kEndOfText, *n);
    if (end != nullptr) {
        block.Resize(static_cast<std::size_t>(static_cast<const char*>(end) - block.data()));
        m_textEnded = true;
    }
    if (m_droppingLine) {  // the bytes up to the line feed give no words
        block.Erase(kept, RestOfLine(block, kept));
    }
    return true;
}

std::optional<bool> BlockReader::Next(BlockBuffer& block) {
    // Room for a block and the usual carry at once, so that a block is read
    // without growing its storage (which the system would have to clear).
    block.Reserve(m_blockSize + kCarryRoom);
    block.Assign(m_carry);
    m_carry.clear();
    while (!m_textEnded && block.size() < m_blockSize) {
        if (!ReadMore(block)) return std::nullopt;
    }
    if (block.empty()) return false;
    std::size_t cut = block.size();
    if (!m_textEnded) {
        cut = CutPoint(block);
        while (cut == 0 && !m_textEnded) {  // one word longer than a block: read on
            if (!ReadMore(block)) return std::nullopt;
            cut = m_textEnded ? block.size() : CutPoint(block);
        }
    }
    m_carry.assign(std::string_view(block).substr(cut));
    block.Resize(cut);
    // A NUL whose line goes on past the cut: its rest is dropped here, not tokenised.
    const std::string_view bytes = block;
    const std::size_t nul = FindLast(bytes, '\0');
    if (nul != std::string_view::npos && bytes.find('\n', nul) == std::string_view::npos) {
        m_carry.erase(0, RestOfLine(m_carry, 0));
    }
    return true;
}

}  // namespace tavro
