#include "lexicon/noun_lexicon.h"

#include <gtest/gtest.h>

#include "tests/test_platform.h"

namespace tavro {
namespace {

using testing::TestPlatform;

TEST(LexiconLines, LineEndsAsTheArchiveReadsThem) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLexiconLines(""), Lines{});
    EXPECT_EQ(SplitLexiconLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLexiconLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLexiconLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLexiconLines("ab\rcd"), (Lines{"ab", "d"}));  // CR takes the byte after it
    EXPECT_EQ(SplitLexiconLines("a \t\n"), (Lines{"a \t"}));      // nothing is trimmed
    EXPECT_EQ(SplitLexiconLines("a\r"), (Lines{"a"}));
}

struct Loaded {
    TestPlatform platform;
    WordNode* root = nullptr;
    Status status = Status::Ok();
    explicit Loaded(std::optional<std::string> contents) {
        if (contents) platform.files.Add("finalList.txt", *contents);
        status = LoadNounLexicon("finalList.txt", root, platform);
    }
    ~Loaded() { DeleteTree(root); }
    std::vector<WordEntry> Entries() const {
        std::vector<WordEntry> list;
        CollectInOrder(root, list);
        return list;
    }
};

TEST(NounLexicon, FoldsMergesDuplicatesAndKeepsSpaces) {
    Loaded lexicon("\xCB\xFC\xE3\xEF\xF2\r\n\xEB\xFC\xE3\xEF\xF2\r\n\xEB\xFC\xE3\xEF\xF2 \r\nzz");
    ASSERT_TRUE(lexicon.status.ok());
    const std::vector<WordEntry> entries = lexicon.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].word, "zz");
    EXPECT_EQ(entries[1].word, "\xEB\xFC\xE3\xEF\xF2");
    EXPECT_EQ(entries[2].word, "\xEB\xFC\xE3\xEF\xF2 ");
    for (const WordEntry& entry : entries) EXPECT_EQ(entry.count, 0);
}

TEST(NounLexicon, EmptyFileGivesAnEmptyTree) {
    Loaded lexicon("");
    EXPECT_TRUE(lexicon.status.ok());
    EXPECT_EQ(lexicon.root, nullptr);
}

TEST(NounLexicon, MissingFileMeansNoDocument) {
    Loaded lexicon(std::nullopt);
    EXPECT_EQ(lexicon.status.kind(), Status::Kind::kNoDocument);
    ASSERT_EQ(lexicon.platform.messages.size(), 1u);
    EXPECT_EQ(lexicon.platform.messages[0].text, "Error: File could not be opened");
}

TEST(NounLexicon, ShuffledOrderHoldsEveryLineOnce) {
    std::string contents;
    for (int i = 0; i < 40000; ++i) contents.append("n").append(std::to_string(i)).append("\n");
    const std::vector<WordEntry> entries = LexiconEntries(contents);
    ASSERT_EQ(entries.size(), 40000u);
    EXPECT_NE(entries.front().word, "n0");  // the shuffle moved the first line
    Loaded lexicon(contents);
    EXPECT_EQ(CountNodes(lexicon.root), 40000u);
}

}  // namespace
}  // namespace tavro
