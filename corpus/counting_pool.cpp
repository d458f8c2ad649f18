#include "corpus/counting_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "corpus/char_classes.h"
#include "corpus/parallel.h"
#include "corpus/sorted_merge.h"
#include "corpus/tokenizer.h"

namespace tavro {

namespace {

// Where the piece of `bytes` that starts at `at` ends: after the last ASCII
// separator within kPiece bytes (so that no character, and no word, is cut), or
// after the first one past them.
std::size_t PieceEnd(std::string_view bytes, std::size_t at) {
    constexpr std::size_t kPiece = std::size_t{64} << 10;
    if (bytes.size() - at <= kPiece) return bytes.size();
    const auto separator = [&](std::size_t i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        return byte < 0x80 && !IsWordChar(byte);
    };
    for (std::size_t i = at + kPiece; i > at; --i) {
        if (separator(i - 1)) return i;
    }
    for (std::size_t i = at + kPiece; i < bytes.size(); ++i) {
        if (separator(i)) return i + 1;
    }
    return bytes.size();
}

}  // namespace

CountingPool::Worker::Worker(std::size_t index, std::size_t partitions, bool trackFiles)
    : index(index), local(partitions), owned(CountTable::kInitialSlots) {
    if (!trackFiles) return;
    local.TrackFiles();
    owned.TrackFiles();
}

CountingPool::CountingPool(int threads, bool trackFiles,
                           std::optional<std::size_t> routingThreshold)
    : m_threads(std::max(threads, 1)),
      m_routingThreshold(routingThreshold.value_or(RoutingThreshold(threads, trackFiles))) {
    const auto workers = static_cast<std::size_t>(m_threads);
    m_counters.reserve(workers);
    for (std::size_t w = 0; w < workers; ++w) {
        m_counters.push_back(std::make_unique<Worker>(w, workers, trackFiles));
    }
    m_maxQueued = 2 * workers;
    if (m_threads == 1) return;
    for (const std::unique_ptr<Worker>& worker : m_counters) {
        try {
            m_threadsRunning.emplace_back([this, &worker = *worker] { Work(worker); });
        } catch (const std::system_error&) {
            break;  // the system will not start more threads: go on with those running
        }
    }
    // A partition without a running owner would keep its routed words to the end.
    m_mayRoute = m_threadsRunning.size() == workers;
}

CountingPool::~CountingPool() { Stop(); }

void CountingPool::Deliver(std::size_t partition, RoutedWords batch) {
    std::lock_guard lock(m_mutex);
    m_counters[partition]->inbox.push_back(std::move(batch));
    m_changed.notify_all();
}

void CountingPool::CountInbox(Worker& worker) {
    std::vector<RoutedWords> inbox;
    {
        std::lock_guard lock(m_mutex);
        inbox.swap(worker.inbox);
    }
    for (const RoutedWords& batch : inbox) batch.CountInto(worker.owned);
}

void CountingPool::NoteWindows() {
    m_windows = true;
    m_mayRoute = false;  // a routed word would not reach the block's windows
}

void CountingPool::Count(Block& block, Worker& worker) {
    worker.local.SetFile(block.file);
    // The inbox's batches name their own files.
    worker.owned.SetFile(block.file);
    if (worker.router) worker.router->SetFile(block.file);
    std::optional<BlockWindows> windows;
    if (m_windows) {
        windows = BlockWindows::Open();
        worker.local.NoteWindows(&*windows);
    }
    WordSink& sink = worker.router ? static_cast<WordSink&>(*worker.router) : worker.local;
    Tokenizer tokenizer;
    if (block.encoding == TextEncoding::kCp1253) {
        tokenizer.Feed(block.bytes.data(), block.bytes.size(), sink);
    } else {
        // Decoded a piece at a time, so that the tokeniser reads each piece while
        // it is still in the cache.
        const std::string_view bytes = block.bytes;
        std::uint64_t bad = 0;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t end = PieceEnd(bytes, at);
            const std::span<char> decoded =
                worker.decoder.Decode(bytes.substr(at, end - at), block.encoding, at != 0);
            bad += worker.decoder.BadSequences();
            tokenizer.Feed(decoded.data(), decoded.size(), sink);
            at = end;
        }
        if (bad != 0) {
            if (worker.badSequences.size() <= block.file) {
                worker.badSequences.resize(std::size_t{block.file} + 1);
            }
            worker.badSequences[block.file] += bad;
        }
    }
    tokenizer.Finish(sink);
    if (windows) {
        worker.local.NoteWindows(nullptr);
        windows->Close();
        std::lock_guard lock(m_mutex);
        m_blockWindows[block.sequence] = std::move(*windows);
    }
    if (!worker.router && m_mayRoute && worker.local.size() > m_routingThreshold) {
        worker.router = std::make_unique<WordRouter>(
            worker.index, m_counters.size(), worker.owned, worker.local,
            [this](std::size_t partition, RoutedWords batch) {
                Deliver(partition, std::move(batch));
            });
        worker.router->SetFile(block.file);
    }
}

void CountingPool::RethrowFailure() {
    std::exception_ptr failure;
    {
        std::lock_guard lock(m_mutex);
        failure = m_failure;
    }
    if (failure) std::rethrow_exception(failure);
}

void CountingPool::Submit(BlockBuffer bytes, std::uint32_t file, TextEncoding encoding) {
    Block block{std::move(bytes), file, encoding, m_submitted++};
    if (m_windows) {
        std::lock_guard lock(m_mutex);
        m_blockWindows.resize(m_submitted);
    }
    if (m_threadsRunning.empty()) {
        Count(block, *m_counters.front());
        m_spare.push_back(std::move(block.bytes));
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < m_maxQueued || m_failure; });
    if (m_failure) std::rethrow_exception(m_failure);
    m_queue.push_back(std::move(block));
    m_changed.notify_all();
}

BlockBuffer CountingPool::TakeBuffer() {
    std::lock_guard lock(m_mutex);
    if (m_spare.empty()) return {};
    BlockBuffer buffer = std::move(m_spare.back());
    m_spare.pop_back();
    return buffer;
}

void CountingPool::Work(Worker& worker) {
    try {
        for (;;) {
            Block block;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] {
                    return !m_queue.empty() || !worker.inbox.empty() || m_closed || m_failure;
                });
                if (m_failure) return;
                if (m_queue.empty() && worker.inbox.empty()) return;  // closed, nothing left
                if (!m_queue.empty()) {
                    block = std::move(m_queue.front());
                    m_queue.pop_front();
                    m_changed.notify_all();
                }
            }
            CountInbox(worker);
            if (block.bytes.empty()) continue;
            Count(block, worker);
            std::lock_guard lock(m_mutex);
            m_spare.push_back(std::move(block.bytes));
        }
    } catch (...) {
        std::lock_guard lock(m_mutex);
        if (!m_failure) m_failure = std::current_exception();
        m_queue.clear();  // nothing more is counted; the caller learns on its next call
        m_changed.notify_all();
    }
}

void CountingPool::Abandon() {
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
    }
    Stop();
}

void CountingPool::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threadsRunning) thread.join();
    m_threadsRunning.clear();
}

namespace {

// Puts `tables` together into the largest of them, which it returns; the others
// are freed on the way.
CountTable& MergeInto(const std::vector<CountTable*>& tables) {
    CountTable* base =
        *std::max_element(tables.begin(), tables.end(),
                          [](CountTable* a, CountTable* b) { return a->size() < b->size(); });
    for (CountTable* table : tables) {
        if (table == base) continue;
        base->MergeFrom(*table);
        *table = CountTable(2);
    }
    return *base;
}

// The words of `table`, sorted, as entries (with their file counts when
// tracked); their files go to `files`.
SortedRun SortedEntries(const CountTable& table, CountTable::FileLists& files) {
    SortedRun run;
    // Reserved, not resized: the pages are touched only as the entries are made,
    // once the sort's scratch array is gone.
    run.entries.reserve(table.size());
    AdviseHugePages(run.entries);
    if (table.TracksFiles()) run.numbers.reserve(table.size());
    table.VisitSorted(
        [&](std::string_view word, Count count, std::uint32_t fileCount) {
            WordEntry& entry = run.entries.emplace_back();
            entry.word.assign(word);
            entry.count = count;
            if (table.TracksFiles()) run.numbers.push_back(fileCount);
        },
        &files);
    return run;
}

// The files of every entry of the merged `entries`, taken from the partitions'
// sorted words: each entry comes from the partition its hash picks, and each
// partition's words come in the merged order.
WordFiles GatherFiles(const std::vector<WordEntry>& entries,
                      const std::vector<CountTable::FileLists>& parts) {
    std::vector<std::size_t> next(parts.size(), 0);
    std::vector<std::uint64_t> offsets;
    offsets.reserve(entries.size() + 1);
    offsets.push_back(0);
    std::vector<std::uint32_t> all;
    for (const WordEntry& entry : entries) {
        const std::string_view word = entry.word;
        const std::uint64_t hash = word_hash::HashWithPrefix(
            word.data(), word.size(), word_hash::Prefix(word.data(), word.size()));
        const std::size_t p = WordCounter::PartitionOf(hash, parts.size());
        const std::size_t i = next[p]++;
        const CountTable::FileLists& part = parts[p];
        all.insert(all.end(), part.files.begin() + static_cast<std::ptrdiff_t>(part.offsets[i]),
                   part.files.begin() + static_cast<std::ptrdiff_t>(part.offsets[i + 1]));
        offsets.push_back(all.size());
    }
    return WordFiles(std::move(offsets), std::move(all));
}

}  // namespace

SortedCounts CountingPool::Finish() {
    Stop();
    RethrowFailure();
    for (const std::unique_ptr<Worker>& worker : m_counters) {
        if (worker->router) worker->router->Flush();
    }
    std::vector<std::uint64_t> badSequences;
    for (const std::unique_ptr<Worker>& worker : m_counters) {
        if (badSequences.size() < worker->badSequences.size()) {
            badSequences.resize(worker->badSequences.size());
        }
        for (std::size_t f = 0; f < worker->badSequences.size(); ++f) {
            badSequences[f] += worker->badSequences[f];
        }
    }
    const std::size_t partitions = m_counters.size();
    const bool trackFiles = m_counters.front()->local.Part(0).TracksFiles();
    std::vector<SortedRun> runs(partitions);
    std::vector<CountTable::FileLists> files(partitions);
    RunShares(partitions, m_threads, [&](std::size_t p) {
        Worker& owner = *m_counters[p];
        CountInbox(owner);
        std::vector<CountTable*> tables = {&owner.owned};
        for (const std::unique_ptr<Worker>& worker : m_counters) {
            tables.push_back(&worker->local.Part(p));
        }
        CountTable& merged = MergeInto(tables);
        runs[p] = SortedEntries(merged, files[p]);
        merged = CountTable(2);
    });
    m_counters.clear();
    SortedRun merged = MergeSortedRuns(runs, m_threads);
    SortedCounts sorted{std::move(merged.entries),
                        std::move(merged.numbers),
                        {},
                        std::nullopt,
                        std::move(badSequences)};
    if (trackFiles) sorted.files = GatherFiles(sorted.entries, files);
    if (m_windows) {
        WindowStream stream;
        for (const BlockWindows& block : m_blockWindows) stream.Add(block);
        sorted.windows = stream.Tally();
    }
    return sorted;
}

}  // namespace tavro
