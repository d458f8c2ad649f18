#include "corpus/word_table.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>

namespace tavro {
namespace {

std::vector<std::string> Words(const WordTable& table) {
    std::vector<std::string> words;
    for (const WordEntry& entry : table.Entries()) words.push_back(entry.word);
    return words;
}

WordTable TableOf(std::initializer_list<std::pair<const char*, Count>> raw) {
    WordTable table;
    for (const auto& [word, count] : raw) InsertWord(table, WordEntry(word, count));
    return table;
}

TEST(WordTable, EqualWordsShareOneEntryAndAddTheirCounts) {
    const WordTable table =
        TableOf({{"ab", 1}, {"ab", 1}, {"\xCB\xEF\xE3\xEF\xF2", 1}, {"\xEB\xEF\xE3\xEF\xF2", 2}});
    ASSERT_EQ(table.size(), 2u);  // Λογος folds to λογος
    EXPECT_EQ(table[0].word, "ab");
    EXPECT_EQ(table[0].count, 2);
    EXPECT_EQ(table[1].word, "\xEB\xEF\xE3\xEF\xF2");
    EXPECT_EQ(table[1].count, 3);
}

TEST(WordTable, FoldingKeepsAccentsMedialSigmaAndAscii) {
    const WordTable table = TableOf({{"\xCB\xCF\xC3\xCF\xD3", 1},  // ΛΟΓΟΣ: capital sigma stays σ
                                     {"\xEB\xEF\xE3\xEF\xF2", 1},  // λογος
                                     {"\xCB\xFC\xE3\xEF\xF2", 1},  // Λόγος keeps its accent
                                     {"The", 1},
                                     {"the", 1}});
    EXPECT_EQ(table.size(), 5u);
}

TEST(WordTable, KeepsUnsignedByteOrderShorterFirst) {
    WordTable table;
    for (const char* word : {"abc", "\xE1\xEB\xEB\xDC", "ab", "a", "Z", "9", "A", "_", "abd",
                             "\xDC\xEB\xEB\xEF\xF2", "\xFC", "\xF9", "\xC0"}) {
        InsertWord(table, WordEntry(word, 1));
    }
    const std::vector<std::string> expected = {"9",
                                               "A",
                                               "Z",
                                               "_",
                                               "a",
                                               "ab",
                                               "abc",
                                               "abd",
                                               "\xC0",
                                               "\xDC\xEB\xEB\xEF\xF2",
                                               "\xE1\xEB\xEB\xDC",
                                               "\xF9",
                                               "\xFC"};
    EXPECT_EQ(Words(table), expected);
}

TEST(WordTable, EmptyTableOperationsDoNothing) {
    WordTable table;
    EXPECT_FALSE(FindWord(table, WordEntry("a", 0)));
    EXPECT_EQ(table.Find(""), WordTable::kNotFound);
    ResetCounts(table);
    std::vector<WordEntry> list(1);
    CollectInOrder(table, list);
    EXPECT_EQ(list.size(), 1u);
}

TEST(WordTable, ResetKeepsEveryWordAndCollectAppends) {
    WordTable table = TableOf({{"b", 5}, {"a", 7}});
    ResetCounts(table);
    std::vector<WordEntry> list = {WordEntry("z", 9)};
    CollectInOrder(table, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].word, "z");
    EXPECT_EQ(list[1].word, "a");
    EXPECT_EQ(list[1].count, 0);
    EXPECT_EQ(list[2].count, 0);
    EXPECT_TRUE(FindWord(table, WordEntry("b", 0)));
    EXPECT_FALSE(FindWord(table, WordEntry("c", 0)));
}

// The index must find every word of a large table and no word it lacks, also
// words that differ only past their eighth byte or in length.
TEST(WordTable, IndexFindsEveryPositionOfALargeTable) {
    std::map<std::string, Count> reference;
    std::mt19937 random(7);
    for (int i = 0; i < 50000; ++i) {
        std::string word(1 + random() % 14, 'a');
        for (char& c : word) c = static_cast<char>('a' + random() % 3);
        reference[word] += 1;
    }
    std::vector<WordEntry> entries;
    for (const auto& [word, count] : reference) entries.emplace_back(word, count);
    std::shuffle(entries.begin(), entries.end(), random);
    const WordTable table = WordTable::FromEntries(entries);
    ASSERT_EQ(table.size(), reference.size());
    std::uint32_t position = 0;
    for (const auto& [word, count] : reference) {
        EXPECT_EQ(table.Find(word), position) << word;
        EXPECT_EQ(table[position].count, count);
        EXPECT_EQ(table.Find(word + "d"), WordTable::kNotFound);
        ++position;
    }
}

TEST(WordTable, FromEntriesMergesDuplicatesFromAnyOrder) {
    const WordTable table = WordTable::FromEntries(
        {WordEntry("b", 1), WordEntry("a", 2), WordEntry("b", 3), WordEntry("", 1)});
    EXPECT_EQ(Words(table), (std::vector<std::string>{"", "a", "b"}));
    EXPECT_EQ(table[table.Find("b")].count, 4);
}

// A sorted lexicon of a million words is the case an unbalanced tree could not take.
TEST(WordTable, AMillionSortedWordsInsertedInBulk) {
    std::vector<WordEntry> list;
    char word[16];
    constexpr int kWords = 1000000;
    for (int i = 0; i < kWords; ++i) {
        std::snprintf(word, sizeof word, "w%07d", i);
        list.emplace_back(word, 1);
    }
    WordTable table;
    InsertEntries(list, table);
    EXPECT_EQ(table.size(), static_cast<std::size_t>(kWords));
    EXPECT_EQ(table.Find("w0999999"), static_cast<std::uint32_t>(kWords - 1));
    InsertWord(table, WordEntry("w0000000", 1));  // further insertions add to the entry
    EXPECT_EQ(table[0].count, 2);
}

}  // namespace
}  // namespace tavro
