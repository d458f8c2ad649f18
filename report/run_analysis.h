// The analysis of one processing run: what the counts of the report are made of.
//
// Built once from a run's results (its words, the credits each word gave, the
// noun table and, when they were counted, the files each word occurs in), it
// owns copies of everything it shows, so it does not depend on the tables after
// it is built. It holds:
// - a row per noun with a nonzero count, in byte order: the count exactly as the
//   report has it (a noun reached twice from one word is credited twice), the
//   sure count (from the words that credit this noun alone), the count per
//   million tokens, the files its forms occur in, and its forms (the distinct
//   words that credited it, each with its count, most frequent first, ties in
//   byte order);
// - a row per distinct word, in byte order: its count, per million, files, and
//   the distinct nouns it credits (rows of Nouns(), in byte order);
// - the ambiguous words (those that credit two or more different nouns);
// - the corpus statistics (corpus_stats.h).
// Building reads each word's credits once; it fails only by std::bad_alloc.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "corpus/token_windows.h"
#include "corpus/word_files.h"
#include "corpus/word_table.h"
#include "lexicon/noun_crediting.h"
#include "report/corpus_stats.h"

namespace tavro {

// A word with its count (cp1253).
struct FormCount {
    std::string word;
    Count count = 0;
    bool operator==(const FormCount&) const = default;
};

struct NounRow {
    std::string noun;     // cp1253
    Count count = 0;      // as the report counts it
    Count sureCount = 0;  // from words that credit no other noun
    double perMillion = 0;
    std::optional<std::uint32_t> files;  // when files were counted
    std::vector<FormCount> forms;        // most frequent first, ties in byte order
    bool derived = false;                // made from the run's words, not in the lexicon
};

struct WordRow {
    std::string word;  // cp1253
    Count count = 0;
    double perMillion = 0;
    std::optional<std::uint32_t> files;  // when files were counted
    std::vector<std::uint32_t> nouns;    // indexes into RunAnalysis::Nouns(), ascending
};

// What a run leaves for its analysis; the pointers are read only while building.
struct RunFacts {
    const WordTable* words = nullptr;      // the run's distinct words
    const WordCredits* credits = nullptr;  // beside words
    const WordTable* nouns = nullptr;      // the noun table the credits point into
    const WordFiles* files = nullptr;      // beside words; null when not counted
    // The lexicon, when the run derived nouns beside it: then the nouns of
    // `nouns` that it lacks are the derived ones.
    const WordTable* lexicon = nullptr;
    std::uint64_t inputFiles = 0;
    std::uint64_t bytes = 0;
    std::uint64_t badSequences = 0;
    std::optional<WindowTally> windows;  // when the text was taken in windows
};

class RunAnalysis {
  public:
    static RunAnalysis Build(const RunFacts& facts);

    const std::vector<NounRow>& Nouns() const { return m_nouns; }
    const std::vector<WordRow>& Words() const { return m_words; }
    // Indexes into Words() of the ambiguous words, ascending (byte order).
    const std::vector<std::uint32_t>& Ambiguous() const { return m_ambiguous; }
    const CorpusStats& Stats() const { return m_stats; }
    // Whether the rows carry their files.
    bool HasFiles() const { return m_hasFiles; }

  private:
    std::vector<NounRow> m_nouns;
    std::vector<WordRow> m_words;
    std::vector<std::uint32_t> m_ambiguous;
    CorpusStats m_stats;
    bool m_hasFiles = false;
};

// count per million of `tokens` (0 without tokens).
double PerMillion(Count count, std::uint64_t tokens);

}  // namespace tavro
