#include "corpus/word_table.h"

#include <algorithm>
#include <bit>

#include "corpus/word_hash.h"

namespace tavro {
namespace {

bool WordLess(const WordEntry& a, const WordEntry& b) { return a.word < b.word; }

std::uint64_t Tag(std::uint64_t hash) { return hash & 0xFFFFFFFF00000000ull; }

}  // namespace

WordTable WordTable::FromSorted(std::vector<WordEntry> sorted, Index index) {
    WordTable table;
    table.m_entries = std::move(sorted);
    if (index == Index::kNow) table.BuildIndex();
    return table;
}

WordTable WordTable::FromEntries(std::vector<WordEntry> entries) {
    // A lexicon usually comes sorted already; checking costs one pass.
    if (!std::is_sorted(entries.begin(), entries.end(), WordLess)) {
        std::stable_sort(entries.begin(), entries.end(), WordLess);
    }
    std::vector<WordEntry> merged;
    merged.reserve(entries.size());
    for (WordEntry& entry : entries) {
        if (!merged.empty() && merged.back().word == entry.word) {
            merged.back().count += entry.count;
        } else {
            merged.push_back(std::move(entry));
        }
    }
    return FromSorted(std::move(merged));
}

void WordTable::BuildIndex() const {
    const std::size_t slots = std::bit_ceil(m_entries.size() * 2 + 2);
    m_slots.assign(slots, 0);
    m_mask = slots - 1;
    for (std::uint32_t position = 0; position < m_entries.size(); ++position) {
        const std::uint64_t hash = word_hash::Hash(m_entries[position].word);
        std::size_t slot = hash & m_mask;
        while (m_slots[slot] != 0) slot = (slot + 1) & m_mask;
        m_slots[slot] = Tag(hash) | (position + 1u);
    }
}

std::uint32_t WordTable::Find(std::string_view word) const {
    if (m_slots.empty()) BuildIndex();
    const std::uint64_t hash = word_hash::Hash(word);
    const std::uint64_t tag = Tag(hash);
    for (std::size_t slot = hash & m_mask; m_slots[slot] != 0; slot = (slot + 1) & m_mask) {
        const std::uint64_t cell = m_slots[slot];
        if (Tag(cell) != tag) continue;
        const auto position = static_cast<std::uint32_t>(cell) - 1u;
        if (m_entries[position].word == word) return position;
    }
    return kNotFound;
}

void WordTable::Insert(const WordEntry& entry) {
    if (const std::uint32_t position = Find(entry.word); position != kNotFound) {
        AddToCount(position, entry.count);
        return;
    }
    m_entries.insert(std::lower_bound(m_entries.begin(), m_entries.end(), entry, WordLess), entry);
    BuildIndex();
}

void WordTable::ResetCounts() {
    for (WordEntry& entry : m_entries) entry.count = 0;
}

void InsertWord(WordTable& table, const WordEntry& entry) { table.Insert(entry); }

bool FindWord(const WordTable& table, std::string_view word) {
    return table.Find(word) != WordTable::kNotFound;
}

void ResetCounts(WordTable& table) { table.ResetCounts(); }

void CollectInOrder(const WordTable& table, std::vector<WordEntry>& list) {
    list.insert(list.end(), table.Entries().begin(), table.Entries().end());
}

void InsertEntries(const std::vector<WordEntry>& list, WordTable& table) {
    if (table.empty()) {
        table = WordTable::FromEntries(list);
        return;
    }
    for (const WordEntry& entry : list) table.Insert(entry);
}

}  // namespace tavro
