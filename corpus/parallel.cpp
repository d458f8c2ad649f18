#include "corpus/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tavro {

int ThreadsFor(int requested) {
    if (requested > 0) return std::min(requested, kMaxThreads);
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(static_cast<int>(cores), 1, kMaxThreads);
}

void RunShares(std::size_t shares, int threads, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureMutex;
    const auto drain = [&] {
        for (std::size_t share; !failed.load() && (share = next++) < shares;) {
            try {
                work(share);
            } catch (...) {
                std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
                failed = true;
            }
        }
    };
    std::vector<std::thread> helpers;
    const std::size_t wanted = std::min<std::size_t>(shares, static_cast<std::size_t>(threads));
    for (std::size_t t = 1; t < wanted; ++t) {
        try {
            helpers.emplace_back(drain);
        } catch (const std::system_error&) {
            break;  // go on with the threads that started
        }
    }
    drain();
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tavro
