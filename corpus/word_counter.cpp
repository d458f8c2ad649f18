#include "corpus/word_counter.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tavro {
namespace {

constexpr std::size_t kInitialSlots = 1 << 12;

std::uint64_t Load64(const char* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
    const __uint128_t product = static_cast<__uint128_t>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

}  // namespace

WordCounter::WordCounter() : m_index(kInitialSlots, 0), m_mask(kInitialSlots - 1) {}

std::uint64_t WordCounter::Hash(std::string_view word) {
    constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kMultiplier = 0xA0761D6478BD642Full;
    std::uint64_t hash = kSeed ^ (word.size() * kMultiplier);
    const char* p = word.data();
    std::size_t left = word.size();
    while (left >= 8) {
        hash = Mix(hash ^ Load64(p), kMultiplier);
        p += 8;
        left -= 8;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, p, left);
    return Mix(hash ^ tail, kSeed);
}

Count& WordCounter::At(std::string_view word, std::uint64_t hash) {
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    std::size_t slot = hash & m_mask;
    while (m_index[slot] != 0) {
        Entry& entry = m_entries[m_index[slot] - 1];
        if (entry.hashTag == tag && entry.length == word.size() &&
            std::memcmp(m_bytes.data() + entry.offset, word.data(), word.size()) == 0) {
            return entry.count;
        }
        slot = (slot + 1) & m_mask;
    }
    const std::uint64_t offset = m_bytes.size();
    m_bytes.insert(m_bytes.end(), word.begin(), word.end());
    m_entries.push_back({offset, static_cast<std::uint32_t>(word.size()), tag, 0});
    m_index[slot] = static_cast<std::uint32_t>(m_entries.size());
    if (m_entries.size() * 2 > m_index.size()) {
        GrowIndex();
    }
    return m_entries.back().count;
}

void WordCounter::GrowIndex() {
    std::vector<std::uint32_t> index(m_index.size() * 2, 0);
    const std::size_t mask = index.size() - 1;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const std::uint64_t hash = Hash(WordOf(m_entries[e]));
        std::size_t slot = hash & mask;
        while (index[slot] != 0) slot = (slot + 1) & mask;
        index[slot] = static_cast<std::uint32_t>(e + 1);
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
