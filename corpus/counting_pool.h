// Counts blocks of text on worker threads, each into a counter of its own.
//
// Every counter is split into the same partitions by hash (word_counter.h), so
// that Finish can merge, sort and turn each partition into entries on a thread
// of its own; the sorted partitions are then merged in word order, also in
// parallel, split at common words. Counting does not depend on the order of the
// blocks, so the result equals counting them one after another. Blocks of one
// file carry its index, so that the files each word occurs in can be counted.
//
// With one thread the blocks are counted on the calling thread as they are
// submitted, and so they are when no worker thread could be started; when only
// some could, the pool works with those. Memory running out on a worker is
// rethrown, as std::bad_alloc, on the calling thread by the next Submit or by
// Finish.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "corpus/word_counter.h"

namespace tavro {

// Every distinct word of a run in ascending word order, with its count and,
// when files were tracked, the number of files it occurs in.
struct SortedCounts {
    std::vector<WordEntry> entries;
    std::vector<std::uint32_t> fileCounts;  // beside entries; empty when not tracked
};

class CountingPool {
public:
    // `trackFiles`: count the files each word occurs in as well.
    CountingPool(int threads, bool trackFiles);
    ~CountingPool();
    CountingPool(const CountingPool&) = delete;
    CountingPool& operator=(const CountingPool&) = delete;

    // A block that tokenises on its own (see BlockReader), from the file of index
    // `file` (files in ascending order). Waits while too many blocks are queued,
    // so memory stays bounded.
    void Submit(std::string block, std::uint32_t file);

    // A buffer to read the next block into (recycled storage when there is some).
    std::string TakeBuffer();

    // Waits for every block, stops the workers and returns the counted words.
    SortedCounts Finish();

private:
    struct Block {
        std::string bytes;
        std::uint32_t file;
    };
    void Work(WordCounter& counter);
    void Count(Block& block, WordCounter& counter);
    void Stop();
    void RethrowFailure();

    int m_threads;
    bool m_trackFiles;
    std::vector<WordCounter> m_counters;  // one per worker, or one for the caller
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_queue;
    std::vector<std::string> m_spare;
    std::size_t m_maxQueued;
    bool m_closed = false;
    std::exception_ptr m_failure;  // what a worker met, for the calling thread
};

}  // namespace tavro
