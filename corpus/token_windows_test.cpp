#include "corpus/token_windows.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "corpus/counting_pool.h"

namespace tavro {
namespace {

// The windows counted the plain way: the tokens of the stream in order, a set
// per window of 1,000 tokens, the partial last one left out.
WindowTally Reference(const std::vector<std::string>& tokens) {
    WindowTally tally;
    for (std::size_t start = 0; start + kWindowTokens <= tokens.size(); start += kWindowTokens) {
        const std::set<std::string> types(
            tokens.begin() + static_cast<std::ptrdiff_t>(start),
            tokens.begin() + static_cast<std::ptrdiff_t>(start + kWindowTokens));
        ++tally.windows;
        tally.typesInWindows += types.size();
    }
    return tally;
}

// Blocks of the stream, cut after the tokens `cuts` says, as text.
std::vector<std::string> BlocksOf(const std::vector<std::string>& tokens,
                                  const std::vector<std::size_t>& sizes) {
    std::vector<std::string> blocks;
    std::size_t at = 0;
    for (const std::size_t size : sizes) {
        std::string block;
        for (std::size_t i = 0; i < size && at < tokens.size(); ++i)
            block.append(tokens[at++]).append(" ");
        blocks.push_back(block);
    }
    std::string rest;
    while (at < tokens.size()) rest.append(tokens[at++]).append("\n");
    blocks.push_back(rest);
    return blocks;
}

WindowTally Counted(const std::vector<std::string>& blocks, int threads) {
    CountingPool pool(threads, false);
    pool.NoteWindows();
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        pool.Submit(BlockBuffer(blocks[b]), static_cast<std::uint32_t>(b));
    }
    return pool.Finish().windows.value();
}

TEST(TokenWindows, HandCountedStreams) {
    std::vector<std::string> distinctThenOne;  // 1,000 types, then 1, then a partial window
    for (int i = 0; i < 1000; ++i)
        distinctThenOne.push_back(std::string("w").append(std::to_string(i)));
    for (int i = 0; i < 1000; ++i) distinctThenOne.push_back("x");
    for (int i = 0; i < 999; ++i)
        distinctThenOne.push_back(std::string("y").append(std::to_string(i)));
    const WindowTally tally = Counted(BlocksOf(distinctThenOne, {}), 1);
    EXPECT_EQ(tally, (WindowTally{2, 1001}));
    EXPECT_DOUBLE_EQ(*tally.Sttr(), 0.5005);
    // Two words in turn: each window holds both.
    std::vector<std::string> pair;
    for (int i = 0; i < 3000; ++i) pair.push_back(i % 2 == 0 ? "a" : "b");
    EXPECT_EQ(Counted(BlocksOf(pair, {}), 1), (WindowTally{3, 6}));
    // Fewer than 1,000 tokens: no window, no STTR.
    const WindowTally none = Counted(BlocksOf({"a", "b"}, {}), 1);
    EXPECT_EQ(none, WindowTally{});
    EXPECT_FALSE(none.Sttr().has_value());
}

// A window that spans blocks (and files) sees the words of both: the first
// 600 words again after 600 distinct ones give a first window of 600 types.
TEST(TokenWindows, WindowsSpanTheEndsOfBlocks) {
    std::vector<std::string> tokens;
    for (int i = 0; i < 600; ++i) tokens.push_back(std::string("w").append(std::to_string(i)));
    for (int i = 0; i < 1400; ++i)
        tokens.push_back(std::string("w").append(std::to_string(i % 600)));
    EXPECT_EQ(Counted(BlocksOf(tokens, {600}), 2), (WindowTally{2, 1200}));
    EXPECT_EQ(Counted(BlocksOf(tokens, {600}), 2), Reference(tokens));
}

// Random streams cut at random into blocks (some empty, some tiny, some longer
// than many windows), counted on several threads, give the plain count.
TEST(TokenWindows, EqualThePlainCountWhateverTheBlocksAndThreads) {
    std::mt19937 random(7);
    for (const std::size_t vocabulary : {3, 200, 5000}) {
        for (int trial = 0; trial < 4; ++trial) {
            std::vector<std::string> tokens(3000 + random() % 9000);
            for (std::string& token : tokens)
                token = std::string("w").append(std::to_string(random() % vocabulary));
            std::vector<std::size_t> sizes;
            for (std::size_t total = 0; total < tokens.size();) {
                const std::size_t size = random() % 4 == 0 ? random() % 5 : random() % 2500;
                sizes.push_back(size);
                total += size;
            }
            for (const int threads : {1, 3}) {
                EXPECT_EQ(Counted(BlocksOf(tokens, sizes), threads), Reference(tokens))
                    << vocabulary << " words, trial " << trial << ", " << threads << " threads";
            }
        }
    }
}

}  // namespace
}  // namespace tavro
