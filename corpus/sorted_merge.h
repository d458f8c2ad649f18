// Merging runs of entries that are each in ascending word order, and that share
// no word, into one run, on several threads: the runs are cut at common words
// (taken at even steps from the longest run) into shares that merge on their own.
#pragma once

#include <cstdint>
#include <vector>

#include "corpus/word_entry.h"

namespace tavro {

// A run of entries, and beside them (when not empty) one number per entry that
// travels with it (the file counts of a run).
struct SortedRun {
    std::vector<WordEntry> entries;
    std::vector<std::uint32_t> numbers;
};

// The runs merged in word order; the runs are emptied. `threads`: how many
// threads may share the work.
SortedRun MergeSortedRuns(std::vector<SortedRun>& runs, int threads);

}  // namespace tavro
