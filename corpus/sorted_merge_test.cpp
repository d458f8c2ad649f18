#include "corpus/sorted_merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tavro {
namespace {

TEST(MergeSortedRuns, MergesDisjointRunsOfAnySizeOnAnyNumberOfThreads) {
    std::mt19937 random(9);
    for (const std::size_t words : {0, 1, 7, 120000}) {
        std::vector<std::string> all;
        for (std::size_t i = 0; i < words; ++i) all.push_back(std::to_string(random()) + "w");
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        for (const int threads : {1, 3}) {
            std::vector<SortedRun> runs(4);
            for (std::size_t i = 0; i < all.size(); ++i) {
                SortedRun& run = runs[random() % (i < 3 ? 1 : runs.size())];  // runs of any length
                run.entries.emplace_back(all[i], static_cast<Count>(i));
                run.numbers.push_back(static_cast<std::uint32_t>(i % 5));
            }
            const SortedRun merged = MergeSortedRuns(runs, threads);
            ASSERT_EQ(merged.entries.size(), all.size());
            for (std::size_t i = 0; i < all.size(); ++i) {
                ASSERT_EQ(merged.entries[i].word, all[i]) << i;
                EXPECT_EQ(merged.entries[i].count, static_cast<Count>(i));
                EXPECT_EQ(merged.numbers.at(i), i % 5);
            }
        }
    }
}

}  // namespace
}  // namespace tavro
