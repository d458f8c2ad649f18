// Splits the text of one input file into folded words, block by block.
//
// A word is a maximal run of word characters (IsWordChar); every other byte
// separates. A NUL byte ends the scan of its line: the bytes after it up to the
// next LF give no words. A 1A byte ends the file's text. A word may run across
// the blocks it arrives in, and has no length limit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "corpus/word_hash.h"
#include "corpus/word_sink.h"

namespace tavro {

class Tokenizer {
  public:
    // Puts the words that end in the block into `sink`, folding the block's
    // bytes in place. Returns false once the text has ended (a 1A byte): the rest of
    // the file is not to be read.
    bool Feed(char* block, std::size_t size, WordSink& sink);

    // The end of the file: puts in a word that was still open.
    void Finish(WordSink& sink);

  private:
    bool FeedBlock(char* block, std::size_t size, WordSink& sink);
    // Folds bytes [begin, end) of `block` and puts their words into the sink, up
    // to the first NUL or 1A byte; returns where that is, or `end`. A word open
    // at that byte is left open.
    std::size_t ScanPlain(unsigned char* block, std::size_t begin, std::size_t end, WordSink& sink);
    // Puts in the word made of the carried bytes and bytes [start, end) of `block`.
    void EmitWord(const unsigned char* block, std::size_t start, std::size_t end, WordSink& sink) {
        if (!m_token.empty()) return EmitCarriedWord(block, end, sink);
        const char* word = reinterpret_cast<const char*>(block) + start;
        // A batch's words can be read kPaddedReadBytes from their start: those
        // too near the block's end are copied where they can.
        if (start + word_hash::kPaddedReadBytes > m_blockSize) word = Spill(word, end - start);
        m_pending[m_pendingCount++] = {word, end - start};
        if (m_pendingCount == WordSink::kBatch) FlushPending(sink);
    }
    const char* Spill(const char* word, std::size_t length);
    void EmitCarriedWord(const unsigned char* block, std::size_t end, WordSink& sink);

    void FlushPending(WordSink& sink);

    PendingWord m_pending[WordSink::kBatch];  // words of this block, not yet counted
    std::size_t m_pendingCount = 0;
    std::size_t m_blockSize = 0;  // of the block being fed
    // The words that start in the block's last kPaddedReadBytes bytes (so they
    // are no longer than that, and all of them together no longer either),
    // followed by room to read past the last.
    char m_spill[2 * word_hash::kPaddedReadBytes] = {};
    std::size_t m_spillUsed = 0;
    std::string m_token;          // folded bytes of a word begun in an earlier block
    bool m_inWord = false;        // a word is open at the current position
    std::size_t m_wordStart = 0;  // where the open word began in the current block
    bool m_skippingLine = false;  // after a NUL byte, until the next LF
};

}  // namespace tavro
