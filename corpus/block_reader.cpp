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

void BlockReader::DropRestOfLine(std::string& bytes, std::size_t from) {
    const std::size_t lineEnd = bytes.find('\n', from);
    m_droppingLine = lineEnd == std::string::npos;
    bytes.erase(from, (m_droppingLine ? bytes.size() : lineEnd) - from);
}

bool BlockReader::ReadMore(std::string& block) {
    const std::size_t kept = block.size();
    block.resize(kept + m_blockSize);
    const std::optional<std::size_t> n = m_file->Read(block.data() + kept, m_blockSize);
    block.resize(kept + n.value_or(0));
    if (!n) return false;
    m_bytesRead += *n;
    if (*n == 0) m_textEnded = m_endOfFile = true;
    const void* end = std::memchr(block.data() + kept, kEndOfText, *n);
    if (end != nullptr) {
        block.resize(static_cast<std::size_t>(static_cast<const char*>(end) - block.data()));
        m_textEnded = true;
    }
    if (m_droppingLine) DropRestOfLine(block, kept);  // the bytes up to the line feed give no words
    return true;
}

std::optional<bool> BlockReader::Next(std::string& block) {
    block.assign(m_carry);
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
    m_carry.assign(block, cut);
    block.resize(cut);
    // A NUL whose line goes on past the cut: its rest is dropped here, not tokenised.
    const std::size_t nul = FindLast(block, '\0');
    if (nul != std::string::npos && block.find('\n', nul) == std::string::npos) {
        DropRestOfLine(m_carry, 0);
    }
    return true;
}

}  // namespace tavro
