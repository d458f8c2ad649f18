// A deliberately plain processing run, for checking the fast one: files are read
// whole and split into lines, every token goes into an ordered map one at a time,
// every candidate is credited through a map of the nouns, and the report is
// written line by line. It shares only the character classes and the candidate
// enumeration with the program.
#pragma once

#include <string>
#include <vector>

namespace tavro::testing {

struct ReferenceData {
    std::string lexicon;      // finalList.txt bytes
    std::string conjugation;  // conjugation.txt bytes
};

// The report for `files` (their contents, in list order) in the given mode.
std::string ReferenceReport(const ReferenceData& data, const std::vector<std::string>& files,
                            bool showAllWords, bool sortByFrequency);

}  // namespace tavro::testing
