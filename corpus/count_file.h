// Count files: the counted words of a run, saved so that they can be added to a
// later run instead of reading the text again, or merged with counts made on
// other machines.
//
// The format (version 1) is UTF-8 text, LF line ends, one item per line:
//   tavro-counts 1
//   files 2                 the text files counted
//   bytes 5123              bytes read from them
//   bad-sequences 0         malformed byte sequences met while decoding them
//   tokens 812              the words' counts summed
//   words 3                 the lines of words that follow
//   λόγος 5 0-1             word, count, the files it occurs in (from 0, in
//   λόγου 2 1               list order: ascending numbers and ranges a-b, cut by
//   σπίτι 1 0               commas; "-" when files were not counted), one
//                           space between the three
// A byte that cp1253 leaves undefined is written \xHH (no word holds a
// backslash).
//   end 8c1f0e5a9b7d3c21    FNV-1a 64 of every byte before this line, in hex
// Words are in ascending word order of their cp1253 bytes, each once. A file
// that does not start with the first line is of another kind or version; one
// without its end line is truncated; a line that does not parse, a count or a
// file out of range, words out of order or a checksum that differs make it
// corrupted: each is refused with a message that names the file and the line.
// What cannot be carried: the windows of the text (the STTR), since they cross
// file boundaries; a run that adds a count file has none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corpus/word_files.h"
#include "corpus/word_table.h"
#include "platform/file_system.h"
#include "platform/status.h"

namespace tavro {

inline constexpr const char* kCountFileMagic = "tavro-counts 1";

// The counted words of one or more files: what a count file holds.
struct WordCounts {
    std::vector<WordEntry> words;  // ascending word order, each once
    WordFiles files;               // beside words (numbered from 0)
    std::uint64_t fileCount = 0;
    std::uint64_t bytes = 0;
    std::uint64_t badSequences = 0;
};

// The count file of `counts`: every word must have its files.
std::string RenderCountFile(const WordCounts& counts);

struct LoadedCounts {
    Status status = Status::Ok();
    WordCounts counts;
};

// Reads the count file `path`. Fatal "Error while opening file <path>" or
// "Error while reading file <path>" as for input files; a refused file is Fatal
// with "Not a count file of this version", "Truncated count file" or "Corrupted
// count file", then " (line N: why): " and the path.
LoadedCounts ReadCountFile(FileSystem& files, const std::string& path);
// The same from bytes already read; `path` only names it in messages.
LoadedCounts ParseCountFile(std::string_view bytes, const std::string& path);

// `b`'s words added to `a`'s: counts summed, `b`'s files numbered after `a`'s.
WordCounts AddCounts(WordCounts a, const WordCounts& b);

}  // namespace tavro
