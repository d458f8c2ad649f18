// Counting words by hashing: the fast path of a processing run.
//
// The words' bytes live in one growing arena; a dense vector holds one entry per
// distinct word (its place in the arena and its count) and an open-addressing
// index of entry numbers finds a word by its hash. Counting allocates only when
// the arena or the index grows. The ordered tree of the run is built from the
// sorted entries once, at the end. Words are taken as given (already folded).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "corpus/word_entry.h"

namespace tavro {

class WordCounter {
public:
    WordCounter();

    // Adds `count` occurrences of `word`.
    void Add(std::string_view word, Count count = 1) { At(word, Hash(word)) += count; }

    // Adds every word of `other` with its count.
    void Merge(const WordCounter& other);

    std::size_t size() const { return m_entries.size(); }

    // Calls `visit(std::string_view word, Count count)` for every distinct word, in
    // no particular order.
    template <typename Visitor>
    void ForEach(Visitor&& visit) const {
        for (const Entry& entry : m_entries) visit(WordOf(entry), entry.count);
    }

    // Every distinct word with its count, in ascending word order.
    std::vector<WordEntry> SortedEntries() const;

    static std::uint64_t Hash(std::string_view word);

private:
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
    // Byte equality of two words of length n, without a library call for short words.
    static bool SameBytes(const char* a, const char* b, std::size_t n);

    struct Entry {
        std::uint64_t offset;  // into m_bytes
        std::uint32_t length;
        Count count;
    };

    Count& At(std::string_view word, std::uint64_t hash);
    // Adds a new word at the free `slot`; kept out of line, off the counting path.
    [[gnu::noinline]] Count& Insert(std::string_view word, std::uint64_t tag, std::size_t slot);
    std::string_view WordOf(const Entry& entry) const {
        return {m_bytes.data() + entry.offset, entry.length};
    }
    void GrowIndex();

    std::vector<char> m_bytes;
    std::vector<Entry> m_entries;
    // Per slot: the high half of the word's hash, checked before the bytes, over the
    // entry number + 1; 0 marks a free slot.
    std::vector<std::uint64_t> m_index;
    std::size_t m_mask;
};

// Inline: these run once per word of the corpus.

inline std::uint64_t WordCounter::Hash(std::string_view word) {
    constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kMultiplier = 0xA0761D6478BD642Full;
    const char* p = word.data();
    const std::size_t n = word.size();
    std::uint64_t hash = kSeed ^ (n * kMultiplier);
    std::uint64_t tail;
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) hash = Mix(hash ^ Load64(p + i), kMultiplier);
        tail = Load64(p + n - 8);  // overlaps the last chunk: every byte is covered
    } else if (n >= 4) {
        tail = Load32(p) << 32 | Load32(p + n - 4);
    } else if (n > 0) {
        tail = static_cast<std::uint64_t>(static_cast<unsigned char>(p[0])) << 16 |
               static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8 |
               static_cast<unsigned char>(p[n - 1]);
    } else {
        tail = 0;
    }
    return Mix(hash ^ tail, kSeed);
}

inline bool WordCounter::SameBytes(const char* a, const char* b, std::size_t n) {
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8) {
            if (Load64(a + i) != Load64(b + i)) return false;
        }
        return Load64(a + n - 8) == Load64(b + n - 8);
    }
    if (n >= 4) return Load32(a) == Load32(b) && Load32(a + n - 4) == Load32(b + n - 4);
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

inline Count& WordCounter::At(std::string_view word, std::uint64_t hash) {
    const std::uint64_t tag = hash >> 32;
    std::size_t slot = hash & m_mask;
    for (std::uint64_t cell; (cell = m_index[slot]) != 0; slot = (slot + 1) & m_mask) {
        if ((cell >> 32) != tag) continue;
        Entry& entry = m_entries[(cell & 0xFFFFFFFF) - 1];
        if (entry.length == word.size() &&
            SameBytes(m_bytes.data() + entry.offset, word.data(), word.size())) {
            return entry.count;
        }
    }
    return Insert(word, tag, slot);
}

}  // namespace tavro
