// Merging runs of counted words that are each in one order, word order or
// report order by frequency (higher counts first, equal counts in word
// order), into one run in that order.
//
// The runs are read front to back through WordRun: lists in memory, or packed
// words (packed_words.h) that arrive in chunks from another rank, so that a
// merge holds one chunk of each run at a time. In word order a word met in
// several runs comes out once, with the sum of its counts.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_entry.h"
#include "mpi/packed_words.h"
#include "report/word_list.h"

namespace tavro {

class WordRun {
  public:
    virtual ~WordRun() = default;
    // The next word and its count; false at the end. `word` stays valid until
    // the next call.
    virtual bool Next(std::string_view& word, Count& count) = 0;
};

// The entries of a vector, or of a display list, which must outlive the run.
std::unique_ptr<WordRun> RunOf(const std::vector<WordEntry>& entries);
std::unique_ptr<WordRun> RunOf(const DisplayList& list);

// Packed words in the chunks that `nextChunk` returns, up to an empty one.
// Throws wire::Malformed when the chunks end inside a word.
std::unique_ptr<WordRun> PackedRun(std::function<std::string()> nextChunk);

// Calls `take` for every word of `runs`, in word order or, with
// `byFrequency`, in report order by frequency (where no word is in two runs).
void MergeRuns(std::vector<std::unique_ptr<WordRun>>& runs, bool byFrequency,
               const std::function<void(std::string_view word, Count count)>& take);

}  // namespace tavro
