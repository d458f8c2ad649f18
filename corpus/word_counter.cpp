#include "corpus/word_counter.h"

#include <algorithm>
#include <cstring>

namespace tavro {
namespace {

constexpr std::size_t kInitialSlots = 1 << 12;

}  // namespace

WordCounter::WordCounter() : m_index(kInitialSlots, 0), m_mask(kInitialSlots - 1) {}

Count& WordCounter::Insert(std::string_view word, std::uint64_t tag, std::size_t slot) {
    const std::uint64_t offset = m_bytes.size();
    m_bytes.insert(m_bytes.end(), word.begin(), word.end());
    m_entries.push_back({offset, static_cast<std::uint32_t>(word.size()), 0});
    m_index[slot] = tag << 32 | m_entries.size();
    if (m_entries.size() * 2 > m_index.size()) GrowIndex();
    return m_entries.back().count;
}

void WordCounter::GrowIndex() {
    std::vector<std::uint64_t> index(m_index.size() * 2, 0);
    const std::size_t mask = index.size() - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const std::uint64_t hash = Hash(WordOf(m_entries[e]));
        std::size_t slot = hash & mask;
        while (index[slot] != 0) slot = (slot + 1) & mask;
        index[slot] = (hash >> 32) << 32 | (e + 1);
    }
    m_index.swap(index);
    m_mask = mask;
}

void WordCounter::Merge(const WordCounter& other) {
    other.ForEach([this](std::string_view word, Count count) { Add(word, count); });
}

std::vector<WordEntry> WordCounter::SortedEntries() const {
    // Sort keys carry each word's first eight bytes, big-endian and zero-padded, so
    // that most comparisons are one integer comparison; equal keys compare in full.
    struct Key {
        std::uint64_t prefix;
        std::uint32_t entry;
    };
    std::vector<Key> keys(m_entries.size());
    for (std::uint32_t e = 0; e < m_entries.size(); ++e) {
        const std::string_view word = WordOf(m_entries[e]);
        std::uint64_t prefix = 0;
        for (std::size_t i = 0; i < 8; ++i) {
            prefix = prefix << 8 | (i < word.size() ? static_cast<unsigned char>(word[i]) : 0u);
        }
        keys[e] = {prefix, e};
    }
    std::sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return WordOf(m_entries[a.entry]) < WordOf(m_entries[b.entry]);
    });
    std::vector<WordEntry> sorted(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Entry& entry = m_entries[keys[i].entry];
        sorted[i].word.assign(WordOf(entry));
        sorted[i].count = entry.count;
    }
    return sorted;
}

}  // namespace tavro
