// Counts blocks of text on worker threads.
//
// Every worker counts into a counter of its own, split into as many partitions
// by hash as there are workers (word_counter.h). A worker whose counter comes to
// hold many distinct words then switches to routing (word_router.h): from then
// on it counts only the words of the partition it owns, and hands every other
// word to that partition's owner, so that a large vocabulary is counted once, not
// once per thread. At the end each partition is put together on a thread of its
// own (what its owner counted, the routed words it still holds, and that
// partition of every worker's own counter), sorted and turned into entries, and
// the sorted partitions are merged in word order, also in parallel. Counting
// does not depend on the order of the blocks, so the result equals counting them
// one after another.
//
// A block in another encoding than code page 1253 is decoded into cp1253 on the
// worker that counts it, just before it is tokenised (text_encoding.h); the
// malformed sequences it held are counted per file.
//
// Blocks of one file carry its index, so that the files each word occurs in can
// be counted; a routed batch carries the file of its words. With one thread the blocks are counted
// on the calling thread as they are submitted, and so they are when no worker thread could be
// started; when only some could, the pool works with those, without routing. Memory running out on
// a worker is rethrown, as std::bad_alloc, on the calling thread by the next Submit or by Finish.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "corpus/block_buffer.h"
#include "corpus/token_windows.h"
#include "corpus/word_counter.h"
#include "corpus/word_files.h"
#include "corpus/word_router.h"
#include "platform/text_encoding.h"

namespace tavro {

// Every distinct word of a run in ascending word order, with its count and,
// when files were tracked, the number of files it occurs in.
struct SortedCounts {
    std::vector<WordEntry> entries;
    std::vector<std::uint32_t> fileCounts;  // beside entries; empty when not tracked
    WordFiles files;                        // beside entries: their files, when tracked
    std::optional<WindowTally> windows;     // when the blocks were taken in windows
    // Per file index, the malformed sequences its blocks held (files past the
    // end of the vector held none).
    std::vector<std::uint64_t> badSequences;
};

class CountingPool {
  public:
    // Distinct words in a worker's own counter beyond which it routes. Routing
    // costs a copy and a second pass per word, which pays only once every
    // thread holding every word costs more: with two threads past about a
    // million words, with more threads sooner (each holds them all), and much
    // sooner when files are tracked (their marks are merged word by word).
    static std::size_t RoutingThreshold(int threads, bool trackFiles) {
        const std::size_t perThread =
            (std::size_t{2} << 20) / static_cast<std::size_t>(std::max(threads, 1));
        return trackFiles ? perThread / 8 : perThread;
    }

    // `trackFiles`: count the files each word occurs in as well.
    // `routingThreshold`: RoutingThreshold when not given.
    CountingPool(int threads, bool trackFiles,
                 std::optional<std::size_t> routingThreshold = std::nullopt);
    ~CountingPool();
    CountingPool(const CountingPool&) = delete;
    CountingPool& operator=(const CountingPool&) = delete;

    // A block that tokenises on its own (see BlockReader), from the file of index
    // `file`, in `encoding`. Waits while too many
    // blocks are queued, so memory stays bounded.
    void Submit(BlockBuffer block, std::uint32_t file,
                TextEncoding encoding = TextEncoding::kCp1253);

    // Takes the blocks' text in windows (token_windows.h) as well, in the order
    // they are submitted; call before the first Submit. Such runs do not route.
    void NoteWindows();

    // A buffer to read the next block into (recycled storage when there is some).
    BlockBuffer TakeBuffer();

    // Waits for every block, stops the workers and returns the counted words.
    SortedCounts Finish();

    // Drops the blocks not yet taken up and stops the workers once the blocks
    // in hand are counted: for a run that stops before its end.
    void Abandon();

  private:
    struct Block {
        BlockBuffer bytes;
        std::uint32_t file = 0;
        TextEncoding encoding = TextEncoding::kCp1253;
        std::size_t sequence = 0;  // its place among the blocks submitted
    };
    // What one worker counts into.
    struct Worker {
        Worker(std::size_t index, std::size_t partitions, bool trackFiles);
        std::size_t index;                        // also the partition it owns
        WordCounter local;                        // every partition, until it routes
        CountTable owned;                         // the partition this worker owns
        std::unique_ptr<WordRouter> router;       // set once it routes
        std::vector<RoutedWords> inbox;           // routed to it, not yet counted (m_mutex)
        Cp1253Decoder decoder{true};              // for blocks in another encoding
        std::vector<std::uint64_t> badSequences;  // per file index
    };

    void Work(Worker& worker);
    void Count(Block& block, Worker& worker);
    void CountInbox(Worker& worker);
    void Deliver(std::size_t partition, RoutedWords batch);
    void Stop();
    void RethrowFailure();

    int m_threads;
    std::size_t m_routingThreshold;
    bool m_mayRoute = false;  // every worker started, and the windows are not noted
    std::vector<std::unique_ptr<Worker>> m_counters;  // one per worker, or one for the caller
    std::vector<std::thread> m_threadsRunning;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_queue;
    std::vector<BlockBuffer> m_spare;
    std::size_t m_maxQueued;
    bool m_closed = false;
    std::exception_ptr m_failure;  // what a worker met, for the calling thread
    bool m_windows = false;
    std::size_t m_submitted = 0;
    std::vector<BlockWindows> m_blockWindows;  // per block, in submission order (m_mutex)
};

}  // namespace tavro
