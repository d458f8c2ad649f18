// The scores of tavro-eval on a small hand-made lexicon and table, where every
// figure can be counted by hand.

#include "evaluation/data_scores.h"

#include <gtest/gtest.h>

#include <sstream>

#include "evaluation/eval_cli.h"
#include "platform/memory_file_system.h"
#include "tests/greek_text.h"

namespace tavro::eval {
namespace {

std::string Cp(const std::string& utf8) { return testing::Greek(utf8); }

WordTable Lexicon(std::vector<std::string> utf8Nouns) {
    std::vector<WordEntry> entries;
    for (const std::string& noun : utf8Nouns) entries.emplace_back(Cp(noun), 0);
    return WordTable::FromEntries(std::move(entries));
}

TEST(ParsePairs, ReadsFoldedPairsAndNamesTheBadLine) {
    std::string error;
    const auto pairs = ParsePairs(Cp("Λόγου\tλόγος\r\n\nδρόμων\tδρόμος"), error);
    ASSERT_TRUE(pairs.has_value());
    ASSERT_EQ(pairs->size(), 2u);
    EXPECT_EQ((*pairs)[0].form, Cp("λόγου"));
    EXPECT_EQ((*pairs)[1].lemma, Cp("δρόμος"));

    for (const char* bad : {"λόγου λόγος\n", "a\tb\tc\n", "\tλόγος\n", "λόγου\t\n"}) {
        error.clear();
        EXPECT_FALSE(ParsePairs(std::string("x\ty\n") + Cp(bad), error).has_value()) << bad;
        EXPECT_EQ(error, "line 2: expected form<TAB>lemma") << bad;
    }
}

TEST(ScorePairs, CountsTopOneRecallPrecisionWrongAndRepeatedCredits) {
    // ου -> ος, ο; ων -> ος, ος (the repeat credits twice).
    const auto table = ParseConjugationText(Cp("ου ος ο\nων ος ος\n"));
    const WordTable nouns = Lexicon({"λόγος", "λόγο", "δρόμος", "σταθμός", "στάθμη"});
    const std::vector<FormLemmaPair> pairs = {
        {Cp("λόγου"), Cp("λόγος")},    // top right; credits λόγος and λόγο (wrong)
        {Cp("δρόμων"), Cp("δρόμος")},  // credits δρόμος twice (repeat, both right)
        {Cp("δρόμου"), Cp("δρόμος")},  // right, one credit
        {Cp("ξένου"), Cp("ξένος")},    // miss: nothing credited
    };
    const PairScores s = ScorePairs(pairs, table, nouns);
    EXPECT_EQ(s.pairs, 4);
    EXPECT_EQ(s.topHits, 3);
    EXPECT_EQ(s.recalled, 3);
    EXPECT_EQ(s.credits, 5);
    EXPECT_EQ(s.rightCredits, 4);
    EXPECT_EQ(s.repeatedCredits, 1);
    EXPECT_EQ(s.pairsWithWrongCredit, 1);
    EXPECT_EQ(s.pairsWithRepeatedCredit, 1);
    EXPECT_DOUBLE_EQ(s.Precision(), 0.8);
    EXPECT_DOUBLE_EQ(s.StrictPrecision(), 0.6);
    ASSERT_EQ(s.misses.size(), 3u);  // λόγου (wrong credit), δρόμων (repeat), ξένου (miss)
    EXPECT_EQ(s.misses[2].form, Cp("ξένου"));
    EXPECT_TRUE(s.missResults[2].topAnswer.empty());
}

TEST(ScorePairs, EveryLemmaOfAHomographFormIsRight) {
    const auto table = ParseConjugationText(Cp("ών ός ή-1\n"));
    const WordTable nouns = Lexicon({"σταθμός", "στάθμη"});
    const std::vector<FormLemmaPair> pairs = {{Cp("σταθμών"), Cp("σταθμός")},
                                              {Cp("σταθμών"), Cp("στάθμη")}};
    const PairScores s = ScorePairs(pairs, table, nouns);
    EXPECT_EQ(s.topHits, 1);  // Find Base Form gives one answer for both lines
    EXPECT_EQ(s.recalled, 2);
    EXPECT_EQ(s.rightCredits, s.credits);
    EXPECT_EQ(s.pairsWithWrongCredit, 0);
}

TEST(ScoreCorpus, SharesCountTokensAndTheTopListIsByCount) {
    MemoryFileSystem files;
    files.Add("lex.txt", Cp("λόγος\nδρόμος\n"));
    files.Add("conj.txt", Cp("ου ος\nο ος\n"));
    files.Add("a.txt", Cp("ο λόγος του δρόμου και του λόγου, Word 7\n"));
    std::ostringstream out, err;
    EXPECT_EQ(RunEval({"--lexicon", "lex.txt", "--conjugation", "conj.txt", "--top", "1", "a.txt"},
                      out, err, files),
              0);
    const std::string text = out.str();
    // 9 tokens: ο λόγος του δρόμου και του λόγου Word 7; λόγος, δρόμου, λόγου credit.
    EXPECT_NE(text.find("word tokens:         9 (8 distinct words)"), std::string::npos) << text;
    EXPECT_NE(text.find("crediting a noun:    33.33%  (3 tokens)"), std::string::npos) << text;
    EXPECT_NE(text.find("Greek word tokens:   7, crediting a noun:  42.86%"), std::string::npos)
        << text;
    EXPECT_NE(text.find("top 1 nouns credited:\n1\tλόγος\t2\n"), std::string::npos) << text;
    EXPECT_EQ(err.str(), "");
}

TEST(RunEval, UsageErrorsExitWithTwo) {
    MemoryFileSystem files;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--pairs"}, {"--top", "x", "a.txt"}, {"--bogus"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(RunEval(args, out, err, files), 2);
        EXPECT_NE(err.str().find("Try 'tavro-eval --help'"), std::string::npos);
    }
}

}  // namespace
}  // namespace tavro::eval
