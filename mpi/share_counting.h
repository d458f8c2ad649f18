// Counting one rank's share of the input files (share_plan.h) with the
// engine's block reader and counting threads.
//
// The pieces that begin at the start of their file are counted together. A
// piece that begins inside a file (a share has at most one, its first) is
// counted apart, since its words must be dropped when an earlier piece of the
// same file met a 1A byte, which ends the file's text. Each piece is decoded
// into code page 1253 as it is counted. As in tavro-cli, the
// first piece that cannot be opened or read ends the counting, and so does
// memory running out; nothing is counted then.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "corpus/counting_pool.h"
#include "mpi/agreement.h"
#include "mpi/share_plan.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace tavro {

// What reading a piece showed of its file (piece_source.h).
struct PieceFacts {
    std::optional<std::uint64_t> endOfText;  // where a 1A byte ended the file's text
    std::optional<std::uint64_t> endOfFile;  // the file's length, when its end was met
    std::optional<TextEncoding> encoding;    // what it was read as; nothing while plain ASCII
    bool startsUtf16 = false;                // at the file's start: a UTF-16 byte-order mark
    std::uint64_t badSequences = 0;          // malformed sequences it held
    bool operator==(const PieceFacts&) const = default;
};

struct CountedShare {
    std::optional<RankFailure> failure;
    SortedCounts fromFileStarts;    // the words of the pieces that begin at a file's start
    SortedCounts insideFile;        // the words of the piece that begins inside a file
    std::vector<PieceFacts> facts;  // one per piece of the share, in share order
    double countingSeconds = 0;     // reading and counting
    double sortingSeconds = 0;      // putting the counted words in order
};

// Opens the file of a piece at PieceSource::OpenAt(piece).
using PieceOpener = std::function<OpenedSource(const Piece&)>;
// The encoding to read a piece in; nothing to decide it from the piece's first
// block that is not plain ASCII, as tavro-cli decides a file's.
using PieceEncoding = std::function<std::optional<TextEncoding>(const Piece&)>;

// Counts the pieces of `share` (files named by `paths`) on `threads` threads.
CountedShare CountShare(const Share& share, const std::vector<std::string>& paths,
                        const PieceOpener& open, const PieceEncoding& encodingOf, int threads);

}  // namespace tavro
