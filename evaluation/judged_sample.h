// Scores a judged sample of credits on real text: a UTF-8 TSV, one header line,
// one row per credit of a sampled token (or one row with an empty noun for a
// token that credits nothing), the columns named by the header: `item` (the
// token's number; its rows are adjacent), `weight` (the corpus tokens it stands
// for), `word`, `noun`, `verdict` (for a credit `right`, `wrong` or `context`; for
// a token without credit `noun`, `not-noun` or `context`), `lemma` (the noun the
// token is a form of, empty when it is none) and `reason` (for a wrong verdict,
// what the token is instead). Other columns are carried and ignored.
//
// Precision is the weight of right credits over that of right and wrong ones;
// token recall is the weight of noun tokens (a lemma given) with a right credit
// over that of all noun tokens, tokens the context cannot decide left out. Each
// comes with a 95% Wilson interval on the effective sample size of the weighted
// rows, (sum w)^2 / sum w^2.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro::eval {

struct JudgedRow {
    std::string item;
    double weight = 0;
    std::string word;  // UTF-8, as in the file
    std::string noun;
    std::string verdict;
    std::string lemma;
    std::string reason;
};

// The rows of a judged sample, or nothing and `error` naming the line.
std::optional<std::vector<JudgedRow>> ParseJudgedSample(std::string_view text, std::string& error);

struct WeightedShare {
    double share = 0;
    double effectiveSize = 0;  // (sum w)^2 / sum w^2
    int rows = 0;
    double low = 0;  // the 95% Wilson interval
    double high = 0;
};

struct JudgedScores {
    WeightedShare precision;
    WeightedShare recall;
    int tokens = 0;
    int missedNounTokens = 0;                // noun tokens without a right credit
    std::map<std::string, int> wrongByKind;  // the reason up to its first ':' or " ("
};

JudgedScores ScoreJudgedSample(const std::vector<JudgedRow>& rows);

// The 95% Wilson interval of `share` on a sample of size `n`.
std::pair<double, double> WilsonInterval(double share, double n);

}  // namespace tavro::eval
