#include "report/corpus_stats.h"

#include <cstdio>
#include <utility>

namespace tavro {
namespace {

std::string Whole(std::uint64_t value) { return std::to_string(value); }

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

std::string FormatStats(const CorpusStats& stats) {
    const std::pair<const char*, std::string> rows[] = {
        {"files", Whole(stats.files)},
        {"bytes", Whole(stats.bytes)},
        {"tokens", Whole(stats.tokens)},
        {"types", Whole(stats.types)},
        {"type/token ratio", Fixed(stats.typeTokenRatio, 4)},
        {"STTR (1,000-token windows)",
         stats.sttr ? Fixed(*stats.sttr, 4) + " over " + Whole(stats.sttrWindows) +
                          (stats.sttrWindows == 1 ? " window" : " windows")
                    : std::string("n/a")},
        {"noun tokens", Whole(stats.nounTokens)},
        {"noun types", Whole(stats.nounTypes)},
        {"share of tokens credited", Fixed(100 * stats.nounTokenShare, 2) + "%"},
        {"nouns credited", Whole(stats.nounsCredited)},
        {"ambiguous words", Whole(stats.ambiguousWords)},
        {"ambiguous tokens", Whole(stats.ambiguousTokens)},
        {"bad sequences", Whole(stats.badSequences)},
    };
    std::string text;
    const auto add = [&text](const char* name, const std::string& value) {
        std::string line = name;
        line.resize(28, ' ');
        text.append(line).append(value).append("\n");
    };
    for (const auto& [name, value] : rows) add(name, value);
    if (stats.derivedNouns) {
        add("nouns derived", Whole(*stats.derivedNouns));
        add("tokens crediting them", Whole(stats.derivedTokens));
    }
    return text;
}

}  // namespace tavro
