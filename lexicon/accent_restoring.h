// Restoring the accents that Greek written in capitals leaves out.
//
// Greek capitals are written without accents (ΤΙΜΗ for τιμή, ΛΟΓΟΣ for λόγος),
// so such a word, once folded, carries none (and ends in a medial σ), and its
// candidates match no noun of the lexicon. When a folded word carries no tonos
// and has two or more vowel groups (a word of one syllable takes no accent, so
// an unaccented one is what it should be), it is analysed again up to accents:
// a final σ is read as ς, tonos and dialytika are left out of the word, of the
// inflection table's endings and of the lexicon's nouns, and the candidates are
// compared with the nouns so stripped. This changes what such words count for,
// so the program does it only when asked to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "corpus/word_table.h"
#include "lexicon/ending_index.h"
#include "lexicon/ending_table.h"

namespace tavro {

// `word` with every tonos and dialytika left out (ά to α, ΐ to ι, ϋ to υ, ...).
std::string WithoutAccents(std::string_view word);

// True when `word` (folded) carries no tonos and has two or more vowel groups.
bool MayLackItsAccent(std::string_view word);

// How a word that may lack its accent is matched with the nouns up to accents.
enum class RestoredMatch {
    kOnlyNoun,   // the one noun its candidates match (for a count: several nouns match none)
    kFirstNoun,  // the noun of the first candidate that matches one (for Find Base Form)
};

// The lexicon and the inflection table without accents, for words that lack them.
class AccentRestorer {
  public:
    AccentRestorer(const WordTable& nouns, const std::vector<EndingGroup>& table);

    // The position in `nouns` of the noun that `word` matches up to accents, as
    // `match` says; WordTable::kNotFound when there is none. A candidate whose
    // form without accents is that of several nouns matches none of them.
    std::uint32_t Find(std::string_view word, RestoredMatch match) const;

  private:
    static constexpr std::uint32_t kSeveral = WordTable::kNotFound - 1;
    std::uint32_t NounOf(std::string_view accentless) const;

    std::unordered_map<std::string, std::uint32_t> m_nouns;  // by form without accents
    std::vector<EndingGroup> m_table;                        // endings without accents
    EndingIndex m_endings;
};

}  // namespace tavro
