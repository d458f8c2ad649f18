// The noun lexicon ("finalList.txt"): one noun per line, in its base form.
//
// Lines end at LF, or at CR, which also takes the byte after it (so CR LF is one
// line end); the last line needs no line end and an empty file has no lines.
// Nothing is trimmed: every byte of a line, spaces included, is part of the noun.
// Each line is folded to lower case; folded duplicates become one noun.
//
// The file may be in code page 1253, ISO-8859-7 or UTF-8 (detected from its
// bytes, text_encoding.h); it is decoded into cp1253 before it is split, so that
// a lexicon converted to another of them gives the same nouns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_table.h"
#include "platform/file_system.h"
#include "platform/status.h"

namespace tavro {

// The lines of a lexicon file.
std::vector<std::string> SplitLexiconLines(std::string_view contents);

// The entries of the lexicon, count 0, in file order.
std::vector<WordEntry> LexiconEntries(std::string_view contents);

// Reads the named lexicon into `nouns` (which it replaces). When the file cannot
// be opened, returns NoDocument with "Error: File could not be opened"; when it
// cannot be read, NoDocument without a message of its own; when a line holds a
// character that cp1253 cannot hold, or a malformed sequence, NoDocument with a
// message that names the line and the file.
Status LoadNounLexicon(FileSystem& files, const std::string& fileName, WordTable& nouns);

}  // namespace tavro
