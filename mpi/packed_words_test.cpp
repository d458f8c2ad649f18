#include "mpi/packed_words.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tavro {
namespace {

using Words = std::vector<std::pair<std::string, Count>>;

// Feeds `packed` in chunks of `chunk` bytes and reads back every word.
Words ReadInChunks(const std::string& packed, std::size_t chunk) {
    PackedWordReader reader;
    Words words;
    for (std::size_t at = 0; at < packed.size(); at += chunk) {
        reader.Feed(std::string_view(packed).substr(at, chunk));
        std::string_view word;
        Count count = 0;
        while (reader.Next(word, count)) words.emplace_back(word, count);
    }
    EXPECT_FALSE(reader.Pending());
    return words;
}

TEST(PackedWords, ComeBackWholeHoweverTheRunIsCut) {
    const Words words = {{"a", 1},
                         {std::string(300, '\xE1'), 127},  // a length of two bytes
                         {std::string("\0\x1A\n", 3), 128},
                         {"", 0},
                         {"zz", (Count{1} << 62) + 12345}};
    std::string packed;
    for (const auto& [word, count] : words) AppendPackedWord(packed, word, count);
    for (std::size_t chunk = 1; chunk <= packed.size(); ++chunk) {
        EXPECT_EQ(ReadInChunks(packed, chunk), words) << "chunks of " << chunk;
    }
}

TEST(PackedWords, ACutRunLeavesItsLastWordPending) {
    std::string packed;
    AppendPackedWord(packed, "abc", 3);
    PackedWordReader reader;
    reader.Feed(std::string_view(packed).substr(0, packed.size() - 1));
    std::string_view word;
    Count count = 0;
    EXPECT_FALSE(reader.Next(word, count));
    EXPECT_TRUE(reader.Pending());
}

}  // namespace
}  // namespace tavro
