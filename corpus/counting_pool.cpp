#include "corpus/counting_pool.h"

#include <algorithm>
#include <system_error>

#include "corpus/parallel.h"
#include "corpus/sorted_merge.h"
#include "corpus/tokenizer.h"

namespace tavro {

CountingPool::CountingPool(int threads, bool trackFiles)
    : m_threads(std::max(threads, 1)), m_trackFiles(trackFiles) {
    const auto counters = static_cast<std::size_t>(m_threads);
    m_counters.reserve(counters);
    for (std::size_t c = 0; c < counters; ++c) {
        m_counters.emplace_back(counters);
        if (trackFiles) m_counters.back().TrackFiles();
    }
    m_maxQueued = 2 * counters;
    if (m_threads == 1) return;
    for (WordCounter& counter : m_counters) {
        try {
            m_workers.emplace_back([this, &counter] { Work(counter); });
        } catch (const std::system_error&) {
            break;  // the system will not start more threads: go on with those running
        }
    }
}

CountingPool::~CountingPool() { Stop(); }

void CountingPool::Count(Block& block, WordCounter& counter) {
    counter.SetFile(block.file);
    Tokenizer tokenizer;
    tokenizer.Feed(block.bytes.data(), block.bytes.size(), counter);
    tokenizer.Finish(counter);
}

void CountingPool::RethrowFailure() {
    std::exception_ptr failure;
    {
        std::lock_guard lock(m_mutex);
        failure = m_failure;
    }
    if (failure) std::rethrow_exception(failure);
}

void CountingPool::Submit(std::string bytes, std::uint32_t file) {
    Block block{std::move(bytes), file};
    if (m_workers.empty()) {
        Count(block, m_counters.front());
        m_spare.push_back(std::move(block.bytes));
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < m_maxQueued || m_failure; });
    if (m_failure) std::rethrow_exception(m_failure);
    m_queue.push_back(std::move(block));
    m_changed.notify_all();
}

std::string CountingPool::TakeBuffer() {
    std::lock_guard lock(m_mutex);
    if (m_spare.empty()) return {};
    std::string buffer = std::move(m_spare.back());
    m_spare.pop_back();
    return buffer;
}

void CountingPool::Work(WordCounter& counter) {
    for (;;) {
        Block block;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
            if (m_queue.empty()) return;
            block = std::move(m_queue.front());
            m_queue.pop_front();
            m_changed.notify_all();
        }
        try {
            Count(block, counter);
        } catch (...) {
            std::lock_guard lock(m_mutex);
            if (!m_failure) m_failure = std::current_exception();
            m_queue.clear();  // nothing more is counted; the caller learns on its next call
            m_changed.notify_all();
            return;
        }
        std::lock_guard lock(m_mutex);
        m_spare.push_back(std::move(block.bytes));
    }
}

void CountingPool::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    for (std::thread& worker : m_workers) worker.join();
    m_workers.clear();
}

namespace {

// Merges one partition of every counter into the largest of them and returns its
// words, sorted, as entries; the partition's tables are freed on the way.
SortedRun SortPartition(std::vector<WordCounter>& counters, std::size_t partition) {
    CountTable* base = &counters.front().Part(partition);
    for (WordCounter& counter : counters) {
        if (counter.Part(partition).size() > base->size()) base = &counter.Part(partition);
    }
    for (WordCounter& counter : counters) {
        CountTable& table = counter.Part(partition);
        if (&table == base) continue;
        base->MergeFrom(table);
        table = CountTable(2);
    }
    SortedRun run;
    const std::vector<CountTable::CountedWord> words = base->SortedWords();
    run.entries.resize(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        run.entries[i].word.assign(words[i].word);
        run.entries[i].count = words[i].count;
    }
    if (base->TracksFiles()) {
        run.numbers.resize(words.size());
        for (std::size_t i = 0; i < words.size(); ++i) run.numbers[i] = words[i].files;
    }
    *base = CountTable(2);
    return run;
}

}  // namespace

SortedCounts CountingPool::Finish() {
    Stop();
    RethrowFailure();
    const std::size_t partitions = m_counters.front().Partitions();
    std::vector<SortedRun> runs(partitions);
    RunShares(partitions, m_threads,
              [&](std::size_t p) { runs[p] = SortPartition(m_counters, p); });
    m_counters.clear();
    SortedRun merged = MergeSortedRuns(runs, m_threads);
    return {std::move(merged.entries), std::move(merged.numbers)};
}

}  // namespace tavro
