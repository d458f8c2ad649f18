// The display list: a copy of one word tree, in the order the user chose.
//
// Alphabetical order is the tree's own word order. Frequency order puts higher
// counts first; words of equal count keep their alphabetical order (a stable sort).
#pragma once

#include <vector>

#include "corpus/word_tree.h"

namespace tavro {

// True when a's count is greater than b's; the words play no part.
bool CompareFrequency(const WordEntry& a, const WordEntry& b);

// Every entry of `tree` (zero counts included), alphabetically or by frequency.
std::vector<WordEntry> BuildDisplayList(const WordNode* tree, bool sortByFrequency);

}  // namespace tavro
