#include "evaluation/judged_sample.h"

#include <gtest/gtest.h>

#include <sstream>

#include "evaluation/eval_cli.h"
#include "platform/memory_file_system.h"

namespace tavro::eval {
namespace {

// Four tokens: one right credit and one wrong credit of an ambiguous token
// (weight 2), a right credit (weight 2), a missed noun and a non-noun (weight 4);
// a credit the context cannot decide is left out.
const char* kSample =
    "item\tstratum\tweight\tword\tnoun\tverdict\tlemma\treason\tcontext\n"
    "1\tcredited\t2\tνέα\tνέο\twrong\t\tadjective\tτα νέα αρχεία\n"
    "1\tcredited\t2\tνέα\tνέα\tright\tνέα\t\tτα νέα αρχεία\n"
    "2\tcredited\t2\tλόγου\tλόγος\tright\tλόγος\t\tτου λόγου\n"
    "3\tuncredited\t4\tΦΠΑ\t\tnoun\tΦΠΑ\t\tμε ΦΠΑ\n"
    "4\tuncredited\t4\tκαι\t\tnot-noun\t\t\tκαι\n"
    "5\tcredited\t2\tμέσο\tμέσο\tcontext\t\t\tμέσο\n";

TEST(JudgedSample, WeightedPrecisionAndRecallFromHandCountedRows) {
    std::string error;
    const auto rows = ParseJudgedSample(kSample, error);
    ASSERT_TRUE(rows) << error;
    const JudgedScores s = ScoreJudgedSample(*rows);
    EXPECT_EQ(s.tokens, 5);
    EXPECT_DOUBLE_EQ(s.precision.share, 4.0 / 6.0);  // right 2 + 2 of 2 + 2 + 2
    EXPECT_EQ(s.precision.rows, 3);
    EXPECT_DOUBLE_EQ(s.precision.effectiveSize, 3.0);
    // Noun tokens: 1 (right), 2 (right), 3 (missed); 5 is undecided, 4 no noun.
    EXPECT_DOUBLE_EQ(s.recall.share, 4.0 / 8.0);
    EXPECT_DOUBLE_EQ(s.recall.effectiveSize, 64.0 / 24.0);
    EXPECT_EQ(s.missedNounTokens, 1);
    EXPECT_EQ(s.wrongByKind, (std::map<std::string, int>{{"adjective", 1}}));
    EXPECT_LT(s.precision.low, s.precision.share);
    EXPECT_GT(s.precision.high, s.precision.share);
}

TEST(JudgedSample, WilsonIntervalOfKnownValues) {
    const auto [low, high] = WilsonInterval(0.5, 100);
    EXPECT_NEAR(low, 0.4038, 1e-4);
    EXPECT_NEAR(high, 0.5962, 1e-4);
    const auto [allLow, allHigh] = WilsonInterval(1.0, 300);
    EXPECT_NEAR(allLow, 0.98735, 1e-4);
    EXPECT_DOUBLE_EQ(allHigh, 1.0);
}

TEST(JudgedSample, MalformedFilesNameTheLine) {
    std::string error;
    EXPECT_FALSE(ParseJudgedSample("item\tweight\n", error));
    EXPECT_EQ(error, "line 1: no column 'word'");
    const std::string header = "item\tweight\tword\tnoun\tverdict\tlemma\treason\n";
    EXPECT_FALSE(ParseJudgedSample(header + "1\t2\tx\n", error));
    EXPECT_EQ(error, "line 2: 3 fields where the header has 7");
    EXPECT_FALSE(ParseJudgedSample(header + "1\tmany\tx\t\tnoun\t\t\n", error));
    EXPECT_EQ(error, "line 2: the weight 'many' is no positive number");
}

TEST(JudgedSample, TavroEvalPrintsTheFiguresAndNotesOtherCredits) {
    MemoryFileSystem files;
    files.Add("lex.txt", "\xEB\xFC\xE3\xEF\xF2\n");  // λόγος only: νέα credits nothing here
    files.Add("conj.txt", "\xEF\xF5 \xEF\xF2\n");    // ου ος
    files.Add("sample.tsv", kSample);
    std::ostringstream out, err;
    EXPECT_EQ(
        RunEval({"--lexicon", "lex.txt", "--conjugation", "conj.txt", "--judged", "sample.tsv"},
                out, err, files),
        0)
        << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("precision:     66.67%"), std::string::npos) << text;
    EXPECT_NE(text.find("token recall:  50.00%"), std::string::npos) << text;
    EXPECT_NE(text.find("wrong credits by reason: adjective 1;"), std::string::npos) << text;
    EXPECT_NE(text.find("note:         2 tokens credit other nouns"), std::string::npos) << text;
}

}  // namespace
}  // namespace tavro::eval
