#include "report/run_analysis.h"

#include <algorithm>

namespace tavro {
namespace {

// The distinct nouns among `credits` (a repeated candidate counts once), ascending.
void DistinctNouns(std::span<const std::uint32_t> credits, std::vector<std::uint32_t>& nouns) {
    nouns.assign(credits.begin(), credits.end());
    std::sort(nouns.begin(), nouns.end());
    nouns.erase(std::unique(nouns.begin(), nouns.end()), nouns.end());
}

// Per noun position, the words (positions, ascending) that credited it.
struct FormsOfNouns {
    std::vector<std::size_t> offsets;  // one more than the nouns
    std::vector<std::uint32_t> words;
};

FormsOfNouns CollectForms(const WordCredits& credits, std::size_t nounCount) {
    FormsOfNouns forms;
    forms.offsets.assign(nounCount + 1, 0);
    std::vector<std::uint32_t> distinct;
    for (std::size_t w = 0; w < credits.WordCount(); ++w) {
        DistinctNouns(credits.Of(w), distinct);
        for (const std::uint32_t noun : distinct) ++forms.offsets[noun + 1];
    }
    for (std::size_t n = 0; n < nounCount; ++n) forms.offsets[n + 1] += forms.offsets[n];
    forms.words.resize(forms.offsets.back());
    std::vector<std::size_t> next(forms.offsets.begin(), forms.offsets.end() - 1);
    for (std::size_t w = 0; w < credits.WordCount(); ++w) {
        DistinctNouns(credits.Of(w), distinct);
        for (const std::uint32_t noun : distinct) {
            forms.words[next[noun]++] = static_cast<std::uint32_t>(w);
        }
    }
    return forms;
}

}  // namespace

double PerMillion(Count count, std::uint64_t tokens) {
    if (tokens == 0) return 0;
    return static_cast<double>(count) * 1e6 / static_cast<double>(tokens);
}

RunAnalysis RunAnalysis::Build(const RunFacts& facts) {
    RunAnalysis analysis;
    const WordTable& words = *facts.words;
    const WordCredits& credits = *facts.credits;
    const WordTable& nouns = *facts.nouns;
    const WordFiles* files =
        facts.files != nullptr && !facts.files->empty() ? facts.files : nullptr;
    analysis.m_hasFiles = files != nullptr;
    CorpusStats& stats = analysis.m_stats;
    stats.files = facts.inputFiles;
    stats.bytes = facts.bytes;
    stats.badSequences = facts.badSequences;
    stats.types = words.size();
    for (const WordEntry& entry : words.Entries())
        stats.tokens += static_cast<std::uint64_t>(entry.count);
    if (stats.tokens != 0) {
        stats.typeTokenRatio = static_cast<double>(stats.types) / static_cast<double>(stats.tokens);
    }
    if (facts.windows) {
        stats.sttr = facts.windows->Sttr();
        stats.sttrWindows = facts.windows->windows;
    }

    // The nouns' counts as the report has them, and their sure counts.
    std::vector<Count> counts(nouns.size(), 0);
    std::vector<Count> sure(nouns.size(), 0);
    std::vector<std::uint32_t> distinct;
    const bool credited = credits.WordCount() == words.size();
    for (std::size_t w = 0; credited && w < words.size(); ++w) {
        const Count count = words[w].count;
        for (const std::uint32_t noun : credits.Of(w)) counts[noun] += count;
        DistinctNouns(credits.Of(w), distinct);
        if (distinct.empty()) continue;
        ++stats.nounTypes;
        stats.nounTokens += static_cast<std::uint64_t>(count);
        if (distinct.size() == 1) {
            sure[distinct.front()] += count;
        } else {
            ++stats.ambiguousWords;
            stats.ambiguousTokens += static_cast<std::uint64_t>(count);
        }
    }
    if (stats.tokens != 0) {
        stats.nounTokenShare =
            static_cast<double>(stats.nounTokens) / static_cast<double>(stats.tokens);
    }

    const FormsOfNouns forms =
        credited ? CollectForms(credits, nouns.size())
                 : FormsOfNouns{{std::vector<std::size_t>(nouns.size() + 1, 0)}, {}};
    std::uint32_t fileUniverse = 0;
    for (std::size_t w = 0; files != nullptr && w < files->WordCount(); ++w) {
        const auto of = files->Of(w);
        if (!of.empty()) fileUniverse = std::max(fileUniverse, of.back() + 1);
    }
    std::vector<std::uint32_t> fileMark(fileUniverse, 0);
    std::vector<std::uint32_t> rowOfNoun(nouns.size(), 0);
    for (std::size_t n = 0; n < nouns.size(); ++n) {
        if (counts[n] == 0) continue;
        rowOfNoun[n] = static_cast<std::uint32_t>(analysis.m_nouns.size());
        NounRow row;
        row.noun = nouns[n].word;
        row.count = counts[n];
        row.sureCount = sure[n];
        row.perMillion = PerMillion(row.count, stats.tokens);
        row.derived =
            facts.lexicon != nullptr && facts.lexicon->Find(row.noun) == WordTable::kNotFound;
        if (row.derived) stats.derivedTokens += static_cast<std::uint64_t>(row.count);
        const std::span<const std::uint32_t> formWords(forms.words.data() + forms.offsets[n],
                                                       forms.offsets[n + 1] - forms.offsets[n]);
        row.forms.reserve(formWords.size());
        for (const std::uint32_t w : formWords)
            row.forms.push_back({words[w].word, words[w].count});
        std::stable_sort(row.forms.begin(), row.forms.end(),
                         [](const FormCount& a, const FormCount& b) { return a.count > b.count; });
        if (files != nullptr) {
            std::uint32_t inFiles = 0;
            for (const std::uint32_t w : formWords) {
                for (const std::uint32_t file : files->Of(w)) {
                    if (fileMark[file] == n + 1) continue;
                    fileMark[file] = static_cast<std::uint32_t>(n + 1);
                    ++inFiles;
                }
            }
            row.files = inFiles;
        }
        analysis.m_nouns.push_back(std::move(row));
    }
    stats.nounsCredited = analysis.m_nouns.size();
    if (facts.lexicon != nullptr) {
        stats.derivedNouns = std::count_if(analysis.m_nouns.begin(), analysis.m_nouns.end(),
                                           [](const NounRow& row) { return row.derived; });
    }

    analysis.m_words.resize(words.size());
    for (std::size_t w = 0; w < words.size(); ++w) {
        WordRow& row = analysis.m_words[w];
        row.word = words[w].word;
        row.count = words[w].count;
        row.perMillion = PerMillion(row.count, stats.tokens);
        if (files != nullptr) row.files = files->CountOf(w);
        if (!credited) continue;
        DistinctNouns(credits.Of(w), distinct);
        row.nouns.reserve(distinct.size());
        for (const std::uint32_t noun : distinct) row.nouns.push_back(rowOfNoun[noun]);
        if (distinct.size() >= 2) analysis.m_ambiguous.push_back(static_cast<std::uint32_t>(w));
    }
    return analysis;
}

}  // namespace tavro
