#include "corpus/counting_pool.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <span>

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
         {std::size_t{0}, std::size_t{1000}, CountingPool::RoutingThreshold(2, true)}) {
        for (const int threads : {1, 2, 5}) {
            CountingPool pool(threads, false, threshold);
            for (const std::string& block : blocks) pool.Submit(BlockBuffer(block), 0);
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

// The files of each word, counted by workers that route and by workers that do
// not: a routed batch may reach its owner after the owner's own blocks of later
// files, and every word still lists each of its files once, in order, the files
// kept as bits (below 64) and those listed alike.
TEST(CountingPool, FileSetsStayExactWhenWorkersRoute) {
    std::mt19937 random(8);
    std::vector<std::pair<std::string, std::uint32_t>> blocks;  // text, file
    std::map<std::string, std::set<std::uint32_t>> reference;
    for (std::uint32_t file = 0; file < 75; ++file) {
        for (int b = 0; b < 1 + static_cast<int>(file % 3); ++b) {
            std::string text;
            for (int i = 0; i < 1500; ++i) {
                // Common words in every file, rare ones in a few.
                const std::string word =
                    std::string("w").append(std::to_string(random() % (i % 2 ? 50 : 20000)));
                text.append(word).append(" ");
                reference[word].insert(file);
            }
            blocks.emplace_back(text, file);
        }
    }
    for (const std::size_t threshold :
         {std::size_t{0}, std::size_t{500}, CountingPool::RoutingThreshold(2, true)}) {
        for (const int threads : {1, 2, 5}) {
            CountingPool pool(threads, true, threshold);
            for (const auto& [text, file] : blocks) pool.Submit(BlockBuffer(text), file);
            const SortedCounts sorted = pool.Finish();
            ASSERT_EQ(sorted.entries.size(), reference.size());
            ASSERT_EQ(sorted.files.WordCount(), reference.size());
            auto expected = reference.begin();
            for (std::size_t w = 0; w < sorted.entries.size(); ++w, ++expected) {
                ASSERT_EQ(sorted.entries[w].word, expected->first);
                const std::span<const std::uint32_t> files = sorted.files.Of(w);
                ASSERT_EQ(
                    std::vector<std::uint32_t>(files.begin(), files.end()),
                    std::vector<std::uint32_t>(expected->second.begin(), expected->second.end()))
                    << expected->first << ", " << threads << " threads, threshold " << threshold;
                ASSERT_EQ(sorted.fileCounts[w], expected->second.size());
            }
        }
    }
}

}  // namespace
}  // namespace tavro
