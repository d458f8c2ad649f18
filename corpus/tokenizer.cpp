#include "corpus/tokenizer.h"

#include <algorithm>
#include <cstring>

#include "corpus/block_scan.h"
#include "corpus/char_classes.h"
#include "corpus/text_mode.h"

namespace tavro {

bool Tokenizer::Feed(char* data, std::size_t size, WordSink& sink) {
    const bool more = FeedBlock(data, size, sink);
    FlushPending(sink);  // the pending words point into this block
    return more;
}

bool Tokenizer::FeedBlock(char* data, std::size_t size, WordSink& sink) {
    auto* block = reinterpret_cast<unsigned char*>(data);
    m_blockSize = size;
    m_spillUsed = 0;
    m_wordStart = 0;  // a word carried in from the last block continues at byte 0
    std::size_t at = 0;
    while (at < size) {
        if (m_skippingLine) {
            while (at < size && block[at] != '\n' && block[at] != kEndOfText) ++at;
            if (at == size) break;
            if (block[at] == kEndOfText) return false;
            m_skippingLine = false;
            ++at;
            continue;
        }
        const std::size_t special = ScanPlain(block, at, size, sink);
        if (special == size) break;
        if (m_inWord) EmitWord(block, m_wordStart, special, sink);
        m_inWord = false;
        if (block[special] == kEndOfText) return false;
        m_skippingLine = true;
        at = special + 1;
    }
    if (m_inWord) {  // carry the open word into the next block
        m_token.append(reinterpret_cast<const char*>(block) + m_wordStart, size - m_wordStart);
    }
    return true;
}

std::size_t Tokenizer::ScanPlain(unsigned char* block, std::size_t begin, std::size_t end,
                                 WordSink& sink) {
    alignas(16) unsigned char padded[64];
    for (std::size_t base = begin; base < end; base += 64) {
        std::size_t length = std::min<std::size_t>(64, end - base);
        ChunkMasks masks;
        if (length == 64) {
            masks = FoldAndMask64(block + base);
        } else {  // the tail: separators (spaces) pad it to a whole chunk
            std::memset(padded, ' ', sizeof padded);
            std::memcpy(padded, block + base, length);
            masks = FoldAndMask64(padded);
            std::memcpy(block + base, padded, length);
        }
        // The chunk's words end at its first NUL or 1A (the bytes after it were
        // folded too, which leaves them as they read: folding twice is folding once).
        if (masks.special != 0) {
            length = static_cast<std::size_t>(__builtin_ctzll(masks.special));
            if (length == 0) return base;
        }
        const std::uint64_t mask = masks.word;
        const std::uint64_t before = (mask << 1) | static_cast<std::uint64_t>(m_inWord);
        const std::uint64_t starts = mask & ~before;
        std::uint64_t events = starts | (~mask & before);
        if (length < 64) events &= (std::uint64_t{1} << length) - 1;
        while (events != 0) {
            const int bit = __builtin_ctzll(events);
            if ((starts >> bit) & 1) {
                m_wordStart = base + static_cast<std::size_t>(bit);
            } else {
                EmitWord(block, m_wordStart, base + static_cast<std::size_t>(bit), sink);
            }
            events &= events - 1;
        }
        m_inWord = ((mask >> (length - 1)) & 1) != 0;
        if (masks.special != 0) return base + length;
    }
    return end;
}

const char* Tokenizer::Spill(const char* word, std::size_t length) {
    char* copy = m_spill + m_spillUsed;
    std::memcpy(copy, word, length);
    m_spillUsed += length;
    return copy;
}

void Tokenizer::EmitCarriedWord(const unsigned char* block, std::size_t end, WordSink& sink) {
    m_token.append(reinterpret_cast<const char*>(block), end);
    sink.Add(m_token);
    m_token.clear();
}

void Tokenizer::FlushPending(WordSink& sink) {
    sink.AddBatch(m_pending, m_pendingCount);
    m_pendingCount = 0;
}

void Tokenizer::Finish(WordSink& sink) {
    if (!m_token.empty()) sink.Add(m_token);
    m_token.clear();
    m_inWord = false;
    m_skippingLine = false;
}

}  // namespace tavro
