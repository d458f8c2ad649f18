#include "tests/reference_run.h"

#include <algorithm>
#include <map>

#include "corpus/char_classes.h"
#include "corpus/text_mode.h"
#include "lexicon/base_form.h"
#include "lexicon/noun_lexicon.h"

namespace tavro::testing {
namespace {

using Counts = std::map<std::string, Count>;

void CountLine(std::string_view line, Counts& words) {
    line = line.substr(0, line.find('\0'));
    std::string token;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && IsWordChar(static_cast<unsigned char>(line[i]))) {
            token += ToLowerGreek(line[i]);
        } else if (!token.empty()) {
            ++words[token];
            token.clear();
        }
    }
}

void CountFile(const std::string& contents, Counts& words) {
    const std::string text = TextModeContents(contents);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        CountLine(std::string_view(text).substr(start, end - start), words);
        start = end + 1;
    }
}

std::string Render(const Counts& counts, bool sortByFrequency) {
    std::vector<std::pair<std::string, Count>> lines(counts.begin(), counts.end());
    if (sortByFrequency) {
        std::stable_sort(lines.begin(), lines.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
    }
    std::string report;
    for (const auto& [word, count] : lines) {
        if (count != 0) report += word + ' ' + std::to_string(count) + '\n';
    }
    return report;
}

}  // namespace

std::string ReferenceReport(const ReferenceData& data, const std::vector<std::string>& files,
                            bool showAllWords, bool sortByFrequency) {
    Counts nouns;
    for (const std::string& line : SplitLexiconLines(data.lexicon)) nouns[FoldGreek(line)] = 0;
    const std::vector<EndingGroup> table = ParseConjugationText(TextModeContents(data.conjugation));

    Counts words;
    for (const std::string& contents : files) CountFile(contents, words);

    for (const auto& [word, count] : words) {
        ForEachBaseFormCandidate(word, table, [&](const std::string& candidate) {
            if (const auto noun = nouns.find(candidate); noun != nouns.end()) noun->second += count;
            return true;
        });
    }
    return Render(showAllWords ? words : nouns, sortByFrequency);
}

}  // namespace tavro::testing
