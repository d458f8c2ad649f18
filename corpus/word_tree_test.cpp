#include "corpus/word_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "corpus/shuffle.h"

namespace tavro {
namespace {

// Owns a tree for the length of a test.
struct Tree {
    WordNode* root = nullptr;
    ~Tree() { DeleteTree(root); }
    void Insert(std::string_view raw, Count count) { root = InsertWord(root, WordEntry(raw, count)); }
    std::vector<WordEntry> Entries() const {
        std::vector<WordEntry> list;
        CollectInOrder(root, list);
        return list;
    }
};

std::vector<std::string> Words(const std::vector<WordEntry>& list) {
    std::vector<std::string> words;
    for (const WordEntry& entry : list) words.push_back(entry.word);
    return words;
}

TEST(WordTree, EqualWordsShareOneNodeAndAddTheirCounts) {
    Tree tree;
    tree.Insert("ab", 1);
    tree.Insert("ab", 1);
    tree.Insert("\xCB\xEF\xE3\xEF\xF2", 1);  // Λογος folds to λογος
    tree.Insert("\xEB\xEF\xE3\xEF\xF2", 2);
    const std::vector<WordEntry> list = tree.Entries();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].word, "ab");
    EXPECT_EQ(list[0].count, 2);
    EXPECT_EQ(list[1].word, "\xEB\xEF\xE3\xEF\xF2");
    EXPECT_EQ(list[1].count, 3);
}

TEST(WordTree, FoldingKeepsAccentsMedialSigmaAndAscii) {
    Tree tree;
    tree.Insert("\xCB\xCF\xC3\xCF\xD3", 1);  // ΛΟΓΟΣ: capital sigma stays medial σ
    tree.Insert("\xEB\xEF\xE3\xEF\xF2", 1);  // λογος
    tree.Insert("\xCB\xFC\xE3\xEF\xF2", 1);  // Λόγος keeps its accent
    tree.Insert("The", 1);
    tree.Insert("the", 1);
    EXPECT_EQ(CountNodes(tree.root), 5u);
}

TEST(WordTree, WalksInUnsignedByteOrderShorterFirst) {
    Tree tree;
    for (const char* word : {"abc", "\xE1\xEB\xEB\xDC", "ab", "a", "Z", "9", "A", "_", "abd",
                             "\xDC\xEB\xEB\xEF\xF2", "\xFC", "\xF9", "\xC0"}) {
        tree.Insert(word, 1);
    }
    const std::vector<std::string> expected = {
        "9", "A", "Z", "_", "a", "ab", "abc", "abd", "\xC0", "\xDC\xEB\xEB\xEF\xF2",
        "\xE1\xEB\xEB\xDC", "\xF9", "\xFC"};
    EXPECT_EQ(Words(tree.Entries()), expected);
}

TEST(WordTree, EmptyTreeOperationsDoNothing) {
    EXPECT_FALSE(FindWord(nullptr, WordEntry("a", 0)));
    DeleteTree(nullptr);
    ResetCounts(nullptr);
    std::vector<WordEntry> list(1);
    CollectInOrder(nullptr, list);
    EXPECT_EQ(list.size(), 1u);
}

TEST(WordTree, ResetKeepsEveryNodeAndCollectAppends) {
    Tree tree;
    tree.Insert("b", 5);
    tree.Insert("a", 7);
    ResetCounts(tree.root);
    std::vector<WordEntry> list = {WordEntry("z", 9)};
    CollectInOrder(tree.root, list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].word, "z");
    EXPECT_EQ(list[1].word, "a");
    EXPECT_EQ(list[1].count, 0);
    EXPECT_EQ(list[2].count, 0);
    EXPECT_TRUE(FindWord(tree.root, WordEntry("b", 0)));
    EXPECT_FALSE(FindWord(tree.root, WordEntry("c", 0)));
}

// A sorted word list used to turn the tree into a list a million nodes deep.
TEST(WordTree, AMillionSortedWordsKeepTheTreeShallow) {
    Tree tree;
    char word[16];
    constexpr int kWords = 1000000;
    for (int i = 0; i < kWords; ++i) {
        std::snprintf(word, sizeof word, "w%07d", i);
        tree.root = InsertWord(tree.root, WordEntry(word, 1));
    }
    EXPECT_EQ(CountNodes(tree.root), static_cast<std::size_t>(kWords));
    EXPECT_LE(TreeHeight(tree.root), 29);  // 1.44 log2(n) for an AVL tree
    EXPECT_TRUE(FindWord(tree.root, WordEntry("w0999999", 0)));
    ResetCounts(tree.root);
}

TEST(WordTree, TreeBuiltFromSortedEntriesMatchesInsertion) {
    std::vector<WordEntry> sorted;
    for (int i = 0; i < 1000; ++i) sorted.emplace_back(std::string("k").append(std::to_string(10000 + i)), i);
    const std::vector<WordEntry> copy = sorted;
    Tree tree;
    tree.root = BuildTreeFromSorted(std::move(sorted));
    EXPECT_LE(TreeHeight(tree.root), 10);
    const std::vector<WordEntry> list = tree.Entries();
    ASSERT_EQ(list.size(), copy.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].word, copy[i].word);
        EXPECT_EQ(list[i].count, copy[i].count);
    }
    tree.Insert("k10500", 1);  // the built tree accepts further insertions
    EXPECT_EQ(CountNodes(tree.root), 1000u);
}

TEST(Shuffle, DrawsReproduceTheClassicCGenerator) {
    CRandom random(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
}

TEST(Shuffle, EmptyListAndNoSwapsChangeNothing) {
    CRandom random(3144);
    std::vector<WordEntry> empty;
    ShuffleEntries(empty, 100000, random);
    EXPECT_TRUE(empty.empty());
    std::vector<WordEntry> list = {WordEntry("a", 0), WordEntry("b", 0)};
    ShuffleEntries(list, 0, random);
    ShuffleEntries(list, -5, random);
    EXPECT_EQ(list[0].word, "a");
}

TEST(Shuffle, IsAPermutationThatDependsOnlyOnTheSeed) {
    std::vector<WordEntry> first, second;
    for (int i = 0; i < 500; ++i) first.emplace_back(std::to_string(i), 0);
    second = first;
    CRandom a(3144), b(3144);
    ShuffleEntries(first, 100000, a);
    ShuffleEntries(second, 100000, b);
    EXPECT_EQ(Words(first), Words(second));
    std::vector<std::string> sorted = Words(first);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted.size(), 500u);
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

}  // namespace
}  // namespace tavro
