#include <gtest/gtest.h>

#include "report/report_text.h"
#include "report/word_list.h"

namespace tavro {
namespace {

// The report of entries in the order given.
std::string Render(const std::vector<WordEntry>& entries) {
    DisplayList list;
    for (const WordEntry& entry : entries) list.push_back(&entry);
    return RenderReport(list);
}

TEST(Report, LinesOfWordSpaceCountLineFeedWithoutZeroCounts) {
    EXPECT_EQ(Render({WordEntry("abc", 2), WordEntry("x", 0), WordEntry("zz", 10)}),
              "abc 2\nzz 10\n");
    EXPECT_EQ(Render({}), "");
    EXPECT_EQ(Render({WordEntry("a", 0)}), "");
}

TEST(Report, BytesAndLargeCountsAreWrittenAsTheyAre) {
    std::string allBytes;
    for (int b = 1; b < 256; ++b) allBytes += static_cast<char>(b);
    WordEntry raw;
    raw.word = allBytes;
    raw.count = 1;
    EXPECT_EQ(Render({raw}), allBytes + " 1\n");
    EXPECT_EQ(Render({WordEntry("big", Count{9'000'000'000'000'000'000})}),
              "big 9000000000000000000\n");
    EXPECT_EQ(Render({WordEntry("neg", -12)}), "neg -12\n");
}

TEST(DisplayList, FrequencyOrderIsDescendingAndAlphabeticalWithinEqualCounts) {
    const WordTable table =
        WordTable::FromEntries({WordEntry("d", 2), WordEntry("a", 2), WordEntry("c", 5),
                                WordEntry("b", 0), WordEntry("e", 2), WordEntry("f", 7)});
    std::string order;
    for (const WordEntry* entry : BuildDisplayList(table, true)) order += entry->word;
    EXPECT_EQ(order, "fcadeb");
    EXPECT_EQ(RenderReport(BuildDisplayList(table, false)), "a 2\nc 5\nd 2\ne 2\nf 7\n");
    EXPECT_TRUE(BuildDisplayList(WordTable(), true).empty());
}

}  // namespace
}  // namespace tavro
