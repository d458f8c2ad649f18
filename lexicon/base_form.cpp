#include "lexicon/base_form.h"

namespace tavro {

std::optional<BaseFormHit> FindBaseForm(std::string_view word,
                                        const std::vector<EndingGroup>& table,
                                        const WordNode* nounTree) {
    std::optional<BaseFormHit> hit;
    bool first = true;
    ForEachBaseFormCandidate(word, table, [&](const std::string& candidate) {
        if (FindWord(nounTree, candidate)) {
            hit = BaseFormHit{candidate, first};
            return false;
        }
        first = false;
        return true;
    });
    return hit;
}

std::string BaseFormMessage(std::string_view typed, const std::vector<EndingGroup>& table,
                            const WordNode* nounTree) {
    if (typed.empty()) return {};
    const WordEntry word(typed, 0);
    const std::optional<BaseFormHit> hit = FindBaseForm(word.word, table, nounTree);
    std::string message = "The base form of the word '";
    message += typed;
    if (!hit) return message + "' could not be found.";
    message += "' is '";
    message += hit->isWordItself ? std::string(typed) : hit->baseForm;
    return message + "'.";
}

}  // namespace tavro
