// The word table as an ordered tree of counted words.
//
// A tree is a pointer to its root node (null for the empty tree) and its owner
// frees it with DeleteTree. The tree balances itself (AVL), so every operation
// recurses only to a depth of about 1.44 log2(n), whatever the order in which the
// words arrive. Inserting a word that is already present adds to its count; a
// node's word is never replaced. The in-order walk yields the words in the word
// order of word_entry.h.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "corpus/word_entry.h"

namespace tavro {

struct WordNode {
    WordEntry entry;
    WordNode* left = nullptr;
    WordNode* right = nullptr;
    std::int8_t height = 1;  // of the subtree rooted here; a leaf has height 1
};

// Inserts `entry` (or adds its count to the equal word) and returns the new root.
[[nodiscard]] WordNode* InsertWord(WordNode* root, const WordEntry& entry);

// True when a node holds a word equal to `word` (counts play no part).
bool FindWord(const WordNode* root, std::string_view word);
inline bool FindWord(const WordNode* root, const WordEntry& entry) {
    return FindWord(root, entry.word);
}

// Frees every node of the tree; the caller resets its root pointer.
void DeleteTree(WordNode* root);

// Sets every count to 0 and keeps every node.
void ResetCounts(WordNode* root);

// Appends a copy of every entry, in ascending word order, to `list`.
void CollectInOrder(const WordNode* root, std::vector<WordEntry>& list);

// Appends a pointer to every node, in ascending word order, to `nodes`.
void CollectNodesInOrder(WordNode* root, std::vector<WordNode*>& nodes);

// Inserts every entry of `list`, in index order, into the tree at `root`.
void InsertEntries(const std::vector<WordEntry>& list, WordNode*& root);

// Builds a balanced tree from entries that are strictly ascending in word order;
// the entries are moved out of `sorted`.
[[nodiscard]] WordNode* BuildTreeFromSorted(std::vector<WordEntry>&& sorted);

// Number of nodes, and height (0 for the empty tree).
std::size_t CountNodes(const WordNode* root);
int TreeHeight(const WordNode* root);

}  // namespace tavro
