#include "evaluation/judged_sample.h"

#include <charconv>
#include <cmath>

namespace tavro::eval {
namespace {

constexpr double kZ = 1.959964;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

WeightedShare Weighted(const std::vector<std::pair<double, bool>>& rows) {
    WeightedShare result;
    double total = 0, squares = 0, hits = 0;
    for (const auto& [weight, hit] : rows) {
        total += weight;
        squares += weight * weight;
        hits += hit ? weight : 0;
    }
    result.rows = static_cast<int>(rows.size());
    if (total <= 0) return result;
    result.share = hits / total;
    result.effectiveSize = total * total / squares;
    std::tie(result.low, result.high) = WilsonInterval(result.share, result.effectiveSize);
    return result;
}

std::string KindOf(const std::string& reason) {
    return reason.substr(0, std::min(reason.find(':'), reason.find(" (")));
}

}  // namespace

std::pair<double, double> WilsonInterval(double share, double n) {
    if (n <= 0) return {0, 0};
    const double z2 = kZ * kZ;
    const double centre = (share + z2 / (2 * n)) / (1 + z2 / n);
    const double half = kZ * std::sqrt(share * (1 - share) / n + z2 / (4 * n * n)) / (1 + z2 / n);
    return {centre - half, centre + half};
}

std::optional<std::vector<JudgedRow>> ParseJudgedSample(std::string_view text, std::string& error) {
    const std::vector<std::string_view> lines = Lines(text);
    if (lines.empty()) {
        error = "line 1: no header";
        return std::nullopt;
    }
    const std::vector<std::string_view> header = Fields(lines[0]);
    std::map<std::string_view, std::size_t> column;
    for (std::size_t c = 0; c < header.size(); ++c) column[header[c]] = c;
    for (const char* name : {"item", "weight", "word", "noun", "verdict", "lemma", "reason"}) {
        if (column.count(name) == 0) {
            error = std::string("line 1: no column '") + name + "'";
            return std::nullopt;
        }
    }
    std::vector<JudgedRow> rows;
    for (std::size_t l = 1; l < lines.size(); ++l) {
        if (lines[l].empty()) continue;
        const std::vector<std::string_view> fields = Fields(lines[l]);
        const auto field = [&](const char* name) { return std::string(fields[column[name]]); };
        if (fields.size() != header.size()) {
            error = "line " + std::to_string(l + 1) + ": " + std::to_string(fields.size()) +
                    " fields where the header has " + std::to_string(header.size());
            return std::nullopt;
        }
        JudgedRow row{
            field("item"),  0, field("word"), field("noun"), field("verdict"), field("lemma"),
            field("reason")};
        const std::string weight = field("weight");
        const auto [end, failed] =
            std::from_chars(weight.data(), weight.data() + weight.size(), row.weight);
        if (failed != std::errc() || end != weight.data() + weight.size() || row.weight <= 0) {
            error = "line " + std::to_string(l + 1) + ": the weight '" + weight +
                    "' is no positive number";
            return std::nullopt;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

JudgedScores ScoreJudgedSample(const std::vector<JudgedRow>& rows) {
    JudgedScores scores;
    std::vector<std::pair<double, bool>> credits;
    struct Token {
        double weight = 0;
        bool noun = false;
        bool right = false;
        bool undecided = false;
    };
    std::map<std::string, Token> tokens;
    for (const JudgedRow& row : rows) {
        if (!row.noun.empty() && (row.verdict == "right" || row.verdict == "wrong")) {
            credits.push_back({row.weight, row.verdict == "right"});
        }
        if (row.verdict == "wrong") ++scores.wrongByKind[KindOf(row.reason)];
        Token& token = tokens[row.item];
        token.weight = row.weight;
        token.noun = token.noun || !row.lemma.empty();
        token.right = token.right || row.verdict == "right";
        token.undecided = token.undecided || (row.verdict == "context" && row.lemma.empty());
    }
    std::vector<std::pair<double, bool>> nounTokens;
    for (const auto& [item, token] : tokens) {
        if (!token.noun || token.undecided) continue;
        nounTokens.push_back({token.weight, token.right});
        scores.missedNounTokens += token.right ? 0 : 1;
    }
    scores.precision = Weighted(credits);
    scores.recall = Weighted(nounTokens);
    scores.tokens = static_cast<int>(tokens.size());
    return scores;
}

}  // namespace tavro::eval
