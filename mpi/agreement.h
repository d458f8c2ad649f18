// The ranks agreeing on how a step of the job went, so that they all go on or
// all stop with the same exit status, and only rank 0 tells the user why.
//
// A rank that failed holds a RankFailure: the Status to show and the place at
// which a run of tavro-cli over the same files would have met it (reading the
// data files, then the input files in list order). The failure with the
// earliest place wins; of two at the same place, that of the lower rank.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mpi/communicator.h"
#include "mpi/wire.h"
#include "platform/status.h"

namespace tavro {

struct RankFailure {
    std::uint64_t place = 0;
    Status status = Status::Ok();
};

// Places of the failures tavro-mpi knows.
namespace failure_place {
inline constexpr std::uint64_t kLexicon = 0;
inline constexpr std::uint64_t kConjugation = 1;
// Opening input file `file`, then reading it.
inline std::uint64_t Opening(std::uint32_t file) { return 2 + 2 * std::uint64_t{file}; }
inline std::uint64_t Reading(std::uint32_t file) { return Opening(file) + 1; }
}  // namespace failure_place

void AppendFailure(std::string& out, const std::optional<RankFailure>& failure);
// Throws wire::Malformed when the bytes hold no failure.
std::optional<RankFailure> ReadFailure(wire::Reader& reader);

// The winner among the failures of the ranks, in rank order.
std::optional<RankFailure> FirstFailure(std::vector<std::optional<RankFailure>> failures);

// Gathers every rank's failure at rank 0, which picks the first; every rank
// returns that one (or nothing when no rank failed).
std::optional<RankFailure> AgreeOnFailure(Communicator& ranks,
                                          const std::optional<RankFailure>& mine);

}  // namespace tavro
