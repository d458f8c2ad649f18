// A word and its count: the unit of both word tables.
//
// An entry made from text folds Greek capitals to lower case byte by byte, so a
// stored word never holds a Greek capital; ASCII letters, accents and every other
// byte stay as given. Words compare in plain unsigned byte order, the shorter
// word first when one is a prefix of the other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavro {

using Count = std::int64_t;

struct WordEntry {
    std::string word;
    Count count = 0;

    WordEntry() = default;
    // Folds `raw` with ToLowerGreek; `count` is taken as it is.
    WordEntry(std::string_view raw, Count count);
};

// Folds every byte of `raw` with ToLowerGreek.
std::string FoldGreek(std::string_view raw);

// The word order of both tables: unsigned bytes, then the shorter word first.
inline int CompareWords(std::string_view a, std::string_view b) { return a.compare(b); }

}  // namespace tavro
