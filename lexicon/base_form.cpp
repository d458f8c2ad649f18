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
                            const WordTable& nouns) {
    if (typed.empty()) return {};
    const WordEntry word(typed, 0);
    const std::optional<BaseFormHit> hit = FindBaseForm(word.word, table, nouns);
    std::string message = "The base form of the word '";
    message += typed;
    if (!hit) return message + "' could not be found.";
    message += "' is '";
    message += hit->isWordItself ? std::string(typed) : hit->baseForm;
    return message + "'.";
}

}  // namespace tavro
