// The word table: the distinct words of one kind (the nouns of the lexicon, or
// the words of a run) with their counts.
//
// The table is one dense vector of entries in word order, and an open-addressing
// hash index of positions into it. The vector is what every stage reads: the
// crediting walks it, the report lists it as it stands (alphabetical order is
// its own order), and a lookup costs one probe sequence of the index, which
// keeps a tag of each word's hash so that most misses never touch an entry.
// Positions are stable once the table is built; only Insert of a new word moves
// the entries after it (and rebuilds the index), which serves callers that add
// a few words to a small table. The runs build their tables whole. A table that
// nothing may look up in (a run's words, which the report only lists) can defer
// its index to the first lookup; such a table is not to be looked up in from
// several threads before that.
//
// The lexicon used to be shuffled with a fixed seed before it went into an
// unbalanced tree, only so that a sorted file would not make that tree a list.
// A sorted table has no shape that an insertion order could spoil: its words,
// their order and their counts do not depend on the order of the file. So the
// shuffle is gone; nothing observable depended on it.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "corpus/word_entry.h"

namespace tavro {

class WordTable {
  public:
    static constexpr std::uint32_t kNotFound = 0xFFFFFFFF;

    enum class Index { kNow, kOnFirstFind };

    WordTable() = default;
    // A table of `sorted`, whose words are strictly ascending in word order.
    static WordTable FromSorted(std::vector<WordEntry> sorted, Index index = Index::kNow);
    // A table of `entries` in any order; equal words become one entry whose
    // count is the sum of theirs.
    static WordTable FromEntries(std::vector<WordEntry> entries);

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    // Every entry, in ascending word order.
    const std::vector<WordEntry>& Entries() const { return m_entries; }
    const WordEntry& operator[](std::size_t position) const { return m_entries[position]; }

    // The position of `word`, or kNotFound.
    std::uint32_t Find(std::string_view word) const;
    void AddToCount(std::uint32_t position, Count count) { m_entries[position].count += count; }
    // Adds `entry`'s count to its word's, inserting the word in order when it is new.
    void Insert(const WordEntry& entry);
    void ResetCounts();

  private:
    void BuildIndex() const;

    std::vector<WordEntry> m_entries;
    // The hash's high half, then position + 1; 0 marks a free slot. Built when
    // the first lookup needs it, unless the table was made with it.
    mutable std::vector<std::uint64_t> m_slots;
    mutable std::size_t m_mask = 0;
};

// The table's operations under the names the rest of the program knows them by.

// Adds `entry` to the table (or its count to the equal word's).
void InsertWord(WordTable& table, const WordEntry& entry);
// True when the table holds a word equal to `word` (counts play no part).
bool FindWord(const WordTable& table, std::string_view word);
inline bool FindWord(const WordTable& table, const WordEntry& entry) {
    return FindWord(table, entry.word);
}
// Sets every count to 0 and keeps every word.
void ResetCounts(WordTable& table);
// Appends a copy of every entry, in ascending word order, to `list`.
void CollectInOrder(const WordTable& table, std::vector<WordEntry>& list);
// Inserts every entry of `list`, in index order.
void InsertEntries(const std::vector<WordEntry>& list, WordTable& table);

}  // namespace tavro
