#include "corpus/word_counter.h"

#include <algorithm>

namespace tavro {
namespace {

constexpr std::size_t kInitialSlots = 1 << 12;

}  // namespace

WordCounter::WordCounter() : m_slots(kInitialSlots, Slot{}), m_mask(kInitialSlots - 1) {}

Count& WordCounter::Insert(const char* word, std::size_t length, std::uint64_t hash,
                           std::size_t index) {
    Slot& slot = m_slots[index];
    slot.prefix = Prefix(word, length);
    slot.tag = static_cast<std::uint32_t>(hash >> 32);
    slot.lengthPlusOne = static_cast<std::uint32_t>(length + 1);
    slot.offset = m_bytes.size();
    slot.count = 0;
    m_bytes.insert(m_bytes.end(), word, word + length);
    if (++m_size * 2 <= m_slots.size()) return slot.count;
    Grow();
    return At(word, length, hash, Prefix(word, length));
}

void WordCounter::Grow() {
    std::vector<Slot, HugePageAllocator<Slot>> old(m_slots.size() * 2, Slot{});
    old.swap(m_slots);
    m_mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.lengthPlusOne == 0) continue;
        std::size_t index = Hash(WordOf(slot)) & m_mask;
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
    return sorted;
}

std::vector<WordEntry> WordCounter::SortedEntries() const {
    const std::vector<CountedWord> words = SortedWords();
    std::vector<WordEntry> sorted(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        sorted[i].word.assign(words[i].word);
        sorted[i].count = words[i].count;
    }
    return sorted;
}

}  // namespace tavro
