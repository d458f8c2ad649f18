// A counting thread's words: count tables split by hash into partitions.
//
// Every word goes to the partition its hash picks, the same partition in every
// thread's counter, so that at the end each partition can be merged, sorted and
// turned into entries on a thread of its own, and the partitions' sorted lists
// only have to be merged in order. AddBatch hashes a batch of words and, once
// the tables outgrow the cache, prefetches their slots before it counts them,
// so that a large vocabulary waits for memory once per batch rather than once
// per word. Words are taken as given (already folded).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "corpus/count_table.h"
#include "corpus/token_windows.h"
#include "corpus/word_sink.h"

namespace tavro {

class WordCounter : public WordSink {
  public:
    // `partitions` tables (at least one); see CountTable for the rest.
    explicit WordCounter(std::size_t partitions = 1,
                         std::size_t longestSlotWord = CountTable::kLongestSlotWord);

    // Adds `count` occurrences of `word`.
    void Add(std::string_view word, Count count);
    void Add(std::string_view word) override {
        const PendingWord pending{word.data(), word.size()};
        const word_hash::Key key = word_hash::KeyOf(word.data(), word.size());
        CountKeyed(&pending, &key, 1);
    }
    void AddBatch(const PendingWord* words, std::size_t n) override;

    // Files: see CountTable.
    void TrackFiles();
    void SetFile(std::uint32_t file);
    // Notes every word added one at a time or in batches in `windows` as well,
    // from now on (null: no longer); a new `windows` is a new block.
    void NoteWindows(BlockWindows* windows);

    // The partition a word of `hash` belongs to, out of `partitions`: picked by
    // the low half of the hash, since the tables pick slots by the high half.
    static std::size_t PartitionOf(std::uint64_t hash, std::size_t partitions) {
        return static_cast<std::size_t>(((hash & 0xFFFFFFFFu) * partitions) >> 32);
    }
    std::size_t Partitions() const { return m_parts.size(); }
    CountTable& Part(std::size_t partition) { return m_parts[partition]; }
    const CountTable& Part(std::size_t partition) const { return m_parts[partition]; }

    std::size_t size() const;

  private:
    // Counts `n` words whose keys are known.
    void CountKeyed(const PendingWord* words, const word_hash::Key* keys, std::size_t n);
    CountTable& PartFor(std::uint64_t hash) { return m_parts[PartitionOf(hash, m_parts.size())]; }

    std::vector<CountTable> m_parts;
    bool m_large = false;  // some table outgrew the cache: fetch ahead
    BlockWindows* m_windows = nullptr;
    bool m_positionsTracked = false;
    std::uint32_t m_firstToken = 0;  // the number of the block's first token
};

// Inline: these run once per word of the corpus.

inline void WordCounter::Add(std::string_view word, Count count) {
    const word_hash::Key key = word_hash::KeyOf(word.data(), word.size());
    PartFor(key.hash).Add(word.data(), word.size(), key, count);
}

inline void WordCounter::AddBatch(const PendingWord* words, std::size_t n) {
    word_hash::Key keys[kBatch];
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = word_hash::KeyOfPadded(words[i].data, words[i].length);
    CountKeyed(words, keys, n);
}

inline void WordCounter::CountKeyed(const PendingWord* words, const word_hash::Key* keys,
                                    std::size_t n) {
    if (m_large) {
        for (std::size_t i = 0; i < n; ++i) PartFor(keys[i].hash).Prefetch(keys[i].hash);
        // By now the first slots have arrived: fetch the stored tails of long words.
        for (std::size_t i = 0; i < n; ++i) {
            if (words[i].length > CountTable::kInlineBytes) {
                PartFor(keys[i].hash).PrefetchTail(keys[i].hash, words[i].length);
            }
        }
    }
    if (m_windows == nullptr) {
        for (std::size_t i = 0; i < n; ++i) {
            PartFor(keys[i].hash).Add(words[i].data, words[i].length, keys[i], 1);
        }
    } else {
        std::uint64_t hashes[kBatch];
        std::uint32_t previousPlusOne[kBatch];
        const std::uint32_t first = m_firstToken + m_windows->Next();
        for (std::size_t i = 0; i < n; ++i) PartFor(keys[i].hash).PrefetchWithMarks(keys[i].hash);
        for (std::size_t i = 0; i < n; ++i) {
            hashes[i] = keys[i].hash;
            previousPlusOne[i] = PartFor(keys[i].hash)
                                     .AddAt(words[i].data, words[i].length, keys[i],
                                            first + static_cast<std::uint32_t>(i));
        }
        m_windows->Note(hashes, previousPlusOne, n);
    }
    // The partitions grow alike: one of them tells when they outgrow the cache.
    if (!m_large && n != 0) m_large = PartFor(keys[0].hash).Large();
}

}  // namespace tavro
