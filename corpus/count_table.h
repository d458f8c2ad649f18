// One table of counted words: the unit the counting threads count into.
//
// An open-addressing table of 32-byte slots, each holding a word's hash tag (the
// high half of its hash), its length, its count and its first sixteen bytes, or,
// for a longer word, its first eight bytes and where the whole word lives in a
// byte arena: a word of up to sixteen bytes (most words of Greek text) is found
// and compared without a second load and without a loop. A word's slot is
// picked by the top bits of its tag, so that growing or merging a table never
// reads the arena to hash a word again. Counting allocates only when the arena
// or the table grows. A word too long for a slot's 32-bit length (4 GiB or
// more) is counted in a side table.
//
// When told to track files, the table also notes, for every word, the files it
// occurs in (each counted once): the caller names the file of the words it adds
// (SetFile). The first 64 files are bits beside the word's slot; later ones a
// list. Files may come in any order (a thread counts its own blocks and the
// words other threads route to it, word_router.h); a word's list only skips the
// file it noted last, and is sorted, without repeats, when it is read.
// When told to track positions, it remembers each word's last position in the
// block being counted, for the block's windows (token_windows.h): the tokens of
// a thread's blocks are numbered on from one block to the next, so that nothing
// has to be cleared between blocks.
// Tables are merged word by word (MergeFrom), their file sets as unions, so
// that the same word counted by several threads ends as one word.
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

class CountTable {
  public:
    static constexpr std::size_t kInitialSlots = std::size_t{1} << 12;
    // The longest word a slot holds; longer ones go to the side table. Tests
    // lower it to reach that path without gigabytes of text.
    static constexpr std::size_t kLongestSlotWord = 0xFFFFFFFEu;
    // Up to this many slots (2 MiB) the table is taken to stay in the cache.
    static constexpr std::size_t kCachedSlots = std::size_t{1} << 16;

    // `initialSlots` is rounded up to a power of two.
    explicit CountTable(std::size_t initialSlots = kInitialSlots,
                        std::size_t longestSlotWord = kLongestSlotWord);

    // Notes the files of every word from now on; call before any word is added.
    void TrackFiles();
    bool TracksFiles() const { return m_trackFiles; }
    // The file the next words come from.
    void SetFile(std::uint32_t file) {
        m_file = file;
        m_fileBit = file < kFileBits ? std::uint64_t{1} << file : 0;
    }

    // Remembers the last position of every word in the current block from now on.
    void TrackPositions();
    // Starts a block whose tokens are numbered from `first` on, above every
    // number of the blocks before; a `first` of 0 starts the numbers over.
    void StartBlock(std::uint32_t first);
    // Adds one occurrence of `word` (hash and prefix given, word_hash.h) as the
    // block's token numbered `token`; returns the word's last position in the
    // block before it (counted from the block's first token), plus one (0: none).
    // Only while positions are tracked, once a block has started.
    std::uint32_t AddAt(const char* word, std::size_t length, const word_hash::Key& key,
                        std::uint32_t token);

    // Adds `count` occurrences of `word`, whose key (word_hash.h) is given.
    void Add(const char* word, std::size_t length, const word_hash::Key& key, Count count);
    void Add(std::string_view word, Count count = 1);
    // Asks the memory for the slot where a word of `hash` is looked for first,
    // and for its file mark when files are tracked.
    void Prefetch(std::uint64_t hash) const {
        const std::size_t home = Home(hash);
        __builtin_prefetch(&m_slots[home]);
        if (m_trackFiles) __builtin_prefetch(&m_marks[home]);
    }
    // The same, and the marks beside the slot (positions tracked): asked for a
    // whole batch at once even when the table fits the cache, so that a word's
    // two or three loads do not wait one after another.
    void PrefetchWithMarks(std::uint64_t hash) const {
        const std::size_t home = Home(hash);
        __builtin_prefetch(&m_slots[home]);
        __builtin_prefetch(&m_positions[home]);
        if (m_trackFiles) __builtin_prefetch(&m_marks[home]);
    }
    // Once the slot of `hash` has arrived: asks for the stored tail of the word
    // there, when it may be the word of `length` (> kInlineBytes) being looked for.
    void PrefetchTail(std::uint64_t hash, std::size_t length) const {
        const Slot& home = m_slots[Home(hash)];
        if (length > kInlineBytes && home.lengthPlusOne == length + 1) {
            __builtin_prefetch(m_bytes.data() + home.rest + 8);
        }
    }
    // The longest word a slot holds whole.
    static constexpr std::size_t kInlineBytes = 16;
    // Whether the slots outgrew the cache (then fetching ahead pays).
    bool Large() const { return m_slots.size() > kCachedSlots; }

    // Adds every word of `other`, with its count and its files.
    void MergeFrom(const CountTable& other);

    std::size_t size() const { return m_size + m_longWords.size(); }

    // A distinct word (a view into this table, valid while it lives), its count
    // and the number of files it occurs in (0 when files are not tracked).
    struct CountedWord {
        std::string_view word;
        Count count;
        std::uint32_t files;
    };
    // Every distinct word, in ascending word order.
    std::vector<CountedWord> SortedWords() const;
    // The files of the words of a sorted visit, one word after another: word i's
    // are files[offsets[i]] up to files[offsets[i + 1]], ascending.
    struct FileLists {
        std::vector<std::uint64_t> offsets{0};
        std::vector<std::uint32_t> files;
    };
    // Calls visit(word, count, files) for every distinct word in ascending word
    // order, with the CountedWord's three parts, so that a caller building its
    // own list needs no second one. With `lists`, when files are tracked, each
    // word's files are appended to it as well.
    template <class Visit>
    void VisitSorted(Visit&& visit, FileLists* lists = nullptr) const;

  private:
    struct alignas(32) Slot {
        std::uint64_t prefix;  // the first eight bytes, zero-padded
        // Up to kInlineBytes: bytes 8 to 15, zero-padded (so that the word's
        // bytes are the slot's first bytes); longer: the word's offset in m_bytes.
        std::uint64_t rest;
        std::uint32_t tag;            // the high half of the hash
        std::uint32_t lengthPlusOne;  // 0 marks a free slot
        Count count;
    };
    // The files of the word in the slot of the same index: the first kFileBits
    // as bits, the others a list, newest first, in which a file may come more
    // than once.
    static constexpr std::uint32_t kFileBits = 64;
    struct FileMark {
        std::uint64_t bits = 0;         // file f < kFileBits is bit f
        std::uint32_t lastPlusOne = 0;  // the last file listed, plus one
        std::uint32_t head = 0;         // its link's index plus one; 0 for none
    };
    struct FileLink {
        std::uint32_t file;
        std::uint32_t next;  // index plus one; 0 ends the list
    };
    // The number of a word's last token, plus one (0: none yet), beside its slot.
    using PositionMark = std::uint32_t;
    struct LongWord {
        Count count = 0;
        std::vector<std::uint32_t> files;  // ascending, each once
        PositionMark position = 0;
    };

    // Whether two words of `length` > 8 bytes (those in the arena are longer
    // than kInlineBytes), whose first eight bytes are equal, are equal: eight
    // bytes at a time, the last load ending at the last byte.
    static bool SameTail(const char* a, const char* b, std::size_t length) {
        using word_hash::Load64;
        for (std::size_t i = 8; i + 8 < length; i += 8) {
            if (Load64(a + i) != Load64(b + i)) return false;
        }
        return Load64(a + length - 8) == Load64(b + length - 8);
    }

    std::string_view WordOf(const Slot& slot) const {
        const std::size_t length = slot.lengthPlusOne - 1u;
        if (length <= kInlineBytes) return {reinterpret_cast<const char*>(&slot), length};
        return {m_bytes.data() + slot.rest, length};
    }
    // Where the probe for a word of tag `tag` (or of hash `hash`) starts.
    std::size_t HomeOfTag(std::uint32_t tag) const {
        return static_cast<std::size_t>((std::uint64_t{tag} << 32) >> m_shift);
    }
    std::size_t Home(std::uint64_t hash) const {
        return HomeOfTag(static_cast<std::uint32_t>(hash >> 32));
    }
    // The index of the word's slot, which is filled when the word is new.
    // `second` is bytes 8 to 15 (word_hash.h), used only up to kInlineBytes.
    std::size_t Find(const char* word, std::size_t length, std::uint32_t tag, std::uint64_t prefix,
                     std::uint64_t second);
    // Fills the free slot `index` with a new word; kept off the counting path.
    [[gnu::noinline]] std::size_t Insert(const char* word, std::size_t length, std::uint32_t tag,
                                         std::uint64_t prefix, std::uint64_t rest,
                                         std::size_t index);
    // Whether `words` words fill the slots too densely: the table grows past 70%,
    // where a probe still finds its word in a cache line or two, and the memory a
    // large vocabulary takes (and the kernel must clear) stays small.
    bool Crowded(std::size_t words) const { return words * 10 > m_slots.size() * 7; }
    [[gnu::noinline]] LongWord& AddLongWord(std::string_view word, Count count);
    // Notes the current file for the word in slot `index`.
    void MarkFile(std::size_t index) {
        FileMark& mark = m_marks[index];
        mark.bits |= m_fileBit;
        if (m_fileBit == 0 && mark.lastPlusOne != m_file + 1) ListFile(index, m_file);
    }
    // Lists `file` (at least kFileBits) for the word in slot `index`.
    void ListFile(std::size_t index, std::uint32_t file);
    // Appends the files listed for the word in `table`'s slot `index`, as listed.
    static void CollectFiles(const CountTable& table, std::size_t index,
                             std::vector<std::uint32_t>& files);
    // Sorts `files` from `from` on and drops the repeats.
    static void SortFiles(std::vector<std::uint32_t>& files, std::size_t from);
    std::uint32_t FileCount(std::size_t index) const;
    // Appends the files of the word in slot `index`, ascending and each once;
    // returns how many.
    std::uint32_t AppendFiles(std::size_t index, std::vector<std::uint32_t>& files) const;
    // A word to sort: its first eight bytes, big-endian and zero-padded, so that
    // their order as a number is the words' order on those bytes; and its slot.
    struct SortKey {
        std::uint64_t prefix;
        std::size_t index;
    };
    // The keys of every word in a slot, in word order.
    std::vector<SortKey> SortedKeys() const;
    void MergeFiles(std::size_t index, const CountTable& other, std::size_t otherIndex);
    void Grow();

    std::vector<char> m_bytes;
    std::vector<Slot, HugePageAllocator<Slot>> m_slots;
    std::size_t m_mask;
    int m_shift;  // 64 less the bits of a slot index
    std::size_t m_size = 0;
    std::size_t m_longestSlotWord;
    std::map<std::string, LongWord, std::less<>> m_longWords;
    bool m_trackFiles = false;
    std::uint32_t m_file = 0;
    std::uint64_t m_fileBit = 1;    // m_file's bit, 0 past kFileBits
    std::vector<FileMark> m_marks;  // beside m_slots when files are tracked
    std::vector<FileLink> m_links;
    std::vector<std::uint32_t> m_fileScratch;  // for MergeFiles
    bool m_trackPositions = false;
    std::uint32_t m_blockFirst = 0;         // the number of the block's first token
    std::vector<PositionMark> m_positions;  // beside m_slots when positions are tracked
    // Makes `token` the last of the word marked `mark`; returns its position
    // before, plus one, when that was in this block (0 otherwise).
    std::uint32_t MoveMark(PositionMark& mark, std::uint32_t token) const {
        const std::uint32_t previousPlusOne = mark > m_blockFirst ? mark - m_blockFirst : 0;
        mark = token + 1;
        return previousPlusOne;
    }
};

// Inline: these run once per word of the corpus.

inline std::size_t CountTable::Find(const char* word, std::size_t length, std::uint32_t tag,
                                    std::uint64_t prefix, std::uint64_t second) {
    const auto lengthPlusOne = static_cast<std::uint32_t>(length + 1);
    const bool inlined = length <= kInlineBytes;
    const std::uint64_t rest = inlined ? second : 0;
    for (std::size_t index = HomeOfTag(tag);; index = (index + 1) & m_mask) {
        const Slot& slot = m_slots[index];
        if (slot.lengthPlusOne == 0) return Insert(word, length, tag, prefix, rest, index);
        if (slot.tag != tag || slot.lengthPlusOne != lengthPlusOne || slot.prefix != prefix) {
            continue;
        }
        if (inlined ? slot.rest == rest : SameTail(m_bytes.data() + slot.rest, word, length)) {
            return index;
        }
    }
}

inline void CountTable::Add(const char* word, std::size_t length, const word_hash::Key& key,
                            Count count) {
    if (length > m_longestSlotWord) {
        AddLongWord({word, length}, count);
        return;
    }
    const std::size_t index =
        Find(word, length, static_cast<std::uint32_t>(key.hash >> 32), key.prefix, key.second);
    m_slots[index].count += count;
    if (m_trackFiles) MarkFile(index);
}

inline std::uint32_t CountTable::AddAt(const char* word, std::size_t length,
                                       const word_hash::Key& key, std::uint32_t token) {
    if (length > m_longestSlotWord) {
        return MoveMark(AddLongWord({word, length}, 1).position, token);
    }
    const std::size_t index =
        Find(word, length, static_cast<std::uint32_t>(key.hash >> 32), key.prefix, key.second);
    m_slots[index].count += 1;
    if (m_trackFiles) MarkFile(index);
    return MoveMark(m_positions[index], token);
}

inline void CountTable::Add(std::string_view word, Count count) {
    Add(word.data(), word.size(), word_hash::KeyOf(word.data(), word.size()), count);
}

template <class Visit>
void CountTable::VisitSorted(Visit&& visit, FileLists* lists) const {
    if (!m_trackFiles) lists = nullptr;
    const std::vector<SortKey> keys = SortedKeys();
    auto longWord = m_longWords.begin();
    const auto visitLongWordsBefore = [&](const std::string_view* limit) {
        for (; longWord != m_longWords.end() &&
               (limit == nullptr || std::string_view(longWord->first) < *limit);
             ++longWord) {
            const std::vector<std::uint32_t>& files = longWord->second.files;
            if (lists != nullptr) {
                lists->files.insert(lists->files.end(), files.begin(), files.end());
                lists->offsets.push_back(lists->files.size());
            }
            visit(std::string_view(longWord->first), longWord->second.count,
                  static_cast<std::uint32_t>(files.size()));
        }
    };
    // The keys are in word order, their slots anywhere: each is asked for a few
    // words ahead, so that a table larger than the cache is read at memory's
    // pace rather than one miss at a time.
    constexpr std::size_t kAhead = 16;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (k + kAhead < keys.size()) {
            __builtin_prefetch(&m_slots[keys[k + kAhead].index]);
            if (m_trackFiles) __builtin_prefetch(&m_marks[keys[k + kAhead].index]);
        }
        const std::size_t index = keys[k].index;
        const std::string_view word = WordOf(m_slots[index]);
        visitLongWordsBefore(&word);
        std::uint32_t files = 0;
        if (lists != nullptr) {
            files = AppendFiles(index, lists->files);
            lists->offsets.push_back(lists->files.size());
        } else {
            files = FileCount(index);
        }
        visit(word, m_slots[index].count, files);
    }
    visitLongWordsBefore(nullptr);
}

}  // namespace tavro
