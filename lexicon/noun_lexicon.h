// The noun lexicon ("finalList.txt"): one noun per line, in its base form.
//
// Lines end at LF, or at CR, which also takes the byte after it (so CR LF is one
// line end); the last line needs no line end and an empty file has no lines.
// Nothing is trimmed: every byte of a line, spaces included, is part of the noun.
// Each line is folded to lower case; folded duplicates become one noun.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_tree.h"
#include "platform/platform.h"
#include "platform/status.h"

namespace tavro {

// The lines of a lexicon file.
std::vector<std::string> SplitLexiconLines(std::string_view contents);

// The entries of the lexicon, count 0, after the fixed shuffle (seed 3144, 100000
// exchanges); the shuffle only decides the order in which the tree receives them.
std::vector<WordEntry> LexiconEntries(std::string_view contents);

// Reads the named lexicon into the (empty) tree at `root`. When the file cannot be
// opened, shows "Error: File could not be opened" and returns NoDocument; when it
// vanishes or cannot be read after that check, returns NoDocument without a message.
Status LoadNounLexicon(const std::string& fileName, WordNode*& root, Platform& platform);

}  // namespace tavro
