// The inflection table ("conjugation.txt"): per line, an inflected ending followed
// by the base-form endings that may replace it, each with an accent shift.
//
// Line format: tokens separated by runs of spaces and tabs. Inside a token a
// hyphen is an accent marker: the hyphen and the one byte after it are taken out
// of the text, and that byte, when it is a digit, becomes the token's shift (any
// other byte gives 0; the last marker of a token counts). A hyphen that ends the
// line is a marker with shift 0. A NUL byte ends the line's text. Token bytes are
// kept as written (not folded). Every line, blank ones included, becomes one group,
// in file order; a file that ends with a line end has a final empty group.
//
// The file may be in code page 1253, ISO-8859-7 or UTF-8 (detected from its
// bytes, text_encoding.h); it is decoded into cp1253 after the text-mode read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/status.h"

namespace tavro {

struct EndingToken {
    std::string text;
    int accentShift = 0;
    bool operator==(const EndingToken&) const = default;
};

// Token 0 is the inflected ending; tokens 1.. are its replacements, tried in order.
using EndingGroup = std::vector<EndingToken>;

// The tokens of one line (without its line end).
EndingGroup ParseConjugationLine(std::string_view line);

// One group per line of `text`, which has already been read in text mode.
std::vector<EndingGroup> ParseConjugationText(std::string_view text);

// Reads the named file in text mode and appends its groups to `table`. When the
// file cannot be opened or read, returns Fatal with "Error while opening file
// <name>" or "Error while reading file "; when a line holds a character that
// cp1253 cannot hold, or a malformed sequence, Fatal with a message that names
// the line and the file (and `table` is left as it was).
Status LoadConjugationTable(FileSystem& files, const std::string& fileName,
                            std::vector<EndingGroup>& table);

}  // namespace tavro
