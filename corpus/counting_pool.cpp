#include "corpus/counting_pool.h"

#include "corpus/tokenizer.h"

namespace tavro {

int CountingPool::ThreadsFor(int requested) {
    if (requested > 0) return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

CountingPool::CountingPool(int threads)
    : m_counters(static_cast<std::size_t>(std::max(threads, 1))),
      m_maxQueued(2 * m_counters.size()) {
    if (threads <= 1) return;
    for (WordCounter& counter : m_counters) {
        m_workers.emplace_back([this, &counter] { Work(counter); });
    }
}

CountingPool::~CountingPool() { Stop(); }

void CountingPool::Count(std::string& block, WordCounter& counter) {
    Tokenizer tokenizer;
    tokenizer.Feed(block.data(), block.size(), counter);
    tokenizer.Finish(counter);
}

void CountingPool::Submit(std::string block) {
    if (m_workers.empty()) {
        Count(block, m_counters.front());
        m_spare.push_back(std::move(block));
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < m_maxQueued; });
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
        std::string block;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_queue.empty() || m_closed; });
            if (m_queue.empty()) return;
            block = std::move(m_queue.front());
            m_queue.pop_front();
            m_changed.notify_all();
        }
        Count(block, counter);
        std::lock_guard lock(m_mutex);
        m_spare.push_back(std::move(block));
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

WordCounter CountingPool::Finish() {
    Stop();
    WordCounter merged = std::move(m_counters.front());
    for (std::size_t i = 1; i < m_counters.size(); ++i) merged.Merge(m_counters[i]);
    return merged;
}

}  // namespace tavro
