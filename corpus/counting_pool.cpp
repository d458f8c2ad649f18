#include "corpus/counting_pool.h"

#include <algorithm>
#include <system_error>

#include "corpus/parallel.h"
#include "corpus/tokenizer.h"

namespace tavro {

CountingPool::CountingPool(int threads)
    : m_counters(static_cast<std::size_t>(std::max(threads, 1))),
      m_maxQueued(2 * m_counters.size()) {
    if (threads <= 1) return;
    for (WordCounter& counter : m_counters) {
        try {
            m_workers.emplace_back([this, &counter] { Work(counter); });
        } catch (const std::system_error&) {
            break;  // the system will not start more threads: go on with those running
        }
    }
}

CountingPool::~CountingPool() { Stop(); }

void CountingPool::Count(std::string& block, WordCounter& counter) {
    Tokenizer tokenizer;
    tokenizer.Feed(block.data(), block.size(), counter);
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

void CountingPool::Submit(std::string block) {
    if (m_workers.empty()) {
        Count(block, m_counters.front());
        m_spare.push_back(std::move(block));
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
        std::string block;
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

namespace {

using CountedWord = WordCounter::CountedWord;

// The union of two ascending lists; a word in both gets the sum of its counts.
std::vector<CountedWord> MergeSorted(const std::vector<CountedWord>& a,
                                     const std::vector<CountedWord>& b) {
    std::vector<CountedWord> merged;
    merged.reserve(std::max(a.size(), b.size()));
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const int order = CompareWords(a[i].word, b[j].word);
        if (order < 0) {
            merged.push_back(a[i++]);
        } else if (order > 0) {
            merged.push_back(b[j++]);
        } else {
            merged.push_back({a[i].word, a[i].count + b[j].count});
            ++i;
            ++j;
        }
    }
    merged.insert(merged.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
    merged.insert(merged.end(), b.begin() + static_cast<std::ptrdiff_t>(j), b.end());
    return merged;
}

}  // namespace

std::vector<WordEntry> CountingPool::Finish() {
    Stop();
    RethrowFailure();
    std::vector<std::vector<CountedWord>> lists(m_counters.size());
    RunShares(m_counters.size(), static_cast<int>(m_counters.size()),
              [&](std::size_t c) { lists[c] = m_counters[c].SortedWords(); });
    while (lists.size() > 1) {
        std::vector<CountedWord> last = std::move(lists.back());
        lists.pop_back();
        lists.back() = MergeSorted(lists.back(), last);
    }
    std::vector<WordEntry> entries(lists.front().size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].word.assign(lists.front()[i].word);
        entries[i].count = lists.front()[i].count;
    }
    m_counters.clear();  // the words were views into the counters
    return entries;
}

}  // namespace tavro
