// How well a lexicon and an inflection table find nouns: scores on known
// (form, lemma) pairs and on a counted corpus.
//
// Every figure comes from the engine's own analysis (ForEachBaseFormCandidate and
// FindBaseForm), so it measures exactly what the program will do with the data.
// A pair scores against the form's candidates that the lexicon holds ("credits",
// counted as often as the processing run counts them). A credit is right when it
// goes to a lemma that the pair file gives for that form (a homograph form may
// have several). A credit that repeats a noun the same form already credited is
// counted apart as well, since it double-counts in a report. All text is cp1253;
// nothing here fails.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_table.h"
#include "lexicon/ending_table.h"

namespace tavro::eval {

struct FormLemmaPair {
    std::string form;
    std::string lemma;
};

// The pairs of a `form<TAB>lemma` file (LF or CR LF line ends, blank lines
// skipped; both words folded as the program folds them), or, for a line without
// exactly one tab, nothing and `error` naming the line.
std::optional<std::vector<FormLemmaPair>> ParsePairs(std::string_view text, std::string& error);

// The candidates of `word` that the lexicon holds, in candidate order, repeated
// as often as the processing run would credit them.
std::vector<std::string> CreditedNouns(std::string_view word, const std::vector<EndingGroup>& table,
                                       const WordTable& nouns);

// The verdict on one pair.
struct PairResult {
    std::string topAnswer;             // Find Base Form's noun, empty on a miss
    std::vector<std::string> credits;  // as CreditedNouns
    bool topIsLemma = false;
    bool lemmaCredited = false;
    std::int64_t rightCredits = 0;
    std::int64_t wrongCredits = 0;
    std::int64_t repeatedCredits = 0;  // credits to a noun this form already credited
};

struct PairScores {
    std::int64_t pairs = 0;
    std::int64_t topHits = 0;   // pairs whose Find Base Form answer is the lemma
    std::int64_t recalled = 0;  // pairs whose lemma is credited
    std::int64_t credits = 0;   // all credits of all pairs
    std::int64_t rightCredits = 0;
    std::int64_t repeatedCredits = 0;
    std::int64_t pairsWithWrongCredit = 0;
    std::int64_t pairsWithRepeatedCredit = 0;
    std::vector<FormLemmaPair> misses;    // pairs not perfect on every count, in file order
    std::vector<PairResult> missResults;  // the verdicts of `misses`

    double TopOne() const { return Share(topHits, pairs); }
    double Recall() const { return Share(recalled, pairs); }
    double Precision() const { return Share(rightCredits, credits); }
    double WrongCreditShare() const { return Share(pairsWithWrongCredit, pairs); }
    // Precision when a repeated credit counts as wrong.
    double StrictPrecision() const {
        return Share(rightCredits - std::min(repeatedCredits, rightCredits), credits);
    }
    static double Share(std::int64_t part, std::int64_t whole) {
        return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
    }
};

// Scores every pair; the right lemmas of a pair are all lemmas given for its form.
PairScores ScorePairs(const std::vector<FormLemmaPair>& pairs,
                      const std::vector<EndingGroup>& table, const WordTable& nouns);

struct CreditedNoun {
    std::string noun;
    std::int64_t count = 0;
};

struct CorpusScores {
    std::int64_t tokens = 0;       // every word token the program counted
    std::int64_t crediting = 0;    // tokens whose word credits at least one noun
    std::int64_t greekTokens = 0;  // tokens with at least one Greek letter
    std::int64_t greekCrediting = 0;
    std::int64_t distinctWords = 0;
    std::int64_t nounsMet = 0;           // nouns with a nonzero count
    std::vector<CreditedNoun> topNouns;  // by count, then word order

    double CreditingShare() const { return PairScores::Share(crediting, tokens); }
    double GreekCreditingShare() const { return PairScores::Share(greekCrediting, greekTokens); }
};

// The figures of a finished processing run: `words` holds the counted words,
// `nouns` the credited counts. `top` bounds the length of the noun list.
CorpusScores ScoreCorpus(const WordTable& words, const WordTable& nouns,
                         const std::vector<EndingGroup>& table, std::size_t top);

}  // namespace tavro::eval
