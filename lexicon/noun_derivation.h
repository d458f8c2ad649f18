// Nouns the lexicon lacks, made from the words of a run.
//
// Technical prose coins nouns faster than any dictionary lists them
// (υποκατάλογος, επαναφόρτωση, οπτικοποίηση). Two kinds can be told from the word
// alone, by grammar:
// - a prefix (one of the productive ones: υπο-, υπερ-, επανα-, απο-, ...) does
//   not change how its head declines, so a word that such a prefix opens and
//   whose rest is a form of exactly one noun of the lexicon is a form of that
//   noun with the prefix: υποέγγραφα of υποέγγραφο. A head in -ος accented on
//   its penult takes the compound's accent on the antepenult (τύπος, υπότυπος).
//   Heads that are participles (-μενος, -μενο) or adjectives in -ικός, and
//   gerunds (-οντας, -ώντας), are left alone: the prefixed verb or adjective
//   makes those words, not the noun;
// - some suffixes make nouns only (-ποίηση, -ότητα, -ύτητα, -ισμός), so a
//   candidate base form that ends in one of them, on a stem of two syllables or
//   more, is a noun whatever its stem: οπτικοποίησης of οπτικοποίηση. One with
//   a second accent is words run together (ομάδαομαδοποίηση), and gives none.
// Only words that credit no noun of the lexicon are looked at, and each credits
// the noun made from it once. The report then holds nouns that the lexicon does
// not, so the program does this only when asked to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_table.h"
#include "lexicon/ending_index.h"
#include "lexicon/ending_table.h"
#include "lexicon/noun_crediting.h"

namespace tavro {

class NounDeriver {
  public:
    // Both are kept by reference and must outlive the deriver.
    NounDeriver(const WordTable& nouns, const std::vector<EndingGroup>& table);

    // The noun that `word` (folded) is a form of, made as above; empty when the
    // word gives none. A word that credits a noun of the lexicon gives none.
    std::string DerivedNoun(std::string_view word) const;

  private:
    bool CreditsAnyNoun(std::string_view word) const;
    std::string WithSuffixNoun(std::string_view word) const;
    std::string WithPrefixNoun(std::string_view word) const;
    // The one noun of the lexicon that `head` credits; empty when none or several.
    std::string OnlyNounOf(std::string_view head) const;

    const WordTable& m_nouns;
    const std::vector<EndingGroup>& m_table;
    EndingIndex m_endings;
};

// For Find Base Form: the noun made from the text `typed` (folded first) when
// no candidate of it is a noun of `nouns`; empty otherwise.
std::string DerivedNounOfTyped(std::string_view typed, const WordTable& nouns,
                               const std::vector<EndingGroup>& table);

// The nouns of a run with those made from its words: `nouns` with every noun
// that `deriver` makes from a word of `words` that `credits` gives no noun. Each
// such word then credits its noun, and every credit is renumbered to a position
// in the table returned (whose counts are all 0). Without any such word the
// table returned is empty and `credits` are left as they were. The words are
// looked at on up to `threads` threads (0: every core); the result does not
// depend on it.
WordTable AddDerivedNouns(const WordTable& words, const WordTable& nouns,
                          const NounDeriver& deriver, WordCredits& credits, int threads = 0);

}  // namespace tavro
