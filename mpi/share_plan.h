// Sharing the input files of a run out among the ranks of a job.
//
// The files, in list order, are taken as one run of bytes and cut into as many
// stretches of equal length (to a byte) as there are ranks; rank r reads the
// r-th. Where a stretch begins or ends inside a file, it holds a piece of that
// file: a big file is split across ranks, small files go whole to one rank,
// and every rank reads about as many bytes as every other. These cuts are
// nominal: a piece that begins inside a file starts after a line feed, and one
// that ends inside a file ends after one (piece_source.h), so that no line is
// split. A file whose size is not known (standard input, a pipe) goes whole to
// rank 0; an empty file to no rank.
//
// Every rank computes the same plan from the same sizes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tavro {

struct Piece {
    std::uint32_t file = 0;            // its index in the list of input files
    std::uint64_t begin = 0;           // nominal; 0 at the start of the file
    std::optional<std::uint64_t> end;  // nominal; nothing: on to the end of the file
    bool operator==(const Piece&) const = default;
};

// The pieces one rank reads, in list order; at most the first begins inside a file.
using Share = std::vector<Piece>;

// One share per rank (`ranks` at least 1) of the files whose sizes are
// `sizes` (nothing for a size that is not known).
std::vector<Share> ShareOut(const std::vector<std::optional<std::uint64_t>>& sizes, int ranks);

}  // namespace tavro
