// libFuzzer target: the block reader and the tokeniser over any bytes.
//
// The first byte picks the block size (1 to 64 bytes, or the size runs use),
// the second how many bytes the file gives per read; the rest is the file.
// Checks, against a plain tokeniser written here that looks at one byte at a
// time (a NUL skips to the next LF, a 1A ends the text, runs of IsWordChar
// bytes are the words, folded): the words of the blocks, each tokenised on its
// own by a new tokeniser, and the words of the whole text fed to one tokeniser
// in pieces of the block size, are the plain tokeniser's words with the same
// counts; the blocks hold no more than the text, and the reader reads no more
// than the file.

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "corpus/block_reader.h"
#include "corpus/char_classes.h"
#include "corpus/input_reading.h"
#include "corpus/tokenizer.h"
#include "corpus/word_hash.h"
#include "corpus/word_sink.h"
#include "fuzz/fuzz_support.h"

namespace {

using Counts = std::map<std::string, std::int64_t>;

class CountingSink : public tavro::WordSink {
  public:
    void Add(std::string_view word) override {
        tavro::fuzz::Check(!word.empty());
        ++counts[std::string(word)];
    }
    void AddBatch(const tavro::PendingWord* words, std::size_t n) override {
        tavro::fuzz::Check(n <= kBatch);
        for (std::size_t i = 0; i < n; ++i) {
            // A batch's words can be read this far, whatever their length: the
            // sanitiser finds a read past the storage.
            for (std::size_t k = 0; k < tavro::word_hash::kPaddedReadBytes; ++k) {
                readable += static_cast<unsigned char>(words[i].data[k]);
            }
            Add({words[i].data, words[i].length});
        }
    }
    Counts counts;
    std::uint64_t readable = 0;
};

// A file that gives at most `chunk` bytes per read.
class ChunkedSource : public tavro::ByteSource {
  public:
    ChunkedSource(std::string_view bytes, std::size_t chunk) : m_bytes(bytes), m_chunk(chunk) {}
    std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min({capacity, m_chunk, m_bytes.size() - m_at});
        std::copy_n(m_bytes.data() + m_at, n, buffer);
        m_at += n;
        return n;
    }
    std::optional<std::uint64_t> Size() const override { return m_bytes.size(); }

  private:
    std::string_view m_bytes;
    std::size_t m_chunk;
    std::size_t m_at = 0;
};

Counts PlainWords(std::string_view text) {
    Counts counts;
    std::string word;
    bool skipping = false;
    auto endWord = [&] {
        if (!word.empty()) ++counts[word];
        word.clear();
    };
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0x1A) break;
        if (skipping) {
            skipping = b != '\n';
            continue;
        }
        if (b == 0) {
            endWord();
            skipping = true;
        } else if (tavro::IsWordChar(b)) {
            word += static_cast<char>(tavro::ToLowerGreek(b));
        } else {
            endWord();
        }
    }
    endWord();
    return counts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavro;
    using fuzz::Check;
    if (size < 2) return 0;
    const std::size_t blockSize = data[0] == 0xFF ? kInputBlockSize : 1 + data[0] % 64;
    const std::size_t chunk = data[1] == 0xFF ? kInputBlockSize : 1 + data[1] % 32;
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const Counts expected = PlainWords(text);

    ChunkedSource file(text, chunk);
    BlockReader reader(blockSize);
    reader.Start(file);
    CountingSink perBlock;
    tavro::BlockBuffer block;
    std::size_t blockBytes = 0;
    while (true) {
        const std::optional<bool> more = reader.Next(block);
        Check(more.has_value());
        if (!*more) break;
        Check(!block.empty());
        blockBytes += block.size();
        Check(blockBytes <= text.size());
        Tokenizer tokenizer;
        tokenizer.Feed(block.data(), block.size(), perBlock);
        tokenizer.Finish(perBlock);
    }
    Check(reader.BytesRead() <= text.size());
    Check(perBlock.counts == expected);

    CountingSink whole;
    Tokenizer tokenizer;
    for (std::size_t at = 0; at < text.size(); at += blockSize) {
        // Storage of the piece's exact size: a word near its end is read no further.
        const std::string_view piece = text.substr(at, blockSize);
        const auto bytes = std::make_unique<char[]>(piece.size());
        std::copy(piece.begin(), piece.end(), bytes.get());
        if (!tokenizer.Feed(bytes.get(), piece.size(), whole)) break;
    }
    tokenizer.Finish(whole);
    Check(whole.counts == expected);
    return 0;
}
