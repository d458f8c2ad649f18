// What the ranks' counts of their shares come to, decided at rank 0 from what
// every rank reports: the first failure (agreement.h); for each rank, whether
// the words of its piece that begins inside a file are dropped, because an
// earlier piece of that file met a 1A byte, after which a file's text counts
// nowhere; and the warnings about each file, as tavro-cli words and orders
// them: it ended before the size it had when the run began, it is UTF-16, it
// held malformed sequences (summed over the pieces that count).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "corpus/input_reading.h"
#include "mpi/agreement.h"
#include "mpi/communicator.h"
#include "mpi/share_counting.h"
#include "mpi/share_plan.h"

namespace tavro {

// What one rank tells rank 0 about its share.
struct ShareReport {
    std::optional<RankFailure> failure;
    std::vector<PieceFacts> facts;  // one per piece of its share, unless it failed
};

struct ShareVerdict {
    std::optional<RankFailure> failure;
    std::vector<bool> dropInside;       // per rank
    std::vector<FileWarning> warnings;  // in list order; at rank 0 only
};

// The verdict on `reports` (one per rank) of the shares of `plan`, whose files
// had `sizes` when the run began and are named by `paths`.
ShareVerdict JudgeShares(const std::vector<Share>& plan,
                         const std::vector<std::optional<std::uint64_t>>& sizes,
                         const std::vector<std::string>& paths,
                         const std::vector<ShareReport>& reports);

// Gathers every rank's report at rank 0, which judges them; every rank
// returns the verdict (the warnings only at rank 0).
ShareVerdict AgreeOnShares(Communicator& ranks, const std::vector<Share>& plan,
                           const std::vector<std::optional<std::uint64_t>>& sizes,
                           const std::vector<std::string>& paths, const ShareReport& mine);

}  // namespace tavro
