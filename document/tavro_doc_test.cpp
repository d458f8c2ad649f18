#include "document/tavro_doc.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/test_platform.h"

namespace tavro {
namespace {

using testing::Greek;
using testing::TestPlatform;

// A document over a small lexicon and table, constructed as the program does.
class DocTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.files.Add("finalList.txt", Greek("λόγος\nθάλασσα\nσπίτι\n"));
        platform.files.Add("conjugation.txt", Greek("ου ος\nες α ος\nας α\n"));
        ASSERT_TRUE(doc.LoadData().ok());
    }
    std::string Report() const { return std::string(doc.ReportText()); }

    TestPlatform platform;
    CTavroDoc doc{platform};
};

TEST_F(DocTest, ProcessingRunCountsCreditsAndShowsProgress) {
    platform.files.Add("a.txt", Greek("Λόγου λόγος, θάλασσας.\nσπίτι σπίτι"));
    platform.files.Add("b.txt", Greek("λόγου\n"));
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt", "b.txt"}).ok());
    EXPECT_EQ(Report(), Greek("θάλασσα 1\nλόγος 3\nσπίτι 2\n"));
    EXPECT_EQ(platform.progressDialogs, 1);
    EXPECT_EQ(platform.progressLog,
              (std::vector<std::string>{"range 1 3", "step 1", "pos 1", "file a.txt", "stepit",
                                        "file b.txt", "stepit"}));
    EXPECT_EQ(platform.viewUpdates, 1);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(DocTest, EveryCandidateThatIsANounIsCredited) {
    // λόγες gives λόγα, then λόγος from two groups: a noun reached twice from one
    // word is credited twice; λόγος itself is found as the word.
    platform.files.Add("nouns.txt", Greek("λόγος\nλόγα\n"));
    platform.files.Add("table.txt", Greek("ες α ος\nες ος\n"));
    CTavroDoc twice(platform);
    ASSERT_TRUE(twice.LoadData({"nouns.txt", "table.txt"}).ok());
    platform.files.Add("c.txt", Greek("λόγες λόγες λόγος"));
    ASSERT_TRUE(twice.OpenInputFiles({"c.txt"}).ok());
    EXPECT_EQ(twice.ReportText(), Greek("λόγα 2\nλόγος 5\n"));
}

TEST_F(DocTest, ViewCommandsChangeFlagsMarksAndReport) {
    platform.files.Add("a.txt", "zz zz zz " + Greek("λόγου σπίτι σπίτι"));
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    const int updates = platform.viewUpdates;

    doc.OnViewSortAlphabetically();  // already in force: nothing happens
    doc.OnViewShowNouns();
    EXPECT_EQ(platform.viewUpdates, updates);
    EXPECT_TRUE(platform.marks.empty());

    doc.OnViewShowAllWords();
    EXPECT_EQ(Report(), Greek("zz 3\nλόγου 1\nσπίτι 2\n"));
    doc.OnViewSortByFrequency();
    doc.OnViewSortByFrequency();
    EXPECT_EQ(Report(), Greek("zz 3\nσπίτι 2\nλόγου 1\n"));
    doc.OnViewShowNouns();
    EXPECT_EQ(Report(), Greek("σπίτι 2\nλόγος 1\n"));
    doc.OnViewSortAlphabetically();
    EXPECT_EQ(Report(), Greek("λόγος 1\nσπίτι 2\n"));
    EXPECT_EQ(platform.viewUpdates, updates + 4);
    EXPECT_EQ(platform.marks, (std::vector<DisplayChoice>{
                                  DisplayChoice::kShowAllWords, DisplayChoice::kSortByFrequency,
                                  DisplayChoice::kShowNouns, DisplayChoice::kSortAlphabetically}));
}

// Derived nouns belong to the run that made them: its analysis marks them
// whatever the choice is now, and the next run starts from the lexicon again.
TEST_F(DocTest, DerivedNounsJoinOnlyTheRunThatMadeThem) {
    platform.files.Add("a.txt", Greek("υπολόγου υπολόγου λόγου αποσπίτι"));
    doc.SetDerivedNouns(true);
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    EXPECT_EQ(Report(), Greek("αποσπίτι 1\nλόγος 1\nυπόλογος 2\n"));
    EXPECT_EQ(doc.NounTree().size(), 5u);
    doc.SetDerivedNouns(false);
    const RunAnalysis* analysis = doc.Analysis();
    ASSERT_NE(analysis, nullptr);
    const auto row = std::find_if(analysis->Nouns().begin(), analysis->Nouns().end(),
                                  [](const NounRow& r) { return r.noun == Greek("υπόλογος"); });
    ASSERT_NE(row, analysis->Nouns().end());
    EXPECT_EQ(row->forms, (std::vector<FormCount>{{Greek("υπολόγου"), 2}}));
    for (const NounRow& noun : analysis->Nouns()) {
        EXPECT_EQ(noun.derived, noun.noun != Greek("λόγος")) << noun.noun;
    }
    EXPECT_EQ(analysis->Stats().derivedNouns, 2u);
    EXPECT_EQ(analysis->Stats().derivedTokens, 3u);

    // A run that fails keeps the last run's nouns.
    EXPECT_FALSE(doc.OpenInputFiles({"missing.txt"}).ok());
    EXPECT_EQ(doc.NounTree().size(), 5u);

    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    EXPECT_EQ(Report(), Greek("λόγος 1\n"));
    EXPECT_EQ(doc.NounTree().size(), 3u);
    EXPECT_FALSE(doc.Analysis()->Stats().derivedNouns);
    doc.OnNewDocument();
    EXPECT_EQ(doc.NounTree().size(), 3u);
}

TEST_F(DocTest, NewDocumentEmptiesTheRunAndKeepsFlagsAndLexicon) {
    platform.files.Add("a.txt", Greek("σπίτι"));
    doc.OnViewSortByFrequency();
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(Report(), "");
    EXPECT_TRUE(doc.InputFiles().empty());
    EXPECT_EQ(doc.WordTree(), nullptr);
    EXPECT_EQ(doc.NounTree().size(), 3u);
    for (const WordEntry& noun : doc.NounTree().Entries()) EXPECT_EQ(noun.count, 0);
    EXPECT_TRUE(doc.SortByFrequency());
    doc.RefreshView();  // every count is 0: an empty report
    EXPECT_EQ(Report(), "");
}

TEST_F(DocTest, SecondRunReplacesTheFirst) {
    platform.files.Add("a.txt", Greek("σπίτι σπίτι"));
    platform.files.Add("b.txt", Greek("λόγος"));
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    ASSERT_TRUE(doc.OpenInputFiles({"b.txt", "b.txt"}).ok());  // the same path twice counts twice
    EXPECT_EQ(Report(), Greek("λόγος 2\n"));
}

TEST_F(DocTest, EmptyListOnlyShowsTheMessage) {
    platform.files.Add("a.txt", Greek("σπίτι"));
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    const int updates = platform.viewUpdates;
    EXPECT_TRUE(doc.OpenInputFiles({}).ok());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "No Input Files have been Selected.\n");
    EXPECT_EQ(platform.progressDialogs, 1);
    EXPECT_EQ(platform.viewUpdates, updates);
    EXPECT_EQ(Report(), "");  // the report was emptied before the run
}

TEST_F(DocTest, MissingSecondFileEndsTheRunAfterTheFirst) {
    platform.files.Add("a.txt", Greek("σπίτι"));
    const Status status = doc.OpenInputFiles({"a.txt", "/no/such.txt", "a.txt"});
    EXPECT_EQ(status.kind(), Status::Kind::kFatal);
    EXPECT_EQ(status.exitStatus(), 255);
    EXPECT_EQ(status.message(), (UserMessage{"Error while opening file ", "/no/such.txt"}));
    EXPECT_EQ(status.problem(), "No such file or directory");
    EXPECT_TRUE(platform.messages.empty());            // the shell shows it
    EXPECT_EQ(platform.progressLog.back(), "stepit");  // the first file was counted
    EXPECT_EQ(platform.files.OpenCount("a.txt"), 1);   // and nothing after the missing one
}

// A run that fails is abandoned whole: the last run's report, counts, words and
// files stay as they were, and nothing of the failed run is shown.
TEST_F(DocTest, FailedRunLeavesTheLastRunInPlace) {
    platform.files.Add("a.txt", Greek("σπίτι λόγου"));
    platform.files.Add("b.txt", Greek("θάλασσας"));
    ASSERT_TRUE(doc.OpenInputFiles({"a.txt"}).ok());
    const std::string before = Report();
    const int updates = platform.viewUpdates;
    EXPECT_FALSE(doc.OpenInputFiles({"b.txt", "missing.txt"}).ok());
    EXPECT_EQ(Report(), before);
    EXPECT_EQ(doc.InputFiles(), (std::vector<std::string>{"a.txt"}));
    ASSERT_NE(doc.WordTree(), nullptr);
    EXPECT_EQ(doc.WordTree()->Find(Greek("θάλασσας")), WordTable::kNotFound);
    EXPECT_EQ(platform.viewUpdates, updates);
    doc.OnViewShowAllWords();
    EXPECT_EQ(Report(), Greek("λόγου 1\nσπίτι 1\n"));
}

TEST_F(DocTest, FileThatShrinksWhileReadIsWarnedAbout) {
    platform.files.AddShrunk("s.txt", Greek("σπίτι"), 1000);
    platform.files.Add("whole.txt", Greek("σπίτι"));
    ASSERT_TRUE(doc.OpenInputFiles({"s.txt", "whole.txt"}).ok());
    ASSERT_EQ(doc.RunWarnings().size(), 1u);
    EXPECT_EQ(doc.RunWarnings()[0].path, "s.txt");
    EXPECT_EQ(doc.RunWarnings()[0].text,
              "the file shrank while it was read: 5 of 1000 bytes were there");
    EXPECT_EQ(Report(), Greek("σπίτι 2\n"));
}

// A file of many blocks lets the progress window repaint while it is read.
TEST_F(DocTest, LargeFileKeepsTheProgressWindowAlive) {
    std::string big;
    while (big.size() < 10'000'000) big += Greek("σπίτι λόγου\n");
    platform.files.Add("big.txt", big);
    ASSERT_TRUE(doc.OpenInputFiles({"big.txt"}).ok());
    EXPECT_GE(platform.keepAlives, 2);
    EXPECT_EQ(platform.progressLog,
              (std::vector<std::string>{"range 1 2", "step 1", "pos 1", "file big.txt", "stepit"}));
}

TEST_F(DocTest, ReadErrorEndsTheRun) {
    platform.files.Add("bad.txt", "some words");
    platform.files.FailOn(MemoryFileSystem::Failure::kRead, "bad.txt");
    const Status status = doc.OpenInputFiles({"bad.txt"});
    EXPECT_EQ(status.kind(), Status::Kind::kFatal);
    EXPECT_EQ(status.message(), (UserMessage{"Error while reading file ", "bad.txt"}));
    EXPECT_EQ(status.problem(), "Input/output error");
}

TEST_F(DocTest, FindBaseFormAsksAndAnswers) {
    doc.OnToolsFindBaseForm();  // cancelled: no message
    platform.typedWord = "";
    doc.OnToolsFindBaseForm();  // empty: no message
    EXPECT_TRUE(platform.messages.empty());
    platform.typedWord = Greek("Λόγου");
    doc.OnToolsFindBaseForm();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, Greek("The base form of the word 'Λόγου' is 'λόγος'."));
    EXPECT_EQ(Report(), "");  // the document is not touched
}

TEST(DocLoading, MissingDataFiles) {
    TestPlatform platform;
    CTavroDoc noLexicon(platform);
    const Status noDocument = noLexicon.LoadData();
    EXPECT_EQ(noDocument.kind(), Status::Kind::kNoDocument);
    EXPECT_EQ(noDocument.message().text, "Error: File could not be opened");
    EXPECT_EQ(platform.files.OpenCount("conjugation.txt"), 0);

    platform.files.Add("finalList.txt", "a\n");
    CTavroDoc noTable(platform);
    const Status status = noTable.LoadData();
    EXPECT_EQ(status.kind(), Status::Kind::kFatal);
    EXPECT_EQ(status.message(), (UserMessage{"Error while opening file ", "conjugation.txt"}));
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace tavro
