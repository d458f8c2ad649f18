// The type/token ratio of a run's text taken in windows of consecutive tokens:
// the standardised type/token ratio (STTR) of corpus linguistics.
//
// The tokens of all input files, in list order, form one stream; it is cut into
// windows of kWindowTokens tokens from its first token on (a window may span the
// end of one file and the start of the next); a window's ratio is the number of
// distinct words in it over kWindowTokens, and the STTR is the mean ratio of the
// complete windows; the last, partial window is left out. A stream shorter than
// one window has no STTR.
//
// The figure is gathered while the blocks are counted, each block on its own
// thread in any order: a block notes, for every token, how far back the same
// word last occurred in the block (the counting thread's count table remembers
// each word's last position in the block, count_table.h); since where its
// windows start depends only on how many tokens came before it, the block sums,
// for each of the kWindowTokens possible starts, how many of its tokens begin a
// type in their window. Once the blocks are all counted, their summaries are
// put together in stream order, looking back across block boundaries for the
// first tokens of each block, whose words are told apart by their 64-bit hash
// (word_hash.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace tavro {

inline constexpr std::uint32_t kWindowTokens = 1000;

// The windows of one stream: how many complete windows, and the distinct words
// summed over them.
struct WindowTally {
    std::uint64_t windows = 0;
    std::uint64_t typesInWindows = 0;
    // The mean type/token ratio of the windows; nothing without a window.
    std::optional<double> Sttr() const {
        if (windows == 0) return std::nullopt;
        return static_cast<double>(typesInWindows) / (static_cast<double>(windows) * kWindowTokens);
    }
    bool operator==(const WindowTally&) const = default;
};

// The window summary of one block, made on the thread that counts it.
class BlockWindows {
  public:
    // A block to note (Open), or nothing noted yet.
    static BlockWindows Open();
    BlockWindows() = default;
    // The position in the block of the next token noted.
    std::uint32_t Next() const { return static_cast<std::uint32_t>(m_tokens); }
    // Notes the next `n` tokens of the block: the hashes of their words and, for
    // each, its word's last position in the block before it plus one (0: none).
    void Note(const std::uint64_t* hashes, const std::uint32_t* previousPlusOne, std::size_t n);
    // Ends the block.
    void Close();

  private:
    friend class WindowStream;
    struct HeadToken {
        std::uint32_t at;  // its position in the block
        std::uint64_t hash;
    };
    std::uint64_t m_tokens = 0;
    // Per window start (the block's start % kWindowTokens), how many of the other
    // tokens begin a type in their window (while noting: differences, twice as
    // long, less the one each token adds where its run starts; see Close).
    std::vector<std::int64_t> m_starts;
    std::vector<HeadToken> m_head;      // early tokens not met before in the block
    std::vector<std::uint64_t> m_tail;  // hashes of the last kWindowTokens - 1 tokens
    std::size_t m_tailNext = 0;         // where the next hash goes in m_tail
    std::uint32_t m_from = 0;           // (-m_tokens) % kWindowTokens
};

// The blocks of one stream, put together in stream order.
class WindowStream {
  public:
    // Adds the next block of the stream.
    void Add(const BlockWindows& block);
    // The windows of the stream so far, its last partial window left out.
    WindowTally Tally() const;

  private:
    std::uint64_t m_tokens = 0;
    std::uint64_t m_types = 0;  // distinct words per window, summed, the partial one included
    // The last position of each word of the stream's last kWindowTokens - 1
    // tokens (older ones may linger until pruned).
    std::unordered_map<std::uint64_t, std::uint64_t> m_recent;
};

}  // namespace tavro
