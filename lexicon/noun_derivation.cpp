#include "lexicon/noun_derivation.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "corpus/char_classes.h"
#include "corpus/parallel.h"
#include "lexicon/accent.h"
#include "lexicon/base_form.h"

namespace tavro {
namespace {

// The productive prefixes, longest first where one opens another (the data
// build's list of data/tools/lexicon_rules.py): επανα ξανα υπερ υπο μικρο μακρο
// ημι αντι πολυ μονο ψευδο αυτο μετα προ απο.
constexpr std::array<std::string_view, 15> kPrefixes = {
    "\xE5\xF0\xE1\xED\xE1", "\xEE\xE1\xED\xE1",     "\xF5\xF0\xE5\xF1",     "\xF5\xF0\xEF",
    "\xEC\xE9\xEA\xF1\xEF", "\xEC\xE1\xEA\xF1\xEF", "\xE7\xEC\xE9",         "\xE1\xED\xF4\xE9",
    "\xF0\xEF\xEB\xF5",     "\xEC\xEF\xED\xEF",     "\xF8\xE5\xF5\xE4\xEF", "\xE1\xF5\xF4\xEF",
    "\xEC\xE5\xF4\xE1",     "\xF0\xF1\xEF",         "\xE1\xF0\xEF"};

// Suffixes that make nouns only: ποίηση ότητα ύτητα ισμός.
constexpr std::array<std::string_view, 4> kNounSuffixes = {
    "\xF0\xEF\xDF\xE7\xF3\xE7", "\xFC\xF4\xE7\xF4\xE1", "\xFD\xF4\xE7\xF4\xE1",
    "\xE9\xF3\xEC\xFC\xF2"};

// Gerunds (οντας, ώντας): a prefixed verb's, not a noun's form (προορίζοντας).
constexpr std::array<std::string_view, 2> kGerundEndings = {"\xEF\xED\xF4\xE1\xF2",
                                                            "\xFE\xED\xF4\xE1\xF2"};

// Heads that are participles or adjectives made nouns: with a prefix they are
// the prefixed verb's or adjective's forms (προηγούμενη, υπολογιστικών).
// μενος μένος μενο μένο ικός ική ικό.
constexpr std::array<std::string_view, 7> kRefusedHeads = {
    "\xEC\xE5\xED\xEF\xF2", "\xEC\xDD\xED\xEF\xF2", "\xEC\xE5\xED\xEF", "\xEC\xDD\xED\xEF",
    "\xE9\xEA\xFC\xF2",     "\xE9\xEA\xDE",         "\xE9\xEA\xFC"};

// Below this many words per share, a thread costs more than it saves.
constexpr std::size_t kWordsPerShare = 20000;

constexpr std::string_view kOs = "\xEF\xF2";  // ος
constexpr char kRho = '\xF1';

template <std::size_t N>
bool EndsWithAny(std::string_view word, const std::array<std::string_view, N>& endings) {
    return std::any_of(endings.begin(), endings.end(),
                       [&](std::string_view ending) { return word.ends_with(ending); });
}

// Accented vowels of `word`. A word of its own carries one; two tell of words
// run together (ομάδαομαδοποίηση).
int AccentCount(std::string_view word) {
    return static_cast<int>(std::count_if(word.begin(), word.end(), [](char c) {
        return IsAccentedVowel(static_cast<unsigned char>(c));
    }));
}

// True when `noun` ends in -ος with its accent on the syllable before: the
// accented vowel is in the stem and no vowel follows it there (a diphthong
// carries its accent on its second letter).
bool IsParoxytoneInOs(std::string_view noun) {
    if (!noun.ends_with(kOs)) return false;
    const int accent = FindAccentedVowel(noun);
    if (accent < 0) return false;
    const std::string_view stem = noun.substr(0, noun.size() - kOs.size());
    for (std::size_t i = accent + 1; i < stem.size(); ++i) {
        if (IsVowel(static_cast<unsigned char>(stem[i]))) return false;
    }
    return static_cast<std::size_t>(accent) < stem.size();
}

}  // namespace

NounDeriver::NounDeriver(const WordTable& nouns, const std::vector<EndingGroup>& table)
    : m_nouns(nouns), m_table(table), m_endings(table) {}

std::string NounDeriver::DerivedNoun(std::string_view word) const {
    if (CreditsAnyNoun(word)) return {};
    std::string noun = WithSuffixNoun(word);
    return noun.empty() ? WithPrefixNoun(word) : noun;
}

bool NounDeriver::CreditsAnyNoun(std::string_view word) const {
    bool found = false;
    ForEachBaseFormCandidate(word, m_table, m_endings, [&](const std::string& candidate) {
        found = m_nouns.Find(candidate) != WordTable::kNotFound;
        return !found;
    });
    return found;
}

std::string NounDeriver::WithSuffixNoun(std::string_view word) const {
    std::string noun;
    ForEachBaseFormCandidate(word, m_table, m_endings, [&](const std::string& candidate) {
        for (const std::string_view suffix : kNounSuffixes) {
            if (candidate.ends_with(suffix) && AccentCount(candidate) == 1 &&
                VowelGroups(
                    std::string_view(candidate).substr(0, candidate.size() - suffix.size())) >= 2) {
                noun = candidate;
                return false;
            }
        }
        return true;
    });
    return noun;
}

std::string NounDeriver::WithPrefixNoun(std::string_view word) const {
    if (EndsWithAny(word, kGerundEndings)) return {};
    for (const std::string_view prefix : kPrefixes) {
        if (!word.starts_with(prefix)) continue;
        std::string_view head = word.substr(prefix.size());
        // A prefix ending in a vowel doubles the ρ that opens its head (προρρύθμιση).
        if (IsVowel(static_cast<unsigned char>(prefix.back())) && head.size() > 1 &&
            head[0] == kRho && head[1] == kRho) {
            head.remove_prefix(1);
        }
        const std::string headNoun = OnlyNounOf(head);
        if (headNoun.size() < 4 || EndsWithAny(headNoun, kRefusedHeads)) continue;
        std::string noun = std::string(prefix) + headNoun;
        if (IsParoxytoneInOs(headNoun)) ShiftAccent(noun, 1);
        return noun;
    }
    return {};
}

std::string NounDeriver::OnlyNounOf(std::string_view head) const {
    std::string only;
    bool several = false;
    ForEachBaseFormCandidate(head, m_table, m_endings, [&](const std::string& candidate) {
        if (m_nouns.Find(candidate) == WordTable::kNotFound || candidate == only) return true;
        several = !only.empty();
        only = candidate;
        return !several;
    });
    return several ? std::string() : only;
}

std::string DerivedNounOfTyped(std::string_view typed, const WordTable& nouns,
                               const std::vector<EndingGroup>& table) {
    return NounDeriver(nouns, table).DerivedNoun(FoldGreek(typed));
}

WordTable AddDerivedNouns(const WordTable& words, const WordTable& nouns,
                          const NounDeriver& deriver, WordCredits& credits, int threads) {
    // Word position: its noun, found share by share, in word order.
    using Derived = std::vector<std::pair<std::size_t, std::string>>;
    const std::size_t wordCount = credits.WordCount();
    const std::size_t shareCount = std::max<std::size_t>(1, wordCount / kWordsPerShare);
    const std::size_t shareSize = (wordCount + shareCount - 1) / shareCount;
    std::vector<Derived> shares(shareCount);
    RunShares(shareCount, ThreadsFor(threads), [&](std::size_t s) {
        const std::size_t end = std::min(wordCount, (s + 1) * shareSize);
        for (std::size_t w = s * shareSize; w < end; ++w) {
            if (!credits.Of(w).empty()) continue;
            std::string noun = deriver.DerivedNoun(words[w].word);
            if (!noun.empty()) shares[s].emplace_back(w, std::move(noun));
        }
    });
    Derived derived;
    for (Derived& share : shares) {
        derived.insert(derived.end(), std::make_move_iterator(share.begin()),
                       std::make_move_iterator(share.end()));
    }
    if (derived.empty()) return {};
    std::vector<WordEntry> entries;
    entries.reserve(nouns.size() + derived.size());
    for (const WordEntry& noun : nouns.Entries()) entries.push_back({noun.word, 0});
    for (const auto& [w, noun] : derived) entries.push_back({noun, 0});
    WordTable all = WordTable::FromEntries(std::move(entries));

    std::vector<std::uint32_t> renumbered(nouns.size());
    for (std::size_t n = 0; n < nouns.size(); ++n) renumbered[n] = all.Find(nouns[n].word);
    WordCredits result;
    result.m_offsets.reserve(credits.WordCount() + 1);
    result.m_offsets.push_back(0);
    result.m_nouns.reserve(credits.size() + derived.size());
    auto next = derived.begin();
    for (std::size_t w = 0; w < credits.WordCount(); ++w) {
        for (const std::uint32_t noun : credits.Of(w)) result.m_nouns.push_back(renumbered[noun]);
        if (next != derived.end() && next->first == w) {
            result.m_nouns.push_back(all.Find(next->second));
            ++next;
        }
        result.m_offsets.push_back(result.m_nouns.size());
    }
    credits = std::move(result);
    return all;
}

}  // namespace tavro
