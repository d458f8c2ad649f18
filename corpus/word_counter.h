// Counting words by hashing: the fast path of a processing run.
//
// The words' bytes live in one growing arena; a dense vector holds one entry per
// distinct word (its place in the arena and its count) and an open-addressing
// index of entry numbers finds a word by its hash. Counting allocates only when
// the arena or the index grows. The ordered tree of the run is built from the
// sorted entries once, at the end. Words are taken as given (already folded).
#pragma once

#include <cstdint>
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
    struct Entry {
        std::uint64_t offset;  // into m_bytes
        std::uint32_t length;
        std::uint32_t hashTag;  // high half of the hash, checked before the bytes
        Count count;
    };

    Count& At(std::string_view word, std::uint64_t hash);
    std::string_view WordOf(const Entry& entry) const {
        return {m_bytes.data() + entry.offset, entry.length};
    }
    void GrowIndex();

    std::vector<char> m_bytes;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_index;  // entry number + 1; 0 marks a free slot
    std::size_t m_mask;
};

}  // namespace tavro
