#include <gtest/gtest.h>

#include "report/report_text.h"
#include "report/word_list.h"

namespace tavro {
namespace {

TEST(Report, LinesOfWordSpaceCountLineFeedWithoutZeroCounts) {
    const std::vector<WordEntry> list = {WordEntry("abc", 2), WordEntry("x", 0), WordEntry("zz", 10)};
    EXPECT_EQ(RenderReport(list), "abc 2\nzz 10\n");
    EXPECT_EQ(RenderReport({}), "");
    EXPECT_EQ(RenderReport({WordEntry("a", 0)}), "");
}

TEST(Report, BytesAndLargeCountsAreWrittenAsTheyAre) {
    std::string allBytes;
    for (int b = 1; b < 256; ++b) allBytes += static_cast<char>(b);
    WordEntry raw;
    raw.word = allBytes;
    raw.count = 1;
    EXPECT_EQ(RenderReport({raw}), allBytes + " 1\n");
    EXPECT_EQ(RenderReport({WordEntry("big", Count{9'000'000'000'000'000'000})}),
              "big 9000000000000000000\n");
    EXPECT_EQ(RenderReport({WordEntry("neg", -12)}), "neg -12\n");
}

TEST(DisplayList, FrequencyOrderIsDescendingAndAlphabeticalWithinEqualCounts) {
    WordNode* tree = nullptr;
    for (const auto& [word, count] : std::vector<std::pair<const char*, Count>>{
             {"d", 2}, {"a", 2}, {"c", 5}, {"b", 0}, {"e", 2}, {"f", 7}}) {
        tree = InsertWord(tree, WordEntry(word, count));
    }
    const std::vector<WordEntry> byFrequency = BuildDisplayList(tree, true);
    std::string order;
    for (const WordEntry& entry : byFrequency) order += entry.word;
    EXPECT_EQ(order, "fcadeb");
    EXPECT_EQ(RenderReport(BuildDisplayList(tree, false)), "a 2\nc 5\nd 2\ne 2\nf 7\n");
    EXPECT_TRUE(BuildDisplayList(nullptr, true).empty());
    DeleteTree(tree);
}

}  // namespace
}  // namespace tavro
