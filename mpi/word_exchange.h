// Giving every distinct word of a run to the one rank that owns it.
//
// Each rank has counted its share of the input into runs of distinct words in
// word order, so a word met on several ranks is in several ranks' runs. A
// word's owner is picked by its hash, the same on every rank. Every rank packs
// its words by owner, still in word order, and the ranks send each other their
// packs in rounds of at most `roundBytes` bytes from one rank to another, so
// that a round needs a buffer of ranks x roundBytes each way. The owner keeps
// what it receives packed, then merges the ranks' packs in word order (run_merge.h),
// adding up the counts of a word that came from several ranks: it then holds
// each word it owns once, with its count over the whole input.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "corpus/word_entry.h"
#include "mpi/communicator.h"

namespace tavro {

// The rank, of `ranks`, that owns `word`.
int OwnerOf(std::string_view word, int ranks);

// The words this rank owns, in word order, gathered from every rank's `runs`
// (each in word order; freed on the way).
std::vector<WordEntry> ExchangeWords(Communicator& ranks, std::vector<std::vector<WordEntry>> runs,
                                     std::size_t roundBytes);

}  // namespace tavro
