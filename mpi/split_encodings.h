// The encoding of each file that is split among ranks, agreed before counting.
//
// tavro-cli reads a file in the encoding that its first block that is not plain
// ASCII shows (DetectEncoding). A rank that reads a later piece of a file has
// no such block of its own, and the blocks of a piece are not cut where the
// file's are; so the rank that reads a split file's start reads its blocks as
// tavro-cli would, up to the first that is not plain ASCII, and every rank reads
// all pieces of that file in the encoding it shows. A file whose encoding is
// forced, or that one rank reads whole, needs none of this.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "mpi/communicator.h"
#include "mpi/share_plan.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace tavro {

// What the first block of `file` (read from its start) that is not plain ASCII
// shows: code page 1253 when its text is plain ASCII throughout (which reads
// the same in every encoding); nothing when it cannot be read.
std::optional<TextEncoding> DetectFileEncoding(ByteSource& file);

// The files of `plan` that are split among ranks, each with the encoding its
// pieces are read in, on every rank. `openStart` opens a file at its start. A
// file whose start cannot be read is left out: its pieces decide for
// themselves, and its failure is met, and reported, while counting.
std::map<std::uint32_t, TextEncoding> AgreeOnSplitEncodings(
    Communicator& ranks, const std::vector<Share>& plan,
    const std::function<OpenedSource(std::uint32_t file)>& openStart);

}  // namespace tavro
