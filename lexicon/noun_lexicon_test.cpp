#include "lexicon/noun_lexicon.h"

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"

namespace tavro {
namespace {

TEST(LexiconLines, LineEndsAsTheArchiveReadsThem) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLexiconLines(""), Lines{});
    EXPECT_EQ(SplitLexiconLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLexiconLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLexiconLines("a\n\nb\n"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLexiconLines("ab\rcd"), (Lines{"ab", "d"}));  // CR takes the byte after it
    EXPECT_EQ(SplitLexiconLines("a \t\n"), (Lines{"a \t"}));     // nothing is trimmed
    EXPECT_EQ(SplitLexiconLines("a\r"), (Lines{"a"}));
}

struct Loaded {
    MemoryFileSystem files;
    WordTable nouns;
    Status status = Status::Ok();
    explicit Loaded(std::optional<std::string> contents,
                    std::optional<MemoryFileSystem::Failure> failure = std::nullopt) {
        if (contents) files.Add("finalList.txt", *contents);
        if (failure) files.FailOn(*failure, "finalList.txt");
        status = LoadNounLexicon(files, "finalList.txt", nouns);
    }
    const std::vector<WordEntry>& Entries() const { return nouns.Entries(); }
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

TEST(NounLexicon, EmptyFileGivesAnEmptyTable) {
    Loaded lexicon("");
    EXPECT_TRUE(lexicon.status.ok());
    EXPECT_TRUE(lexicon.nouns.empty());
}

TEST(NounLexicon, MissingOrUnreadableFileMeansNoDocument) {
    for (const Loaded& lexicon :
         {Loaded(std::nullopt), Loaded("a\n", MemoryFileSystem::Failure::kOpen)}) {
        EXPECT_EQ(lexicon.status.kind(), Status::Kind::kNoDocument);
        EXPECT_EQ(lexicon.status.message().text, "Error: File could not be opened");
        EXPECT_EQ(lexicon.status.exitStatus(), 255);
    }
    // It opened, so the message of a file that cannot be opened would be wrong.
    const Loaded unreadable("a\n", MemoryFileSystem::Failure::kRead);
    EXPECT_EQ(unreadable.status.kind(), Status::Kind::kNoDocument);
    EXPECT_EQ(unreadable.status.message().text, "");
}

TEST(NounLexicon, IsOpenedOnceAndHoldsEveryLineOnceWhateverItsOrder) {
    std::string contents;
    for (int i = 40000; i > 0; --i) contents.append("n").append(std::to_string(i)).append("\n");
    Loaded lexicon(contents + "n7\n");
    EXPECT_EQ(lexicon.files.OpenCount("finalList.txt"), 1);
    ASSERT_EQ(lexicon.nouns.size(), 40000u);
    EXPECT_EQ(lexicon.nouns[0].word, "n1");
    EXPECT_NE(lexicon.nouns.Find("n40000"), WordTable::kNotFound);
}

}  // namespace
}  // namespace tavro
