// libFuzzer target: the base-form analysis of one word.
//
// The input is a word, and optionally, after a 1E byte, an inflection table and,
// after another, a lexicon (the bundled ones otherwise). Checks: the candidates
// found through the ending index are those of the plain walk over the table, in
// the same order, and the first is the word; FindBaseForm finds the first
// candidate the lexicon holds; the Find Base Form answer, with and without
// matching up to accents, is empty exactly for an empty word.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corpus/word_entry.h"
#include "fuzz/fuzz_support.h"
#include "lexicon/accent_restoring.h"
#include "lexicon/base_form.h"
#include "lexicon/ending_index.h"
#include "lexicon/noun_lexicon.h"

namespace {

constexpr char kSectionEnd = '\x1E';

const tavro::AccentRestorer& BundledRestorer() {
    static const tavro::AccentRestorer restorer(tavro::fuzz::BundledNouns(),
                                                tavro::fuzz::BundledTable());
    return restorer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavro;
    using fuzz::Check;
    const std::vector<std::string> sections =
        fuzz::SplitAt({reinterpret_cast<const char*>(data), size}, kSectionEnd);
    const std::string& typed = sections[0];
    const std::string word = FoldGreek(typed);

    std::vector<EndingGroup> ownTable;
    if (sections.size() > 1) ownTable = ParseConjugationText(sections[1]);
    const std::vector<EndingGroup>& table = sections.size() > 1 ? ownTable : fuzz::BundledTable();
    WordTable ownNouns;
    if (sections.size() > 2) ownNouns = WordTable::FromEntries(LexiconEntries(sections[2]));
    const WordTable& nouns = sections.size() > 2 ? ownNouns : fuzz::BundledNouns();

    std::vector<std::string> plain;
    ForEachBaseFormCandidate(word, table, [&](const std::string& candidate) {
        plain.push_back(candidate);
        return true;
    });
    Check(!plain.empty() && plain.front() == word);
    const EndingIndex index(table);
    std::size_t at = 0;
    ForEachBaseFormCandidate(word, table, index, [&](const std::string& candidate) {
        Check(at < plain.size() && plain[at] == candidate);
        ++at;
        return true;
    });
    Check(at == plain.size());

    const std::optional<BaseFormHit> hit = FindBaseForm(word, table, nouns);
    std::size_t first = 0;
    while (first < plain.size() && !FindWord(nouns, plain[first])) ++first;
    Check(hit.has_value() == (first < plain.size()));
    if (hit) {
        Check(hit->baseForm == plain[first]);
        Check(hit->isWordItself == (first == 0));
    }

    std::unique_ptr<AccentRestorer> ownRestorer;
    const AccentRestorer* restorer = nullptr;
    if (sections.size() > 2) {
        ownRestorer = std::make_unique<AccentRestorer>(nouns, table);
        restorer = ownRestorer.get();
    } else if (sections.size() == 1) {
        restorer = &BundledRestorer();
    }
    if (restorer != nullptr) {
        for (const RestoredMatch match : {RestoredMatch::kOnlyNoun, RestoredMatch::kFirstNoun}) {
            const std::uint32_t noun = restorer->Find(word, match);
            Check(noun == WordTable::kNotFound || noun < nouns.size());
        }
    }
    Check(BaseFormMessage(typed, table, nouns).empty() == typed.empty());
    Check(BaseFormMessage(typed, table, nouns, restorer).empty() == typed.empty());
    return 0;
}
