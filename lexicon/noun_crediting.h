// Crediting the nouns of a run: every candidate of every distinct word that the
// lexicon holds receives the word's count, once per time it is met, so a noun
// reached twice from one word is credited twice.
//
// Each distinct word is analysed once. The words are shared out among threads;
// each share records the credits of its own words, so memory grows with the
// credits made, not with the number of threads. Finding the credits changes
// nothing; AddCredits then adds them to the nouns' counts, so that a run that
// fails half-way leaves the counts of the last run as they were.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "corpus/word_table.h"
#include "lexicon/accent_restoring.h"
#include "lexicon/ending_table.h"

namespace tavro {

class NounDeriver;

// For every word of a run's table, the positions in the noun table of the nouns
// its candidates reached, in candidate order, repeats kept.
class WordCredits {
  public:
    std::size_t WordCount() const { return m_offsets.empty() ? 0 : m_offsets.size() - 1; }
    std::span<const std::uint32_t> Of(std::size_t word) const {
        return {m_nouns.data() + m_offsets[word], m_offsets[word + 1] - m_offsets[word]};
    }
    std::size_t size() const { return m_nouns.size(); }
    // Moves every credit to another noun table: position p becomes `to[p]`.
    void Renumber(std::span<const std::uint32_t> to) {
        for (std::uint32_t& noun : m_nouns) noun = to[noun];
    }

  private:
    friend WordCredits CreditNouns(const WordTable&, const WordTable&,
                                   const std::vector<EndingGroup>&, int, const AccentRestorer*);
    friend WordTable AddDerivedNouns(const WordTable&, const WordTable&, const NounDeriver&,
                                     WordCredits&, int);
    std::vector<std::size_t> m_offsets;  // word w's credits are [m_offsets[w], m_offsets[w + 1])
    std::vector<std::uint32_t> m_nouns;
};

// The nouns of `nouns` that each word of `words` credits (`table` is the
// inflection table), found on up to `threads` threads (0: every core). With
// `restoring`, a word that credits no noun but may lack its accent credits the
// one noun it matches up to accents, once (accent_restoring.h).
WordCredits CreditNouns(const WordTable& words, const WordTable& nouns,
                        const std::vector<EndingGroup>& table, int threads,
                        const AccentRestorer* restoring = nullptr);

// Adds every word's count to each noun it credits, once per credit.
void AddCredits(const WordCredits& credits, const WordTable& words, WordTable& nouns);

}  // namespace tavro
