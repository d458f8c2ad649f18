// Counts blocks of text on worker threads, each into a counter of its own; the
// counters are merged at the end. Counting does not depend on the order of the
// blocks, so the result equals counting them one after another. With one thread
// the blocks are counted on the calling thread as they are submitted, and so
// they are when no worker thread could be started; when only some could, the
// pool works with those. Memory running out on a worker is rethrown, as
// std::bad_alloc, on the calling thread by the next Submit or by Finish.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "corpus/word_counter.h"

namespace tavro {

class CountingPool {
  public:
    explicit CountingPool(int threads);
    ~CountingPool();
    CountingPool(const CountingPool&) = delete;
    CountingPool& operator=(const CountingPool&) = delete;

    // A block that tokenises on its own (see BlockReader). Waits while too many
    // blocks are queued, so memory stays bounded.
    void Submit(std::string block);

    // A buffer to read the next block into (recycled storage when there is some).
    std::string TakeBuffer();

    // Waits for every block, stops the workers and returns every distinct word with
    // its total count, in ascending word order. Each worker's counts are sorted on a
    // thread of their own, then the sorted lists are merged.
    std::vector<WordEntry> Finish();

  private:
    void Work(WordCounter& counter);
    void Count(std::string& block, WordCounter& counter);
    void Stop();
    void RethrowFailure();

    std::vector<WordCounter> m_counters;  // one per worker, or one for the caller
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_queue;
    std::vector<std::string> m_spare;
    std::size_t m_maxQueued;
    bool m_closed = false;
    std::exception_ptr m_failure;  // what a worker met, for the calling thread
};

}  // namespace tavro
