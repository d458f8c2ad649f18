#include "corpus/counting_pool.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace tavro {
namespace {

using Counts = std::map<std::string, Count>;

// Blocks of random words from a vocabulary of `vocabulary` words.
std::vector<std::string> Blocks(std::size_t blocks, std::size_t vocabulary, Counts& reference) {
    std::mt19937 random(21);
    std::vector<std::string> texts;
    for (std::size_t b = 0; b < blocks; ++b) {
        std::string text;
        for (int i = 0; i < 4000; ++i) {
            const std::string word = std::string("w").append(std::to_string(random() % vocabulary));
            text.append(word).append(i % 10 == 9 ? "\n" : " ");
            ++reference[word];
        }
        texts.push_back(text);
    }
    return texts;
}

Counts CountsOf(const SortedCounts& sorted) {
    Counts counts;
    for (const WordEntry& entry : sorted.entries) counts[entry.word] = entry.count;
    return counts;
}

// Workers that route (a threshold this low makes every worker route after its
// first block) count exactly what workers that never route count.
TEST(CountingPool, RoutingWorkersCountWhatTheOthersCount) {
    Counts reference;
    const std::vector<std::string> blocks = Blocks(60, 30000, reference);
    for (const std::size_t threshold :
         {std::size_t{0}, std::size_t{1000}, CountingPool::kRoutingThreshold}) {
        for (const int threads : {1, 2, 5}) {
            CountingPool pool(threads, false, threshold);
            for (const std::string& block : blocks) pool.Submit(block, 0);
            const SortedCounts sorted = pool.Finish();
            EXPECT_EQ(CountsOf(sorted), reference)
                << threads << " threads, threshold " << threshold;
            EXPECT_TRUE(sorted.fileCounts.empty());
            for (std::size_t i = 1; i < sorted.entries.size(); ++i) {
                ASSERT_LT(sorted.entries[i - 1].word, sorted.entries[i].word);
            }
        }
    }
}

TEST(CountingPool, FileCountsDoNotRouteAndStayExact) {
    CountingPool pool(3, true, 0);
    for (std::uint32_t file = 0; file < 20; ++file) {
        for (int copy = 0; copy < 3; ++copy)
            pool.Submit(std::string("every f").append(1, static_cast<char>('0' + file % 4)), file);
    }
    const SortedCounts sorted = pool.Finish();
    ASSERT_EQ(sorted.entries.size(), 5u);
    EXPECT_EQ(sorted.entries[0].word, "every");
    EXPECT_EQ(sorted.entries[0].count, 60);
    EXPECT_EQ(sorted.fileCounts[0], 20u);
    EXPECT_EQ(sorted.entries[1].word, "f0");
    EXPECT_EQ(sorted.fileCounts[1], 5u);
}

}  // namespace
}  // namespace tavro
