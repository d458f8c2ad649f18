#include "corpus/sorted_merge.h"

#include <algorithm>
#include <queue>
#include <string_view>
#include <utility>

#include "corpus/huge_page_allocator.h"
#include "corpus/parallel.h"

namespace tavro {
namespace {

bool WordLess(const WordEntry& a, const WordEntry& b) { return a.word < b.word; }

// Where each run is cut for each share: cuts[s][r] is the first entry of run r
// that belongs to share s or later.
std::vector<std::vector<std::size_t>> CutRuns(const std::vector<SortedRun>& runs,
                                              std::size_t shares) {
    const SortedRun& longest = *std::max_element(
        runs.begin(), runs.end(),
        [](const SortedRun& a, const SortedRun& b) { return a.entries.size() < b.entries.size(); });
    std::vector<std::vector<std::size_t>> cuts(shares + 1, std::vector<std::size_t>(runs.size()));
    for (std::size_t r = 0; r < runs.size(); ++r) cuts[shares][r] = runs[r].entries.size();
    for (std::size_t s = 1; s < shares; ++s) {
        const WordEntry& splitter = longest.entries[s * longest.entries.size() / shares];
        for (std::size_t r = 0; r < runs.size(); ++r) {
            const std::vector<WordEntry>& entries = runs[r].entries;
            cuts[s][r] = static_cast<std::size_t>(
                std::lower_bound(entries.begin(), entries.end(), splitter, WordLess) -
                entries.begin());
        }
    }
    return cuts;
}

// Merges [from[r], to[r]) of every run into `out` from `at` on.
void MergeShare(std::vector<SortedRun>& runs, const std::vector<std::size_t>& from,
                const std::vector<std::size_t>& to, SortedRun& out, std::size_t at) {
    const bool numbers = !out.numbers.empty();
    const auto take = [&](std::size_t r, std::size_t i) {
        out.entries[at] = std::move(runs[r].entries[i]);
        if (numbers) out.numbers[at] = runs[r].numbers[i];
        ++at;
    };
    using Head = std::pair<std::string_view, std::size_t>;  // a run's next word, and the run
    std::priority_queue<Head, std::vector<Head>, std::greater<>> heads;
    std::vector<std::size_t> next = from;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (next[r] < to[r]) heads.emplace(runs[r].entries[next[r]].word, r);
    }
    while (!heads.empty()) {
        const std::size_t r = heads.top().second;
        heads.pop();
        take(r, next[r]++);
        if (next[r] < to[r]) heads.emplace(runs[r].entries[next[r]].word, r);
    }
}

}  // namespace

SortedRun MergeSortedRuns(std::vector<SortedRun>& runs, int threads) {
    SortedRun merged;
    if (runs.empty()) return merged;
    if (runs.size() == 1) return std::exchange(runs.front(), {});
    std::size_t total = 0;
    for (const SortedRun& run : runs) total += run.entries.size();
    merged.entries.reserve(total);
    AdviseHugePages(merged.entries);
    merged.entries.resize(total);
    const bool numbers = std::any_of(runs.begin(), runs.end(),
                                     [](const SortedRun& run) { return !run.numbers.empty(); });
    if (numbers) merged.numbers.resize(total);

    const std::size_t shares = total < 50000 ? 1 : 4 * static_cast<std::size_t>(threads);
    const std::vector<std::vector<std::size_t>> cuts = CutRuns(runs, shares);
    RunShares(shares, threads, [&](std::size_t s) {
        std::size_t at = 0;
        for (const std::size_t cut : cuts[s]) at += cut;
        MergeShare(runs, cuts[s], cuts[s + 1], merged, at);
    });
    for (SortedRun& run : runs) run = {};
    return merged;
}

}  // namespace tavro
