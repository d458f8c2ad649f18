#include "corpus/word_counter.h"

#include <algorithm>
#include <cstring>
#include <numeric>

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
    std::vector<std::uint32_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](std::uint32_t a, std::uint32_t b) {
        return WordOf(m_entries[a]) < WordOf(m_entries[b]);
    });
    std::vector<WordEntry> sorted;
    sorted.reserve(order.size());
    for (std::uint32_t e : order) {
        WordEntry entry;
        entry.word.assign(WordOf(m_entries[e]));
        entry.count = m_entries[e].count;
        sorted.push_back(std::move(entry));
    }
    return sorted;
}

}  // namespace tavro
