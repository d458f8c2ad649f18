#include "corpus/word_router.h"

#include <cstring>
#include <utility>

namespace tavro {
namespace {

void AppendNumber(std::vector<char>& bytes, std::uint32_t number) {
    const std::size_t at = bytes.size();
    bytes.resize(at + sizeof number);
    std::memcpy(bytes.data() + at, &number, sizeof number);
}

std::uint32_t NumberAt(const char* p) {
    std::uint32_t number;
    std::memcpy(&number, p, sizeof number);
    return number;
}

}  // namespace

void RoutedWords::Append(std::uint32_t tag, std::string_view word) {
    // Room for a whole batch at once: a batch that grew by doubling would pass
    // the size the allocator maps afresh (and the kernel clears) every time.
    if (m_bytes.capacity() == 0) m_bytes.reserve(kReservedBytes);
    AppendNumber(m_bytes, tag);
    AppendNumber(m_bytes, static_cast<std::uint32_t>(word.size()));
    m_bytes.insert(m_bytes.end(), word.begin(), word.end());
}

void RoutedWords::CountInto(CountTable& table) const {
    table.SetFile(m_file);
    struct Word {
        const char* data;
        std::uint32_t length;
        std::uint64_t hash;  // only its high half, the tag, is known
    };
    Word batch[WordSink::kBatch];
    const char* at = m_bytes.data();
    const char* end = at + m_bytes.size();
    while (at != end) {
        std::size_t n = 0;
        for (; n < WordSink::kBatch && at != end; ++n) {
            batch[n] = {at + 8, NumberAt(at + 4), std::uint64_t{NumberAt(at)} << 32};
            at += 8 + batch[n].length;
            if (table.Large()) table.Prefetch(batch[n].hash);
        }
        for (std::size_t i = 0; i < n; ++i) {
            // The bytes after a word are the next word's, so all but the last
            // few can be read as a batch's words are (word_sink.h).
            const char* word = batch[i].data;
            const std::size_t length = batch[i].length;
            const bool padded = static_cast<std::size_t>(end - word) >= word_hash::kPaddedReadBytes;
            word_hash::Key key =
                padded ? word_hash::KeyOfPadded(word, length) : word_hash::KeyOf(word, length);
            key.hash = batch[i].hash;  // only the tag picks the slot
            table.Add(word, length, key, 1);
        }
    }
}

WordRouter::WordRouter(std::size_t own, std::size_t partitions, CountTable& owned,
                       WordCounter& local, Deliver deliver)
    : m_own(own),
      m_owned(owned),
      m_local(local),
      m_deliver(std::move(deliver)),
      m_outboxes(partitions) {}

void WordRouter::Route(const char* word, std::size_t length, const word_hash::Key& key) {
    const std::uint64_t hash = key.hash;
    const std::size_t partition = WordCounter::PartitionOf(hash, m_outboxes.size());
    if (partition == m_own) return m_owned.Add(word, length, key, 1);
    if (length > CountTable::kLongestSlotWord) return m_local.Add({word, length}, 1);
    RoutedWords& outbox = m_outboxes[partition];
    outbox.Append(static_cast<std::uint32_t>(hash >> 32), {word, length});
    if (outbox.Bytes() >= kBatchBytes) {
        m_deliver(partition, std::exchange(outbox, RoutedWords(m_file)));
    }
}

void WordRouter::Add(std::string_view word) {
    Route(word.data(), word.size(), word_hash::KeyOf(word.data(), word.size()));
}

void WordRouter::AddBatch(const PendingWord* words, std::size_t n) {
    word_hash::Key keys[kBatch];
    const bool fetchAhead = m_owned.Large();
    for (std::size_t i = 0; i < n; ++i) {
        keys[i] = word_hash::KeyOfPadded(words[i].data, words[i].length);
        // The words this thread counts itself wait for memory once per batch.
        if (fetchAhead && WordCounter::PartitionOf(keys[i].hash, m_outboxes.size()) == m_own) {
            m_owned.Prefetch(keys[i].hash);
        }
    }
    for (std::size_t i = 0; i < n; ++i) Route(words[i].data, words[i].length, keys[i]);
}

void WordRouter::Flush() {
    for (std::size_t p = 0; p < m_outboxes.size(); ++p) {
        if (!m_outboxes[p].empty()) m_deliver(p, std::exchange(m_outboxes[p], RoutedWords(m_file)));
    }
}

void WordRouter::SetFile(std::uint32_t file) {
    if (file == m_file) return;
    Flush();
    m_file = file;
    for (RoutedWords& outbox : m_outboxes) outbox = RoutedWords(file);
    m_owned.SetFile(file);
}

}  // namespace tavro
