// Reading the input files of a run: every file, in list order, counted into one
// word table.
//
// The calling thread opens and reads the files in blocks that each tokenise on
// their own; worker threads decode the blocks into code page 1253 and count them.
// Each file is read in the encoding the options force, or in the one its bytes
// show (DetectEncoding, on its first block that is not plain ASCII); malformed
// sequences each count as one separator, and a file that held any gets a warning. The progress
// window names each file while it is read and steps once after it. The first file that cannot be
// opened or read ends the reading with the message the user must see; every
// file before it has been read whole, but no table is made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/token_windows.h"
#include "corpus/word_files.h"
#include "corpus/word_table.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/status.h"
#include "platform/text_encoding.h"

namespace tavro {

// Something about one input file that the user should know, though the run went on.
struct FileWarning {
    std::string path;
    std::string text;  // ASCII
    bool operator==(const FileWarning&) const = default;
};

struct CountingOptions {
    int threads = 0;                                  // how many threads count (0: every core)
    bool countFiles = false;                          // count the files each word occurs in as well
    EncodingChoice encoding = EncodingChoice::kAuto;  // what the files are read as
    bool windows = false;                             // take the text in windows (token_windows.h)
};

struct CountedInput {
    Status status = Status::Ok();
    WordTable words;  // every distinct folded word with its count over all files
    // Beside the words: how many of the files each occurs in (when counted).
    std::vector<std::uint32_t> fileCounts;
    WordFiles files;  // beside the words: the files each occurs in (when counted)
    std::optional<WindowTally> windows;  // when the text was taken in windows
    std::uint64_t fileCount = 0;         // the files counted
    std::uint64_t bytesRead = 0;         // read from all files
    // Malformed byte sequences met in all files (each was read as a separator).
    std::uint64_t badSequences = 0;
    std::vector<FileWarning> warnings;  // in file order
    // Wall seconds spent reading and counting, and putting the counts in order.
    double countingSeconds = 0;
    double sortingSeconds = 0;
};

// How CountInputFiles reads and judges one file, for readers that share a file
// out (tavro-mpi) and must decide as it does.

// The size of the blocks files are read in (block_reader.h).
inline constexpr std::size_t kInputBlockSize = std::size_t{1} << 20;
// Whether a file's first block starts with a UTF-16 byte-order mark.
bool StartsUtf16(std::string_view firstBlock);
// The warnings about one file, in the order a file's warnings come: it shrank
// while it was read; it is UTF-16; it held `bad` malformed sequences.
std::string ShrinkWarning(std::uint64_t read, std::uint64_t size);
std::string Utf16Warning();
std::string BadSequenceWarning(std::uint64_t bad, TextEncoding encoding);

// Counts every file of `paths`. On an unreadable file, `status` is Fatal with
// "Error while opening file <path>" or "Error while reading file <path>"; when
// memory runs out, Fatal with a message that names what was being done; when
// the progress window asks to stop, Cancelled. The same path twice counts as
// two files.
CountedInput CountInputFiles(const std::vector<std::string>& paths, FileSystem& files,
                             ProgressDisplay& progress, const CountingOptions& options);

}  // namespace tavro
