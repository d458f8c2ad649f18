// Base-form analysis: the base forms an inflected word may come from.
//
// The candidates of a folded word W are, in this order: W itself; then, for every
// group of the inflection table whose ending closes W (earlier lines first), the
// stem followed by each replacement ending in line order, accent-shifted as the
// replacement asks. Candidates are not de-duplicated. The order decides which noun
// Find Base Form reports; a processing run credits every candidate that is a noun.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_table.h"
#include "lexicon/accent.h"
#include "lexicon/accent_restoring.h"
#include "lexicon/ending_index.h"
#include "lexicon/ending_table.h"

namespace tavro {

namespace detail {

// True when `word` ends with `ending`.
inline bool EndsWith(std::string_view word, const std::string& ending) {
    if (word.size() < ending.size()) return false;
    const char* tail = word.data() + (word.size() - ending.size());
    for (std::size_t i = ending.size(); i > 0; --i) {
        if (tail[i - 1] != ending[i - 1]) return false;
    }
    return true;
}

// Visits the candidates of one group that closes `word`; false when told to stop.
template <typename Visitor>
bool VisitGroup(std::string_view word, const EndingGroup& group, std::string& candidate,
                Visitor& visit) {
    const std::string_view stem = word.substr(0, word.size() - group.front().text.size());
    for (std::size_t t = 1; t < group.size(); ++t) {
        candidate.assign(stem);
        candidate += group[t].text;
        ShiftAccent(candidate, group[t].accentShift);
        if (!visit(static_cast<const std::string&>(candidate))) return false;
    }
    return true;
}

}  // namespace detail

// Calls `visit(const std::string& candidate)` for each candidate of `word` in order
// until it returns false.
template <typename Visitor>
void ForEachBaseFormCandidate(std::string_view word, const std::vector<EndingGroup>& table,
                              Visitor&& visit) {
    std::string candidate(word);
    if (!visit(static_cast<const std::string&>(candidate))) return;
    for (const EndingGroup& group : table) {
        if (group.empty() || !detail::EndsWith(word, group.front().text)) continue;
        if (!detail::VisitGroup(word, group, candidate, visit)) return;
    }
}

// The same candidates in the same order, testing only the groups that `index`
// (built from `table`) says can close the word.
template <typename Visitor>
void ForEachBaseFormCandidate(std::string_view word, const std::vector<EndingGroup>& table,
                              const EndingIndex& index, Visitor&& visit) {
    std::string candidate(word);
    if (!visit(static_cast<const std::string&>(candidate))) return;
    for (const std::uint32_t g : index.GroupsFor(word)) {
        const EndingGroup& group = table[g];
        if (!detail::EndsWith(word, group.front().text)) continue;
        if (!detail::VisitGroup(word, group, candidate, visit)) return;
    }
}

struct BaseFormHit {
    std::string baseForm;  // the candidate found in the lexicon
    bool isWordItself;     // found as the word itself, before any ending was tried
};

// The first candidate of `word` that the lexicon holds, or nothing.
std::optional<BaseFormHit> FindBaseForm(std::string_view word,
                                        const std::vector<EndingGroup>& table,
                                        const WordTable& nouns);

// The Find Base Form answer for the text `typed` (cp1253, as typed): the word is
// folded, analysed, and the answer quotes `typed` unfolded and a found candidate as
// built. Empty for empty `typed`, which gets no answer. With `restoring`, a word
// that is found nowhere but may lack its accent is answered with the noun its
// first candidate to match one up to accents matches (accent_restoring.h).
std::string BaseFormMessage(std::string_view typed, const std::vector<EndingGroup>& table,
                            const WordTable& nouns, const AccentRestorer* restoring = nullptr);

}  // namespace tavro
