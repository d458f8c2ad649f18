// A deliberately plain processing run, for checking the fast one: files are read
// whole and split into lines, every token goes into the word tree one insertion at
// a time, and every candidate is credited through the noun tree itself.
#pragma once

#include <string>
#include <vector>

#include "lexicon/ending_table.h"

namespace tavro::testing {

struct ReferenceData {
    std::string lexicon;      // finalList.txt bytes
    std::string conjugation;  // conjugation.txt bytes
};

// The report for `files` (their contents, in list order) in the given mode.
std::string ReferenceReport(const ReferenceData& data, const std::vector<std::string>& files,
                            bool showAllWords, bool sortByFrequency);

}  // namespace tavro::testing
