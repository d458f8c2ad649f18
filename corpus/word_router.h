// Handing words to the thread that owns them.
//
// When a counting run meets many distinct words, every thread's own table would
// come to hold most of them, and each would be counted, merged and sorted once
// per thread. Instead each thread then owns one partition of the words (by hash,
// word_counter.h) and counts only those: a router counts the words of its own
// partition in its thread's table and collects the others in batches, one per
// partition, which are delivered to their owners to count. Each distinct word
// ends in one table.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "corpus/count_table.h"
#include "corpus/word_counter.h"
#include "corpus/word_sink.h"

namespace tavro {

// A batch of words of one file on their way to their owner: per word, the high
// half of its hash and its length (four bytes each), then its bytes.
class RoutedWords {
  public:
    // What a batch's storage is made for: the batch size, and a long word more.
    static constexpr std::size_t kReservedBytes = (std::size_t{1} << 16) + 4096;

    explicit RoutedWords(std::uint32_t file = 0) : m_file(file) {}
    void Append(std::uint32_t tag, std::string_view word);
    std::size_t Bytes() const { return m_bytes.size(); }
    bool empty() const { return m_bytes.empty(); }
    // Counts every word of the batch into `table`, as words of its file.
    void CountInto(CountTable& table) const;

  private:
    std::vector<char> m_bytes;
    std::uint32_t m_file;
};

class WordRouter : public WordSink {
  public:
    // Hands a full batch of partition `partition` to its owner.
    using Deliver = std::function<void(std::size_t partition, RoutedWords batch)>;
    static constexpr std::size_t kBatchBytes = std::size_t{1} << 16;
    static_assert(kBatchBytes < RoutedWords::kReservedBytes);

    // Routes for the thread that owns partition `own` (of `partitions`) and
    // counts its words in `owned`; a word too long to route is counted in the
    // thread's own counter `local`, whose partitions are merged at the end.
    WordRouter(std::size_t own, std::size_t partitions, CountTable& owned, WordCounter& local,
               Deliver deliver);

    void Add(std::string_view word) override;
    void AddBatch(const PendingWord* words, std::size_t n) override;
    // The file the next words come from: the batches of the file before are
    // delivered, since a batch holds the words of one file.
    void SetFile(std::uint32_t file);
    // Delivers every batch that holds words.
    void Flush();

  private:
    void Route(const char* word, std::size_t length, const word_hash::Key& key);

    std::size_t m_own;
    CountTable& m_owned;
    WordCounter& m_local;
    Deliver m_deliver;
    std::vector<RoutedWords> m_outboxes;  // one per partition (the own one unused)
    std::uint32_t m_file = 0;
};

}  // namespace tavro
