// The display list: the entries of one word table, in the order the user chose.
//
// It points at the table's entries, which it never changes, and lives no longer
// than the table. Alphabetical order is the table's own word order. Frequency
// order puts higher counts first; words of equal count keep their alphabetical
// order (a stable sort).
#pragma once

#include <vector>

#include "corpus/word_table.h"

namespace tavro {

using DisplayList = std::vector<const WordEntry*>;

// True when a's count is greater than b's; the words play no part.
bool CompareFrequency(const WordEntry& a, const WordEntry& b);

// Every entry of `table` (zero counts included), alphabetically or by frequency.
DisplayList BuildDisplayList(const WordTable& table, bool sortByFrequency);

}  // namespace tavro
