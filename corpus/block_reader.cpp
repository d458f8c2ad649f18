#include "corpus/block_reader.h"

#include <cstring>

#include "corpus/char_classes.h"
#include "corpus/text_mode.h"

namespace tavro {
namespace {

// The last `byte` in `bytes`, or npos; memrchr scans a word at a time where
// std::string::rfind goes byte by byte.
std::size_t FindLast(const std::string& bytes, char byte) {
    const void* found = ::memrchr(bytes.data(), byte, bytes.size());
    return found == nullptr ? std::string::npos
                            : static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
}

}  // namespace

BlockReader::BlockReader(ByteSource& file, std::size_t blockSize)
    : m_file(file), m_blockSize(blockSize) {}

bool BlockReader::FillPending() {
    const std::size_t kept = m_pending.size();
    m_pending.resize(kept + m_blockSize);
    const std::optional<std::size_t> n = m_file.Read(m_pending.data() + kept, m_blockSize);
    if (!n) return false;
    m_pending.resize(kept + *n);
    if (*n == 0) m_textEnded = true;
    const std::size_t end = m_pending.find(kEndOfText, kept);
    if (end != std::string::npos) {
        m_pending.resize(end);
        m_textEnded = true;
    }
    if (m_droppingLine) {  // the bytes up to the next line feed give no words
        const std::size_t lineEnd = m_pending.find('\n', kept);
        m_pending.erase(kept, lineEnd == std::string::npos ? std::string::npos : lineEnd - kept);
        m_droppingLine = lineEnd == std::string::npos;
    }
    return true;
}

// Where the pending bytes can be cut so that the rest starts a block of its own;
// 0 when they cannot be cut yet.
std::size_t BlockReader::CutPoint() const {
    const std::size_t lineEnd = FindLast(m_pending, '\n');
    if (lineEnd != std::string::npos) return lineEnd + 1;
    for (std::size_t i = m_pending.size(); i > 0; --i) {
        if (!IsWordChar(static_cast<unsigned char>(m_pending[i - 1]))) return i;
    }
    return 0;
}

std::optional<bool> BlockReader::Next(std::string& block) {
    while (!m_textEnded && m_pending.size() < m_blockSize) {
        if (!FillPending()) return std::nullopt;
    }
    if (m_pending.empty()) return false;
    std::size_t cut = m_pending.size();
    if (!m_textEnded) {
        cut = CutPoint();
        while (cut == 0 && !m_textEnded) {  // one word longer than a block: read on
            if (!FillPending()) return std::nullopt;
            cut = m_textEnded ? m_pending.size() : CutPoint();
        }
    }
    block.swap(m_pending);  // hand the bytes over; only the tail after the cut is copied
    m_pending.assign(block, cut, std::string::npos);
    block.resize(cut);
    // A NUL whose line goes on past the cut: its rest is dropped here, not tokenised.
    const std::size_t nul = FindLast(block, '\0');
    if (nul != std::string::npos && block.find('\n', nul) == std::string::npos) {
        const std::size_t lineEnd = m_pending.find('\n');
        m_pending.erase(0, lineEnd);
        m_droppingLine = lineEnd == std::string::npos;
    }
    return true;
}

}  // namespace tavro
