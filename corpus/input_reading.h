// Reading the input files of a run: every file, in list order, counted into one
// word table.
//
// The calling thread opens and reads the files in blocks that each tokenise on
// their own; worker threads count the blocks. The progress window names each
// file while it is read and steps once after it. The first file that cannot be
// opened or read ends the reading with the message the user must see; every
// file before it has been read whole, but no table is made.
#pragma once

#include <string>
#include <vector>

#include "corpus/word_table.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/status.h"

namespace tavro {

// Something about one input file that the user should know, though the run went on.
struct FileWarning {
    std::string path;
    std::string text;  // ASCII
    bool operator==(const FileWarning&) const = default;
};

struct CountedInput {
    Status status = Status::Ok();
    WordTable words;  // every distinct folded word with its count over all files
    std::vector<FileWarning> warnings;
};

// Counts every file of `paths`. `threads`: how many threads count (0: every core).
// On an unreadable file, `status` is Fatal with "Error while opening file <path>"
// or "Error while reading file <path>"; when memory runs out, Fatal with a
// message that names what was being done.
CountedInput CountInputFiles(const std::vector<std::string>& paths, FileSystem& files,
                             ProgressDisplay& progress, int threads);

}  // namespace tavro
