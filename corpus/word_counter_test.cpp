#include "corpus/word_counter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>

namespace tavro {
namespace {

std::map<std::string, Count> AsMap(const WordCounter& counter) {
    std::map<std::string, Count> counts;
    for (const auto& [word, count] : counter.SortedWords()) counts[std::string(word)] += count;
    return counts;
}

TEST(WordCounter, AgreesWithAMapThroughManyGrowths) {
    WordCounter counter;
    std::map<std::string, Count> reference;
    std::mt19937 random(11);
    for (int i = 0; i < 200000; ++i) {
        std::string word(1 + random() % 12, '\0');
        for (char& c : word) c = static_cast<char>('a' + random() % 6);  // many collisions
        const Count count = 1 + static_cast<Count>(random() % 3);
        counter.Add(word, count);
        reference[word] += count;
    }
    EXPECT_EQ(counter.size(), reference.size());
    EXPECT_EQ(AsMap(counter), reference);
    const std::vector<WordCounter::CountedWord> sorted = counter.SortedWords();
    ASSERT_EQ(sorted.size(), reference.size());
    auto expected = reference.begin();
    for (const WordCounter::CountedWord& entry : sorted) {
        EXPECT_EQ(entry.word, expected->first);
        EXPECT_EQ(entry.count, expected->second);
        ++expected;
    }
}

TEST(WordCounter, EmptyWordBytesWithNulAndBatches) {
    WordCounter counter;
    counter.Add("x");
    counter.Add(std::string_view("a\0b", 3), 2);
    counter.Add(std::string_view("a\0", 2));
    counter.Add("");
    const std::string longWord(40, 'q');
    std::vector<WordCounter::Pending> batch;
    for (const char* word : {"x", "y", "x", "abcdefgh", "abcdefghi"})
        batch.push_back({word, std::strlen(word)});
    batch.push_back({longWord.data(), longWord.size()});
    counter.AddBatch(batch.data(), batch.size());
    const auto counts = AsMap(counter);
    EXPECT_EQ(counts.at("x"), 3);
    EXPECT_EQ(counts.at("y"), 1);
    EXPECT_EQ(counts.at(""), 1);
    EXPECT_EQ(counts.at("abcdefgh"), 1);
    EXPECT_EQ(counts.at("abcdefghi"), 1);
    EXPECT_EQ(counts.at(longWord), 1);
    EXPECT_EQ(counts.at(std::string("a\0b", 3)), 2);
    EXPECT_EQ(counts.at(std::string("a\0", 2)), 1);
    EXPECT_EQ(counter.size(), 8u);
}

TEST(WordCounter, CountsBeyondThirtyTwoBits) {
    WordCounter counter;
    counter.Add("w", Count{3'000'000'000});
    counter.Add("w", Count{3'000'000'000});
    EXPECT_EQ(counter.SortedWords().at(0).count, Count{6'000'000'000});
}

// A word too long for a slot's 32-bit length goes to the side table, and still
// sorts in its place; the limit is lowered here to reach that path.
TEST(WordCounter, WordsTooLongForASlotAreCountedApart) {
    WordCounter counter(/*longestSlotWord=*/10);
    const std::string longer(11, 'm');
    const std::string longest(30, 'z');
    for (const std::string& word : {longest, std::string("b"), longer, longest, std::string("n")}) {
        counter.Add(word);
    }
    std::vector<WordCounter::Pending> batch = {{longer.data(), longer.size()}};
    counter.AddBatch(batch.data(), batch.size());
    EXPECT_EQ(counter.size(), 4u);
    const std::vector<WordCounter::CountedWord> sorted = counter.SortedWords();
    ASSERT_EQ(sorted.size(), 4u);
    EXPECT_EQ(sorted[0].word, "b");
    EXPECT_EQ(sorted[1].word, longer);
    EXPECT_EQ(sorted[1].count, 2);
    EXPECT_EQ(sorted[2].word, "n");
    EXPECT_EQ(sorted[3].word, longest);
    EXPECT_EQ(sorted[3].count, 2);
}

}  // namespace
}  // namespace tavro
