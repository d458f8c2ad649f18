#include "lexicon/accent_restoring.h"

#include <array>

#include "lexicon/accent.h"
#include "lexicon/base_form.h"

namespace tavro {
namespace {

constexpr std::array<unsigned char, 256> MakePlainTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
    table[0xDC] = 0xE1;  // ά
    table[0xDD] = 0xE5;  // έ
    table[0xDE] = 0xE7;  // ή
    table[0xDF] = 0xE9;  // ί
    table[0xFC] = 0xEF;  // ό
    table[0xFD] = 0xF5;  // ύ
    table[0xFE] = 0xF9;  // ώ
    table[0xC0] = 0xE9;  // ΐ
    table[0xE0] = 0xF5;  // ΰ
    table[0xFA] = 0xE9;  // ϊ
    table[0xFB] = 0xF5;  // ϋ
    return table;
}

constexpr std::array<unsigned char, 256> kPlain = MakePlainTable();

}  // namespace

std::string WithoutAccents(std::string_view word) {
    std::string plain(word);
    for (char& c : plain) c = static_cast<char>(kPlain[static_cast<unsigned char>(c)]);
    return plain;
}

bool MayLackItsAccent(std::string_view word) {
    return FindAccentedVowel(word) == -1 && VowelGroups(word) >= 2;
}

namespace {

std::vector<EndingGroup> TableWithoutAccents(const std::vector<EndingGroup>& table) {
    std::vector<EndingGroup> plain = table;
    for (EndingGroup& group : plain) {
        for (EndingToken& token : group) {
            token.text = WithoutAccents(token.text);
            token.accentShift = 0;  // there is no accent to move
        }
    }
    return plain;
}

}  // namespace

AccentRestorer::AccentRestorer(const WordTable& nouns, const std::vector<EndingGroup>& table)
    : m_table(TableWithoutAccents(table)), m_endings(m_table) {
    for (std::uint32_t position = 0; position < nouns.size(); ++position) {
        const auto [slot, added] = m_nouns.emplace(WithoutAccents(nouns[position].word), position);
        if (!added) slot->second = kSeveral;
    }
}

std::uint32_t AccentRestorer::NounOf(std::string_view accentless) const {
    const auto found = m_nouns.find(std::string(accentless));
    if (found == m_nouns.end() || found->second == kSeveral) return WordTable::kNotFound;
    return found->second;
}

std::uint32_t AccentRestorer::Find(std::string_view word, RestoredMatch match) const {
    std::string plain = WithoutAccents(word);
    if (!plain.empty() && plain.back() == '\xF3') plain.back() = '\xF2';  // a capital's σ ends as ς
    std::uint32_t found = WordTable::kNotFound;
    bool several = false;
    ForEachBaseFormCandidate(plain, m_table, m_endings, [&](const std::string& candidate) {
        const std::uint32_t noun = NounOf(candidate);
        if (noun == WordTable::kNotFound || noun == found) return true;
        several = found != WordTable::kNotFound;
        found = noun;
        return match == RestoredMatch::kOnlyNoun && !several;
    });
    return several && match == RestoredMatch::kOnlyNoun ? WordTable::kNotFound : found;
}

}  // namespace tavro
