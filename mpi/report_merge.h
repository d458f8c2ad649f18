// The all-words report of a job, put together at rank 0 from the words that
// every rank owns (word_exchange.h).
//
// Each rank lists its words in the report's order: alphabetical, or by
// frequency, where higher counts come first and equal counts keep word order
// (what tavro-cli's stable sort of the alphabetical list gives). The other
// ranks send their lists to rank 0 in chunks of at most `chunkBytes`, one
// chunk on its way from each at a time; rank 0 merges the lists in the same
// order (run_merge.h) and renders the report as tavro-cli does. So rank 0
// holds its own words, a chunk from each rank and the report, never all the
// ranks' words.
#pragma once

#include <string>

#include "mpi/communicator.h"
#include "report/word_list.h"

namespace tavro {

// At every rank but 0: sends `list`, in report order, to rank 0.
void SendReportList(Communicator& ranks, const DisplayList& list, std::size_t chunkBytes);

// At rank 0: the report of `own`, in report order, and every other rank's list.
std::string MergeReportLists(Communicator& ranks, const DisplayList& own, bool byFrequency);

}  // namespace tavro
