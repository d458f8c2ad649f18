#include "corpus/word_counter.h"

#include <algorithm>

namespace tavro {
namespace {

constexpr std::size_t kInitialSlots = 1 << 12;

}  // namespace

WordCounter::WordCounter(std::size_t longestSlotWord)
    : m_slots(kInitialSlots, Slot{}),
      m_mask(kInitialSlots - 1),
      m_longestSlotWord(std::min(longestSlotWord, kLongestSlotWord)) {}

Count& WordCounter::Insert(const char* word, std::size_t length, std::uint64_t hash,
                           std::size_t index) {
    Slot& slot = m_slots[index];
    slot.prefix = word_hash::Prefix(word, length);
    slot.tag = static_cast<std::uint32_t>(hash >> 32);
    slot.lengthPlusOne = static_cast<std::uint32_t>(length + 1);
    slot.offset = m_bytes.size();
    slot.count = 0;
    m_bytes.insert(m_bytes.end(), word, word + length);
    if (++m_size * 2 <= m_slots.size()) return slot.count;
    Grow();
    return At(word, length, hash, word_hash::Prefix(word, length));
}

Count& WordCounter::LongWord(const char* word, std::size_t length) {
    const std::string_view key(word, length);
    const auto found = m_longWords.find(key);
    if (found != m_longWords.end()) return found->second;
    return m_longWords.emplace(std::string(key), 0).first->second;
}

void WordCounter::Grow() {
    std::vector<Slot, HugePageAllocator<Slot>> old(m_slots.size() * 2, Slot{});
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.lengthPlusOne == 0) continue;
        std::size_t index = word_hash::Hash(WordOf(slot)) & m_mask;
        while (m_slots[index].lengthPlusOne != 0) index = (index + 1) & m_mask;
        m_slots[index] = slot;
    }
}

std::vector<WordCounter::CountedWord> WordCounter::SortedWords() const {
    // Sort keys carry each word's first eight bytes, big-endian and zero-padded, so
    // that most comparisons are one integer comparison; equal keys compare in full.
    struct Key {
        std::uint64_t prefix;
        const Slot* slot;
    };
    std::vector<Key> keys;
    keys.reserve(m_size);
    for (const Slot& slot : m_slots) {
        if (slot.lengthPlusOne != 0) keys.push_back({__builtin_bswap64(slot.prefix), &slot});
    }
    std::sort(keys.begin(), keys.end(), [this](const Key& a, const Key& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return WordOf(*a.slot) < WordOf(*b.slot);
    });
    std::vector<CountedWord> sorted(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        sorted[i] = {WordOf(*keys[i].slot), keys[i].slot->count};
    }
    if (m_longWords.empty()) return sorted;
    std::vector<CountedWord> merged;
    merged.reserve(size());
    auto longWord = m_longWords.begin();
    for (const CountedWord& word : sorted) {
        for (; longWord != m_longWords.end() && longWord->first < word.word; ++longWord) {
            merged.push_back({longWord->first, longWord->second});
        }
        merged.push_back(word);
    }
    for (; longWord != m_longWords.end(); ++longWord) {
        merged.push_back({longWord->first, longWord->second});
    }
    return merged;
}

}  // namespace tavro
