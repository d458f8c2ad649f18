#include "corpus/word_counter.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <cstring>

namespace tavro {
namespace {

std::map<std::string, Count> AsMap(const WordCounter& counter) {
    std::map<std::string, Count> counts;
    counter.ForEach([&](std::string_view word, Count count) { counts[std::string(word)] += count; });
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
    const std::vector<WordEntry> sorted = counter.SortedEntries();
    ASSERT_EQ(sorted.size(), reference.size());
    auto expected = reference.begin();
    for (const WordEntry& entry : sorted) {
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
    for (const char* word : {"x", "y", "x", "abcdefgh", "abcdefghi"}) batch.push_back({word, std::strlen(word)});
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
    EXPECT_EQ(counter.SortedEntries().at(0).count, Count{6'000'000'000});
}

}  // namespace
}  // namespace tavro
