// The figures of a run's corpus, as a corpus linguist reads them: its size, the
// richness of its vocabulary, and how much of it the lexicon's nouns account for.
//
// Tokens are the words of the text as counted (folded to lower case); types are
// the distinct ones. A word "credits" a noun when one of its base-form candidates
// is a noun of the lexicon; it is ambiguous when it credits two or more
// different nouns (a candidate reached twice counts once here).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavro {

struct CorpusStats {
    std::uint64_t files = 0;    // input files, text and counted ones
    std::uint64_t bytes = 0;    // bytes read from them
    std::uint64_t tokens = 0;   // running words
    std::uint64_t types = 0;    // distinct words
    double typeTokenRatio = 0;  // types / tokens; 0 without tokens
    // Mean type/token ratio of consecutive 1,000-token windows, the last partial
    // one left out (token_windows.h); nothing when the text was not taken in
    // windows, has no complete window, or a count file was added.
    std::optional<double> sttr;
    std::uint64_t sttrWindows = 0;
    std::uint64_t nounTokens = 0;       // tokens of words that credit a noun
    std::uint64_t nounTypes = 0;        // distinct words that credit a noun
    double nounTokenShare = 0;          // nounTokens / tokens; 0 without tokens
    std::uint64_t nounsCredited = 0;    // distinct nouns with a count
    std::uint64_t ambiguousWords = 0;   // words that credit two or more nouns
    std::uint64_t ambiguousTokens = 0;  // their tokens
    std::uint64_t badSequences = 0;     // malformed byte sequences met while decoding
    // When the run derived nouns the lexicon lacks (noun_derivation.h): how many
    // have a count, and the tokens that credit them.
    std::optional<std::uint64_t> derivedNouns;
    std::uint64_t derivedTokens = 0;
    bool operator==(const CorpusStats&) const = default;
};

// The figures as a short table for a terminal, one "name value" line each
// (ASCII, LF line ends), names left-aligned.
std::string FormatStats(const CorpusStats& stats);

}  // namespace tavro
