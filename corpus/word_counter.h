// Counting words by hashing: the fast path of a processing run.
//
// An open-addressing table of 32-byte slots, each holding a word's hash tag, its
// length, its first eight bytes, where the rest of it lives in a byte arena, and
// its count; a word of up to eight bytes is found without touching the arena.
// Counting allocates only when the arena or the table grows. AddBatch hashes a
// batch of words and prefetches their slots before it counts them, so that a large
// vocabulary waits for memory once per batch rather than once per word. The
// ordered tree of the run is built from the sorted entries once, at the end.
// Words are taken as given (already folded).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "corpus/huge_page_allocator.h"
#include "corpus/word_entry.h"

namespace tavro {

class WordCounter {
public:
    WordCounter();

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

    std::size_t size() const { return m_size; }

    // Calls `visit(std::string_view word, Count count)` for every distinct word, in
    // no particular order.
    template <typename Visitor>
    void ForEach(Visitor&& visit) const {
        for (const Slot& slot : m_slots) {
            if (slot.lengthPlusOne != 0) visit(WordOf(slot), slot.count);
        }
    }

    // A distinct word (a view into this counter, valid while it lives) and its count.
    struct CountedWord {
        std::string_view word;
        Count count;
    };
    // Every distinct word with its count, in ascending word order.
    std::vector<CountedWord> SortedWords() const;
    std::vector<WordEntry> SortedEntries() const;

    static std::uint64_t Hash(std::string_view word);

private:
    struct alignas(32) Slot {
        std::uint64_t prefix;         // the first eight bytes, zero-padded
        std::uint32_t tag;            // the high half of the hash
        std::uint32_t lengthPlusOne;  // 0 marks a free slot
        std::uint64_t offset;         // of the whole word in m_bytes
        Count count;
    };

    static std::uint64_t Load64(const char* p) {
        std::uint64_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }
    static std::uint64_t Load32(const char* p) {
        std::uint32_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }
    static std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
        const __uint128_t product = static_cast<__uint128_t>(a) * b;
        return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
    }
    // The first eight bytes of `word` (little-endian), zero-padded when shorter.
    static std::uint64_t Prefix(const char* p, std::size_t n);
    static std::uint64_t HashWithPrefix(const char* p, std::size_t n, std::uint64_t prefix);
    // Whether two words of `length` > 8 bytes, whose first eight bytes are equal,
    // are equal: eight bytes at a time, the last load ending at the last byte.
    static bool SameTail(const char* a, const char* b, std::size_t length) {
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
    void Grow();

    std::vector<char> m_bytes;
    std::vector<Slot, HugePageAllocator<Slot>> m_slots;
    std::size_t m_mask;
    std::size_t m_size = 0;
};

// Inline: these run once per word of the corpus.

inline std::uint64_t WordCounter::Prefix(const char* p, std::size_t n) {
    if (n >= 8) return Load64(p);
    if (n >= 4) return Load32(p) | Load32(p + n - 4) << ((n - 4) * 8);
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < n; ++i) {
        prefix |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (i * 8);
    }
    return prefix;
}

inline std::uint64_t WordCounter::Hash(std::string_view word) {
    return HashWithPrefix(word.data(), word.size(), Prefix(word.data(), word.size()));
}

inline std::uint64_t WordCounter::HashWithPrefix(const char* p, std::size_t n,
                                                 std::uint64_t prefix) {
    constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kMultiplier = 0xA0761D6478BD642Full;
    std::uint64_t hash = kSeed ^ (n * kMultiplier);
    if (n <= 8) return Mix(hash ^ prefix, kSeed);
    for (std::size_t i = 0; i + 8 < n; i += 8) hash = Mix(hash ^ Load64(p + i), kMultiplier);
    return Mix(hash ^ Load64(p + n - 8), kSeed);  // overlaps the last chunk: every byte counts
}

inline Count& WordCounter::At(const char* word, std::size_t length, std::uint64_t hash,
                              std::uint64_t prefix) {
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
    const std::uint64_t prefix = Prefix(word.data(), word.size());
    At(word.data(), word.size(), HashWithPrefix(word.data(), word.size(), prefix), prefix) += count;
}

inline void WordCounter::AddBatch(const Pending* words, std::size_t n) {
    if (m_slots.size() <= kCachedSlots) {  // the table stays in cache: no need to fetch ahead
        for (std::size_t i = 0; i < n; ++i) Add({words[i].data, words[i].length});
        return;
    }
    std::uint64_t prefixes[kBatch];
    std::uint64_t hashes[kBatch];
    for (std::size_t i = 0; i < n; ++i) {
        prefixes[i] = Prefix(words[i].data, words[i].length);
        hashes[i] = HashWithPrefix(words[i].data, words[i].length, prefixes[i]);
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
