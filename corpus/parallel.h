// Sharing work out among threads.
//
// ThreadsFor decides how many threads a run uses. RunShares runs a number of
// independent shares of work on that many threads at most, the calling thread
// among them; when the system refuses to start a thread, the threads that did
// start (or the caller alone) do all the shares. The first exception a share
// throws stops the shares not yet begun and is rethrown on the calling thread.
#pragma once

#include <cstddef>
#include <functional>

namespace tavro {

// Every thread of a run keeps tables of its own: this bounds the memory.
inline constexpr int kMaxThreads = 256;

// The number of threads to use when the caller asks for `requested` (0: all
// cores), from 1 to kMaxThreads.
int ThreadsFor(int requested);

// Calls `work(share)` for every share from 0 to shares - 1, on up to `threads`
// threads; returns when all are done.
void RunShares(std::size_t shares, int threads, const std::function<void(std::size_t)>& work);

}  // namespace tavro
