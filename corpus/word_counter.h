// Counting words by hashing: the fast path of a processing run.
//
// An open-addressing table of 32-byte slots, each holding a word's hash tag, its
// length, its first eight bytes, where the rest of it lives in a byte arena, and
// its count; a word of up to eight bytes is found without touching the arena.
// Counting allocates only when the arena or the table grows. AddBatch hashes a
// batch of words and prefetches their slots before it counts them, so that a large
// vocabulary waits for memory once per batch rather than once per word. A word
// too long for a slot's 32-bit length (4 GiB or more) is counted in a side table.
// Words are taken as given (already folded).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/huge_page_allocator.h"
#include "corpus/word_entry.h"
#include "corpus/word_hash.h"

namespace tavro {

class WordCounter {
  public:
    // The longest word a slot holds; longer ones go to the side table. Tests
    // lower it to reach that path without gigabytes of text.
    static constexpr std::size_t kLongestSlotWord = 0xFFFFFFFEu;
    explicit WordCounter(std::size_t longestSlotWord = kLongestSlotWord);

    // Adds `count` occurrences of `word`.
    void Add(std::string_view word, Count count = 1);

    // A word waiting in a batch (its bytes must stay valid until AddBatch returns).
    struct Pending {
        const char* data;
        std::size_t length;
    };
    // Adds one occurrence of each word of the batch.
    void AddBatch(const Pending* words, std::size_t n);
    static constexpr std::size_t kBatch = 32;
    // Up to this many slots (2 MiB) the table is taken to stay in the cache.
    static constexpr std::size_t kCachedSlots = std::size_t{1} << 16;

    std::size_t size() const { return m_size + m_longWords.size(); }

    // A distinct word (a view into this counter, valid while it lives) and its count.
    struct CountedWord {
        std::string_view word;
        Count count;
    };
    // Every distinct word with its count, in ascending word order.
    std::vector<CountedWord> SortedWords() const;

  private:
    struct alignas(32) Slot {
        std::uint64_t prefix;         // the first eight bytes, zero-padded
        std::uint32_t tag;            // the high half of the hash
        std::uint32_t lengthPlusOne;  // 0 marks a free slot
        std::uint64_t offset;         // of the whole word in m_bytes
        Count count;
    };

    // Whether two words of `length` > 8 bytes, whose first eight bytes are equal,
    // are equal: eight bytes at a time, the last load ending at the last byte.
    static bool SameTail(const char* a, const char* b, std::size_t length) {
        using word_hash::Load64;
        for (std::size_t i = 8; i + 8 < length; i += 8) {
            if (Load64(a + i) != Load64(b + i)) return false;
        }
        return Load64(a + length - 8) == Load64(b + length - 8);
    }

    std::string_view WordOf(const Slot& slot) const {
        return {m_bytes.data() + slot.offset, slot.lengthPlusOne - 1u};
    }
    Count& At(const char* word, std::size_t length, std::uint64_t hash, std::uint64_t prefix);
    // Fills the free slot `index` with a new word; kept off the counting path.
    [[gnu::noinline]] Count& Insert(const char* word, std::size_t length, std::uint64_t hash,
                                    std::size_t index);
    [[gnu::noinline]] Count& LongWord(const char* word, std::size_t length);
    void Grow();

    std::vector<char> m_bytes;
    std::vector<Slot, HugePageAllocator<Slot>> m_slots;
    std::size_t m_mask;
    std::size_t m_size = 0;
    std::size_t m_longestSlotWord;
    std::map<std::string, Count, std::less<>> m_longWords;
};

// Inline: these run once per word of the corpus.

inline Count& WordCounter::At(const char* word, std::size_t length, std::uint64_t hash,
                              std::uint64_t prefix) {
    if (length > m_longestSlotWord) return LongWord(word, length);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    const auto lengthPlusOne = static_cast<std::uint32_t>(length + 1);
    for (std::size_t index = hash & m_mask;; index = (index + 1) & m_mask) {
        Slot& slot = m_slots[index];
        if (slot.lengthPlusOne == 0) return Insert(word, length, hash, index);
        if (slot.tag != tag || slot.lengthPlusOne != lengthPlusOne || slot.prefix != prefix) {
            continue;
        }
        if (length <= 8 || SameTail(m_bytes.data() + slot.offset, word, length)) {
            return slot.count;
        }
    }
}

inline void WordCounter::Add(std::string_view word, Count count) {
    const std::uint64_t prefix = word_hash::Prefix(word.data(), word.size());
    const std::uint64_t hash = word_hash::HashWithPrefix(word.data(), word.size(), prefix);
    At(word.data(), word.size(), hash, prefix) += count;
}

inline void WordCounter::AddBatch(const Pending* words, std::size_t n) {
    if (m_slots.size() <= kCachedSlots) {  // the table stays in cache: no need to fetch ahead
        for (std::size_t i = 0; i < n; ++i) Add({words[i].data, words[i].length});
        return;
    }
    std::uint64_t prefixes[kBatch];
    std::uint64_t hashes[kBatch];
    for (std::size_t i = 0; i < n; ++i) {
        prefixes[i] = word_hash::Prefix(words[i].data, words[i].length);
        hashes[i] = word_hash::HashWithPrefix(words[i].data, words[i].length, prefixes[i]);
        __builtin_prefetch(&m_slots[hashes[i] & m_mask]);
    }
    // By now the first slots have arrived: fetch the stored tails of long words.
    for (std::size_t i = 0; i < n; ++i) {
        const Slot& home = m_slots[hashes[i] & m_mask];
        if (words[i].length > 8 && home.lengthPlusOne == words[i].length + 1) {
            __builtin_prefetch(m_bytes.data() + home.offset + 8);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        At(words[i].data, words[i].length, hashes[i], prefixes[i]) += 1;
    }
}

}  // namespace tavro
