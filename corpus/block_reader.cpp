#include "corpus/block_reader.h"

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

}  // namespace

BlockReader::BlockReader(std::size_t blockSize)
    : m_blockSize(blockSize),
      m_pending(new char[2 * blockSize]),
      m_pendingCapacity(2 * blockSize) {}

void BlockReader::Start(ByteSource& file) {
    m_file = &file;
    m_pendingSize = 0;
    m_textEnded = false;
    m_endOfFile = false;
    m_bytesRead = 0;
    m_droppingLine = false;
}

void BlockReader::DropPendingFront(std::size_t n) {
    std::memmove(m_pending.get(), m_pending.get() + n, m_pendingSize - n);
    m_pendingSize -= n;
}

bool BlockReader::FillPending() {
    const std::size_t kept = m_pendingSize;
    if (kept + m_blockSize > m_pendingCapacity) {
        const std::size_t capacity = std::max(kept + m_blockSize, 2 * m_pendingCapacity);
        std::unique_ptr<char[]> grown(new char[capacity]);
        if (kept != 0) std::memcpy(grown.get(), m_pending.get(), kept);
        m_pending = std::move(grown);
        m_pendingCapacity = capacity;
    }
    const std::optional<std::size_t> n = m_file->Read(m_pending.get() + kept, m_blockSize);
    if (!n) return false;
    m_pendingSize = kept + *n;
    m_bytesRead += *n;
    if (*n == 0) m_textEnded = m_endOfFile = true;
    const std::size_t end = Pending().find(kEndOfText, kept);
    if (end != std::string_view::npos) {
        m_pendingSize = end;
        m_textEnded = true;
    }
    if (m_droppingLine) {  // the bytes up to the next line feed give no words
        const std::size_t lineEnd = Pending().find('\n', kept);
        const std::size_t dropTo = lineEnd == std::string_view::npos ? m_pendingSize : lineEnd;
        std::memmove(m_pending.get() + kept, m_pending.get() + dropTo, m_pendingSize - dropTo);
        m_pendingSize -= dropTo - kept;
        m_droppingLine = lineEnd == std::string_view::npos;
    }
    return true;
}

// Where the pending bytes can be cut so that the rest starts a block of its own;
// 0 when they cannot be cut yet.
std::size_t BlockReader::CutPoint() const {
    const std::size_t lineEnd = FindLast(Pending(), '\n');
    if (lineEnd != std::string_view::npos) return lineEnd + 1;
    // Only after an ASCII separator: in UTF-8 no other byte is sure to end a character.
    for (std::size_t i = m_pendingSize; i > 0; --i) {
        const auto byte = static_cast<unsigned char>(m_pending[i - 1]);
        if (byte < 0x80 && !IsWordChar(byte)) return i;
    }
    return 0;
}

std::optional<bool> BlockReader::Next(std::string& block) {
    while (!m_textEnded && m_pendingSize < m_blockSize) {
        if (!FillPending()) return std::nullopt;
    }
    if (m_pendingSize == 0) return false;
    std::size_t cut = m_pendingSize;
    if (!m_textEnded) {
        cut = CutPoint();
        while (cut == 0 && !m_textEnded) {  // one word longer than a block: read on
            if (!FillPending()) return std::nullopt;
            cut = m_textEnded ? m_pendingSize : CutPoint();
        }
    }
    block.assign(m_pending.get(), cut);
    DropPendingFront(cut);
    // A NUL whose line goes on past the cut: its rest is dropped here, not tokenised.
    const std::size_t nul = FindLast(block, '\0');
    if (nul != std::string::npos && block.find('\n', nul) == std::string::npos) {
        const std::size_t lineEnd = Pending().find('\n');
        DropPendingFront(lineEnd == std::string_view::npos ? m_pendingSize : lineEnd);
        m_droppingLine = lineEnd == std::string_view::npos;
    }
    return true;
}

}  // namespace tavro
