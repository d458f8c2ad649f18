#include "corpus/count_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <set>

#include "corpus/word_counter.h"
#include "tests/counted_words.h"

namespace tavro {
namespace {

using testing::Counts;
using testing::CountsOf;

Counts AsMap(const CountTable& table) {
    Counts counts;
    for (const auto& word : table.SortedWords()) counts[std::string(word.word)] += word.count;
    return counts;
}

std::string RandomWord(std::mt19937& random) {
    std::string word(1 + random() % 12, '\0');
    for (char& c : word) c = static_cast<char>('a' + random() % 6);  // many collisions
    return word;
}

TEST(WordHash, APaddedWordsKeyIsTheKeyOfItsBytesAlone) {
    std::mt19937 random(11);
    for (std::size_t length = 0; length <= 40; ++length) {
        for (int round = 0; round < 50; ++round) {
            // The word, then bytes that must make no difference.
            std::string bytes(length + word_hash::kPaddedReadBytes, '\0');
            for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? 0 : random());
            const char* word = bytes.data();
            std::uint64_t prefix = 0;
            std::uint64_t second = 0;
            for (std::size_t i = 0; i < std::min<std::size_t>(length, 16); ++i) {
                const auto byte = std::uint64_t{static_cast<unsigned char>(word[i])};
                (i < 8 ? prefix : second) |= byte << (8 * (i % 8));
            }
            const word_hash::Key key = word_hash::KeyOf(word, length);
            const word_hash::Key padded = word_hash::KeyOfPadded(word, length);
            ASSERT_EQ(key.prefix, prefix) << "length " << length;
            ASSERT_EQ(key.second, second) << "length " << length;
            ASSERT_EQ(padded.prefix, prefix) << "length " << length;
            ASSERT_EQ(padded.second, second) << "length " << length;
            ASSERT_EQ(padded.hash, key.hash) << "length " << length;
            ASSERT_EQ(key.hash, word_hash::Hash({word, length})) << "length " << length;
        }
    }
    // Trailing NUL bytes are bytes of the word: they change its hash.
    EXPECT_NE(word_hash::Hash(std::string_view("ab", 2)),
              word_hash::Hash(std::string_view("ab\0", 3)));
    EXPECT_NE(word_hash::Hash(std::string_view("\0", 1)), word_hash::Hash(std::string_view("", 0)));
}

TEST(CountTable, AgreesWithAMapThroughManyGrowthsAndSortsInWordOrder) {
    CountTable table;
    Counts reference;
    std::mt19937 random(11);
    for (int i = 0; i < 200000; ++i) {
        const std::string word = RandomWord(random);
        const Count count = 1 + static_cast<Count>(random() % 3);
        table.Add(word, count);
        reference[word] += count;
    }
    EXPECT_EQ(table.size(), reference.size());
    const std::vector<CountTable::CountedWord> sorted = table.SortedWords();
    ASSERT_EQ(sorted.size(), reference.size());
    auto expected = reference.begin();
    for (const CountTable::CountedWord& word : sorted) {
        EXPECT_EQ(word.word, expected->first);
        EXPECT_EQ(word.count, expected->second);
        EXPECT_EQ(word.files, 0u);  // files were not tracked
        ++expected;
    }
}

TEST(CountTable, EmptyWordsBytesWithNulAndLargeCounts) {
    CountTable table;
    table.Add("x");
    table.Add(std::string_view("a\0b", 3), 2);
    table.Add(std::string_view("a\0", 2));
    table.Add("");
    table.Add("w", Count{3'000'000'000});
    table.Add("w", Count{3'000'000'000});
    const Counts counts = AsMap(table);
    EXPECT_EQ(counts.at(""), 1);
    EXPECT_EQ(counts.at(std::string("a\0b", 3)), 2);
    EXPECT_EQ(counts.at(std::string("a\0", 2)), 1);
    EXPECT_EQ(counts.at("w"), Count{6'000'000'000});
    EXPECT_EQ(table.size(), 5u);
}

// A word too long for a slot's 32-bit length goes to the side table, and still
// sorts in its place; the limit is lowered here to reach that path.
TEST(CountTable, WordsTooLongForASlotAreCountedApart) {
    CountTable table(64, /*longestSlotWord=*/10);
    table.TrackFiles();
    const std::string longer(11, 'm');
    const std::string longest(30, 'z');
    table.SetFile(0);
    for (const std::string& word : {longest, std::string("b"), longer, longest}) table.Add(word);
    table.SetFile(2);
    table.Add("n");
    table.Add(longer);
    const std::vector<CountTable::CountedWord> sorted = table.SortedWords();
    ASSERT_EQ(sorted.size(), 4u);
    EXPECT_EQ(sorted[0].word, "b");
    EXPECT_EQ(sorted[1].word, longer);
    EXPECT_EQ(sorted[1].count, 2);
    EXPECT_EQ(sorted[1].files, 2u);
    EXPECT_EQ(sorted[2].word, "n");
    EXPECT_EQ(sorted[3].word, longest);
    EXPECT_EQ(sorted[3].count, 2);
    EXPECT_EQ(sorted[3].files, 1u);
}

// A word's last position in the block, remembered through growth (a small table
// of short, slot-sized and too-long words), and forgotten from block to block,
// also when the numbers start over.
TEST(CountTable, RemembersEachWordsLastPositionInTheBlock) {
    CountTable table(4, /*longestSlotWord=*/10);
    table.TrackPositions();
    std::mt19937 random(5);
    Counts counts;
    const std::uint32_t firsts[] = {3, 7003, 0};
    for (const std::uint32_t first : firsts) {
        table.StartBlock(first);
        std::map<std::string, std::uint32_t> last;
        for (std::uint32_t at = 0; at < 5000; ++at) {
            std::string word = RandomWord(random);
            if (at % 7 == 0) word.append(std::string(10, 'q'));  // too long for a slot
            const auto found = last.find(word);
            const std::uint32_t expected = found == last.end() ? 0 : found->second + 1;
            ASSERT_EQ(table.AddAt(word.data(), word.size(),
                                  word_hash::KeyOf(word.data(), word.size()), first + at),
                      expected)
                << word << " at " << at << " in the block from " << first;
            last[word] = at;
            ++counts[word];
        }
    }
    EXPECT_EQ(AsMap(table), counts);
}

// Words counted by several tables, each seeing the files in ascending order but
// the same file in several tables: merged, every word's files are the union,
// as bits and as lists (past the 64th file), while the merged table grows.
TEST(CountTable, MergingAddsCountsAndUnitesFileSets) {
    std::mt19937 random(3);
    std::map<std::string, std::set<std::uint32_t>> files;
    Counts counts;
    std::vector<CountTable> tables(3, CountTable(16));
    for (CountTable& table : tables) table.TrackFiles();
    for (std::uint32_t file = 0; file < 100; ++file) {
        for (CountTable& table : tables) table.SetFile(file);
        for (int i = 0; i < 300; ++i) {
            const std::string word = RandomWord(random);
            tables[random() % tables.size()].Add(word);
            files[word].insert(file);
            ++counts[word];
        }
    }
    tables[0].MergeFrom(tables[1]);
    tables[0].MergeFrom(tables[2]);
    const std::vector<CountTable::CountedWord> merged = tables[0].SortedWords();
    ASSERT_EQ(merged.size(), counts.size());
    for (const CountTable::CountedWord& word : merged) {
        const std::string key(word.word);
        EXPECT_EQ(word.count, counts[key]) << key;
        EXPECT_EQ(word.files, files[key].size()) << key;
    }
}

TEST(WordCounter, PartitionsSplitTheWordsAndTogetherHoldThemAll) {
    WordCounter counter(3);
    Counts reference;
    std::mt19937 random(5);
    std::vector<std::string> words;
    for (int i = 0; i < 100000; ++i) words.push_back(RandomWord(random));
    for (std::size_t at = 0; at < words.size(); at += WordCounter::kBatch) {
        std::vector<PendingWord> batch;
        std::vector<std::string> padded;  // a batch's words can be read past their end
        padded.reserve(WordCounter::kBatch);
        for (std::size_t i = at; i < std::min(words.size(), at + WordCounter::kBatch); ++i) {
            padded.push_back(words[i] + std::string(word_hash::kPaddedReadBytes, 'x'));
            batch.push_back({padded.back().data(), words[i].size()});
            ++reference[words[i]];
        }
        counter.AddBatch(batch.data(), batch.size());
    }
    counter.Add(std::string(40, 'q'), 2);
    reference[std::string(40, 'q')] += 2;
    EXPECT_EQ(CountsOf(counter), reference);
    EXPECT_EQ(counter.size(), reference.size());
    for (std::size_t p = 0; p < counter.Partitions(); ++p) {
        EXPECT_GT(counter.Part(p).size(), reference.size() / 5) << "partition " << p;
        for (const auto& word : counter.Part(p).SortedWords()) {
            EXPECT_EQ(WordCounter::PartitionOf(word_hash::Hash(word.word), 3), p);
        }
    }
}

}  // namespace
}  // namespace tavro
