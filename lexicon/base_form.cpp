#include "lexicon/base_form.h"

namespace tavro {

std::optional<BaseFormHit> FindBaseForm(std::string_view word,
                                        const std::vector<EndingGroup>& table,
                                        const WordTable& nouns) {
    std::optional<BaseFormHit> hit;
    bool first = true;
    ForEachBaseFormCandidate(word, table, [&](const std::string& candidate) {
        if (FindWord(nouns, candidate)) {
            hit = BaseFormHit{candidate, first};
            return false;
        }
        first = false;
        return true;
    });
    return hit;
}

std::string BaseFormMessage(std::string_view typed, const std::vector<EndingGroup>& table,
                            const WordTable& nouns, const AccentRestorer* restoring) {
    if (typed.empty()) return {};
    const WordEntry word(typed, 0);
    std::optional<BaseFormHit> hit = FindBaseForm(word.word, table, nouns);
    if (!hit && restoring != nullptr && MayLackItsAccent(word.word)) {
        const std::uint32_t noun = restoring->Find(word.word, RestoredMatch::kFirstNoun);
        if (noun != WordTable::kNotFound) hit = BaseFormHit{nouns[noun].word, false};
    }
    std::string message = "The base form of the word '";
    message += typed;
    if (!hit) return message + "' could not be found.";
    message += "' is '";
    message += hit->isWordItself ? std::string(typed) : hit->baseForm;
    return message + "'.";
}

}  // namespace tavro
