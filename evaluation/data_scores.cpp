#include "evaluation/data_scores.h"

#include <algorithm>
#include <unordered_map>

#include "corpus/char_classes.h"
#include "lexicon/base_form.h"

namespace tavro::eval {
namespace {

bool HasGreekLetter(std::string_view word) {
    return std::any_of(word.begin(), word.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return IsVowel(b) || IsConsonant(b);
    });
}

}  // namespace

std::optional<std::vector<FormLemmaPair>> ParsePairs(std::string_view text, std::string& error) {
    std::vector<FormLemmaPair> pairs;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos ||
            tab == 0 || tab + 1 == line.size()) {
            error = "line " + std::to_string(lineNumber) + ": expected form<TAB>lemma";
            return std::nullopt;
        }
        pairs.push_back({FoldGreek(line.substr(0, tab)), FoldGreek(line.substr(tab + 1))});
    }
    return pairs;
}

std::vector<std::string> CreditedNouns(std::string_view word, const std::vector<EndingGroup>& table,
                                       const WordTable& nouns) {
    std::vector<std::string> credits;
    ForEachBaseFormCandidate(word, table, [&](const std::string& candidate) {
        if (FindWord(nouns, candidate)) credits.push_back(candidate);
        return true;
    });
    return credits;
}

PairScores ScorePairs(const std::vector<FormLemmaPair>& pairs,
                      const std::vector<EndingGroup>& table, const WordTable& nouns) {
    std::unordered_map<std::string, std::vector<std::string>> lemmasOfForm;
    for (const FormLemmaPair& pair : pairs) lemmasOfForm[pair.form].push_back(pair.lemma);

    PairScores scores;
    for (const FormLemmaPair& pair : pairs) {
        const std::vector<std::string>& rightLemmas = lemmasOfForm[pair.form];
        PairResult result;
        if (const auto hit = FindBaseForm(pair.form, table, nouns))
            result.topAnswer = hit->baseForm;
        result.credits = CreditedNouns(pair.form, table, nouns);
        result.topIsLemma = result.topAnswer == pair.lemma;
        std::vector<std::string> seen;
        for (const std::string& noun : result.credits) {
            if (std::find(rightLemmas.begin(), rightLemmas.end(), noun) != rightLemmas.end()) {
                ++result.rightCredits;
            } else {
                ++result.wrongCredits;
            }
            if (std::find(seen.begin(), seen.end(), noun) != seen.end()) {
                ++result.repeatedCredits;
            } else {
                seen.push_back(noun);
            }
            if (noun == pair.lemma) result.lemmaCredited = true;
        }

        ++scores.pairs;
        scores.topHits += result.topIsLemma ? 1 : 0;
        scores.recalled += result.lemmaCredited ? 1 : 0;
        scores.credits += result.rightCredits + result.wrongCredits;
        scores.rightCredits += result.rightCredits;
        scores.repeatedCredits += result.repeatedCredits;
        scores.pairsWithWrongCredit += result.wrongCredits > 0 ? 1 : 0;
        scores.pairsWithRepeatedCredit += result.repeatedCredits > 0 ? 1 : 0;
        if (!result.topIsLemma || !result.lemmaCredited || result.wrongCredits > 0 ||
            result.repeatedCredits > 0) {
            scores.misses.push_back(pair);
            scores.missResults.push_back(std::move(result));
        }
    }
    return scores;
}

CorpusScores ScoreCorpus(const WordTable& words, const WordTable& nouns,
                         const std::vector<EndingGroup>& table, std::size_t top) {
    CorpusScores scores;
    for (const WordEntry& word : words.Entries()) {
        bool credits = false;
        ForEachBaseFormCandidate(word.word, table, [&](const std::string& candidate) {
            credits = FindWord(nouns, candidate);
            return !credits;
        });
        const bool greek = HasGreekLetter(word.word);
        ++scores.distinctWords;
        scores.tokens += word.count;
        scores.greekTokens += greek ? word.count : 0;
        scores.crediting += credits ? word.count : 0;
        scores.greekCrediting += credits && greek ? word.count : 0;
    }

    std::vector<CreditedNoun> met;
    for (const WordEntry& noun : nouns.Entries()) {
        if (noun.count != 0) met.push_back({noun.word, noun.count});
    }
    scores.nounsMet = static_cast<std::int64_t>(met.size());
    // The stable sort keeps word order among equal counts.
    std::stable_sort(met.begin(), met.end(), [](const CreditedNoun& a, const CreditedNoun& b) {
        return a.count > b.count;
    });
    if (met.size() > top) met.resize(top);
    scores.topNouns = std::move(met);
    return scores;
}

}  // namespace tavro::eval
