#include "corpus/count_table.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace tavro {

namespace {

int ShiftFor(std::size_t slots) { return 64 - std::countr_zero(slots); }

}  // namespace

CountTable::CountTable(std::size_t initialSlots, std::size_t longestSlotWord)
    : m_slots(std::bit_ceil(std::max<std::size_t>(initialSlots, 2)), Slot{}),
      m_mask(m_slots.size() - 1),
      m_shift(ShiftFor(m_slots.size())),
      m_longestSlotWord(std::min(longestSlotWord, kLongestSlotWord)) {}

void CountTable::TrackFiles() {
    m_trackFiles = true;
    m_marks.assign(m_slots.size(), FileMark{});
}

void CountTable::TrackPositions() {
    m_trackPositions = true;
    m_positions.assign(m_slots.size(), PositionMark{});
}

void CountTable::StartBlock(std::uint32_t first) {
    m_blockFirst = first;
    if (first != 0) return;
    m_positions.assign(m_positions.size(), PositionMark{});
    for (auto& [word, longWord] : m_longWords) longWord.position = PositionMark{};
}

std::size_t CountTable::Insert(const char* word, std::size_t length, std::uint32_t tag,
                               std::uint64_t prefix, std::uint64_t rest, std::size_t index) {
    Slot& slot = m_slots[index];
    slot.prefix = prefix;
    slot.tag = tag;
    slot.lengthPlusOne = static_cast<std::uint32_t>(length + 1);
    slot.count = 0;
    // WordOf reads a short word from the slot's first bytes.
    static_assert(offsetof(Slot, prefix) == 0 && offsetof(Slot, rest) == 8);
    if (length <= kInlineBytes) {
        slot.rest = rest;
    } else {
        slot.rest = m_bytes.size();
        m_bytes.insert(m_bytes.end(), word, word + length);
    }
    if (!Crowded(++m_size)) return index;
    Grow();
    return Find(word, length, tag, prefix, rest);
}

CountTable::LongWord& CountTable::AddLongWord(std::string_view word, Count count) {
    auto found = m_longWords.find(word);
    if (found == m_longWords.end())
        found = m_longWords.emplace(std::string(word), LongWord{}).first;
    found->second.count += count;
    std::vector<std::uint32_t>& files = found->second.files;
    if (m_trackFiles) {
        const auto at = std::lower_bound(files.begin(), files.end(), m_file);
        if (at == files.end() || *at != m_file) files.insert(at, m_file);
    }
    return found->second;
}

void CountTable::ListFile(std::size_t index, std::uint32_t file) {
    FileMark& mark = m_marks[index];
    m_links.push_back({file, mark.head});
    mark.head = static_cast<std::uint32_t>(m_links.size());
    mark.lastPlusOne = file + 1;
}

void CountTable::CollectFiles(const CountTable& table, std::size_t index,
                              std::vector<std::uint32_t>& files) {
    for (std::uint64_t bits = table.m_marks[index].bits; bits != 0; bits &= bits - 1) {
        files.push_back(static_cast<std::uint32_t>(std::countr_zero(bits)));
    }
    for (std::uint32_t link = table.m_marks[index].head; link != 0;
         link = table.m_links[link - 1].next) {
        files.push_back(table.m_links[link - 1].file);
    }
}

void CountTable::SortFiles(std::vector<std::uint32_t>& files, std::size_t from) {
    const auto begin = files.begin() + static_cast<std::ptrdiff_t>(from);
    std::sort(begin, files.end());
    files.erase(std::unique(begin, files.end()), files.end());
}

std::uint32_t CountTable::FileCount(std::size_t index) const {
    if (!m_trackFiles) return 0;
    const FileMark& mark = m_marks[index];
    if (mark.head == 0) return static_cast<std::uint32_t>(std::popcount(mark.bits));
    std::vector<std::uint32_t> files;
    CollectFiles(*this, index, files);
    SortFiles(files, 0);
    return static_cast<std::uint32_t>(files.size());
}

void CountTable::MergeFiles(std::size_t index, const CountTable& other, std::size_t otherIndex) {
    FileMark& mark = m_marks[index];
    const FileMark& otherMark = other.m_marks[otherIndex];
    mark.bits |= otherMark.bits;
    if (otherMark.head == 0) return;
    std::vector<std::uint32_t>& files = m_fileScratch;
    files.clear();
    CollectFiles(*this, index, files);
    CollectFiles(other, otherIndex, files);
    SortFiles(files, 0);
    const std::uint64_t bits = mark.bits;
    mark = FileMark{};
    mark.bits = bits;
    for (const std::uint32_t file : files) {
        if (file >= kFileBits) ListFile(index, file);
    }
}

void CountTable::MergeFrom(const CountTable& other) {
    // No room is made ahead: tables of one run share most of their words, so the
    // sum of their sizes would make this one grow far past the words it ends with.
    m_bytes.reserve(m_bytes.size() + other.m_bytes.size());
    for (std::size_t i = 0; i < other.m_slots.size(); ++i) {
        const Slot& slot = other.m_slots[i];
        if (slot.lengthPlusOne == 0) continue;
        const std::string_view word = other.WordOf(slot);
        const std::size_t index = Find(word.data(), word.size(), slot.tag, slot.prefix, slot.rest);
        m_slots[index].count += slot.count;
        if (m_trackFiles) MergeFiles(index, other, i);
    }
    for (const auto& [word, longWord] : other.m_longWords) {
        auto found = m_longWords.find(word);
        if (found == m_longWords.end()) found = m_longWords.emplace(word, LongWord{}).first;
        found->second.count += longWord.count;
        std::vector<std::uint32_t> files;
        std::set_union(found->second.files.begin(), found->second.files.end(),
                       longWord.files.begin(), longWord.files.end(), std::back_inserter(files));
        found->second.files = std::move(files);
    }
}

void CountTable::Grow() {
    std::vector<Slot, HugePageAllocator<Slot>> old(m_slots.size() * 2, Slot{});
    old.swap(m_slots);
    std::vector<FileMark> oldMarks(m_trackFiles ? m_slots.size() : 0);
    oldMarks.swap(m_marks);
    std::vector<PositionMark> oldPositions(m_trackPositions ? m_slots.size() : 0);
    oldPositions.swap(m_positions);
    m_mask = m_slots.size() - 1;
    m_shift = ShiftFor(m_slots.size());
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i].lengthPlusOne == 0) continue;
        std::size_t index = HomeOfTag(old[i].tag);
        while (m_slots[index].lengthPlusOne != 0) index = (index + 1) & m_mask;
        m_slots[index] = old[i];
        if (m_trackFiles) m_marks[index] = oldMarks[i];
        if (m_trackPositions) m_positions[index] = oldPositions[i];
    }
}

namespace {

// Sorts keys by their prefix, least significant byte first, one counting pass
// per byte (a byte that all keys share needs no pass): linear in their number.
template <class SortKey>
void RadixSortByPrefix(std::vector<SortKey>& keys) {
    std::vector<SortKey> other;
    other.reserve(keys.size());
    AdviseHugePages(other);
    other.resize(keys.size());
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t counts[257] = {};
        for (const SortKey& key : keys) ++counts[((key.prefix >> shift) & 0xFF) + 1];
        if (std::any_of(std::begin(counts), std::end(counts),
                        [&](std::size_t n) { return n == keys.size(); })) {
            continue;
        }
        for (int b = 1; b < 257; ++b) counts[b] += counts[b - 1];
        for (const SortKey& key : keys) other[counts[(key.prefix >> shift) & 0xFF]++] = key;
        keys.swap(other);
    }
}

}  // namespace

std::uint32_t CountTable::AppendFiles(std::size_t index, std::vector<std::uint32_t>& files) const {
    const std::size_t from = files.size();
    CollectFiles(*this, index, files);
    SortFiles(files, from);
    return static_cast<std::uint32_t>(files.size() - from);
}

std::vector<CountTable::CountedWord> CountTable::SortedWords() const {
    std::vector<CountedWord> sorted;
    sorted.reserve(size());
    VisitSorted([&](std::string_view word, Count count, std::uint32_t files) {
        sorted.push_back({word, count, files});
    });
    return sorted;
}

std::vector<CountTable::SortKey> CountTable::SortedKeys() const {
    std::vector<SortKey> keys;
    keys.reserve(m_size);
    AdviseHugePages(keys);
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].lengthPlusOne != 0) {
            keys.push_back({__builtin_bswap64(m_slots[i].prefix), i});
        }
    }
    const auto wordLess = [this](const SortKey& a, const SortKey& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return WordOf(m_slots[a.index]) < WordOf(m_slots[b.index]);
    };
    constexpr std::size_t kRadixFrom = 1 << 12;  // below, comparisons are as quick
    if (keys.size() < kRadixFrom) {
        std::sort(keys.begin(), keys.end(), wordLess);
        return keys;
    }
    RadixSortByPrefix(keys);
    // Words that share their first eight bytes are put in order in full.
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = run + 1;
        while (end != keys.end() && end->prefix == run->prefix) ++end;
        if (end - run > 1) std::sort(run, end, wordLess);
        run = end;
    }
    return keys;
}

}  // namespace tavro
