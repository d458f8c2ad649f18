#include "lexicon/base_form.h"

#include <gtest/gtest.h>

#include "tests/greek_text.h"

namespace tavro {
namespace {

using testing::Greek;

struct ShiftCase {
    const char* candidate;
    int steps;
    const char* expected;
};

TEST(Accent, ShiftsBySyllablesWithDiphthongs) {
    const std::vector<ShiftCase> cases = {
        {"θαλασσά", 2, "θάλασσα"},   {"παιδί", 1, "παίδι"},  // lands on the ι of αι
        {"βασιλεύς", 1, "βασίλευς"},                         // ευ is one syllable
        {"ούς", 1, "ους"},                                   // no vowel before: the accent goes
        {"λόγος", 0, "λόγος"},       {"λογός", 3, "λογός"},  // 3..9 act like 0
        {"λογός", -1, "λογός"},      {"άνθρωπος", 1, "άνθρωπος"},  // accent on the first byte stays
        {"λογος", 2, "λογος"},                                     // no accent, nothing to move
        {"ανθρωπών", 1, "ανθρώπων"},
    };
    for (const ShiftCase& c : cases) {
        std::string word = Greek(c.candidate);
        ShiftAccent(word, c.steps);
        EXPECT_EQ(word, Greek(c.expected)) << c.candidate << " by " << c.steps;
    }
}

TEST(Accent, Primitives) {
    EXPECT_EQ(FindAccentedVowel(""), -1);
    EXPECT_EQ(FindAccentedVowel(Greek("ΐα")), 0);
    EXPECT_EQ(LastVowelBefore(Greek("βγα"), 0), -1);
    EXPECT_EQ(LastVowelBefore(Greek("βγα"), 2), -1);
    EXPECT_EQ(LastVowelBefore(Greek("αβγ"), 3), 0);
    EXPECT_TRUE(IsDiphthongEndingAt(Greek("ευ"), 1));
    EXPECT_FALSE(IsDiphthongEndingAt(Greek("ηυ"), 1));
    EXPECT_FALSE(IsDiphthongEndingAt(Greek("ευ"), 2));
    std::string word = Greek("ϊ");
    PlaceAccent(word, 0);
    EXPECT_EQ(word, Greek("ΐ"));
    PlaceAccent(word, 5);
    RemoveAccent(word);
    EXPECT_EQ(word, Greek("ϊ"));
}

std::vector<EndingGroup> Table(std::string_view utf8) { return ParseConjugationText(Greek(utf8)); }

std::vector<std::string> Candidates(std::string_view utf8Word,
                                    const std::vector<EndingGroup>& table) {
    std::vector<std::string> candidates;
    ForEachBaseFormCandidate(Greek(utf8Word), table, [&](const std::string& c) {
        candidates.push_back(c);
        return true;
    });
    return candidates;
}

TEST(Candidates, WordFirstThenGroupsInFileOrder) {
    const auto table = Table("ου ος ο-1\n\nυ α\nxyz q\n");
    EXPECT_EQ(
        Candidates("λόγου", table),
        (std::vector<std::string>{Greek("λόγου"), Greek("λόγος"), Greek("λογο"),
                                  Greek("λόγοα")}));  // ό has no vowel before it: the accent goes
    EXPECT_EQ(Candidates("ου", table),  // a word equal to the ending: the replacements alone
              (std::vector<std::string>{Greek("ου"), Greek("ος"), Greek("ο"), Greek("οα")}));
    EXPECT_EQ(Candidates("υ", table), (std::vector<std::string>{Greek("υ"), Greek("α")}));
    EXPECT_EQ(Candidates("λόγου", {}), (std::vector<std::string>{Greek("λόγου")}));
}

TEST(Candidates, EmptyEndingMatchesEveryWordAndVisitorCanStop) {
    const auto table = Table("-1 ος\n");
    EXPECT_EQ(Candidates("αβ", table), (std::vector<std::string>{Greek("αβ"), Greek("αβος")}));
    int visits = 0;
    ForEachBaseFormCandidate(Greek("αβ"), table, [&](const std::string&) { return ++visits < 1; });
    EXPECT_EQ(visits, 1);
}

struct Lexicon {
    WordTable root;
    explicit Lexicon(std::initializer_list<const char*> nouns) {
        for (const char* noun : nouns) InsertWord(root, WordEntry(Greek(noun), 0));
    }
};

TEST(FindBaseForm, FirstCandidateInTheLexiconWins) {
    const auto table = Table("ου ος\nου ο\n");
    Lexicon nouns{"λόγος", "λόγο", "λόγου"};
    auto hit = FindBaseForm(Greek("λόγου"), table, nouns.root);
    ASSERT_TRUE(hit);
    EXPECT_TRUE(hit->isWordItself);
    Lexicon later{"λόγο"};
    hit = FindBaseForm(Greek("λόγου"), table, later.root);
    ASSERT_TRUE(hit);
    EXPECT_FALSE(hit->isWordItself);
    EXPECT_EQ(hit->baseForm, Greek("λόγο"));
    EXPECT_FALSE(FindBaseForm(Greek("σπίτι"), table, later.root));
}

TEST(BaseFormMessage, TheThreeAnswers) {
    const auto table = Table("ου ος\n");
    Lexicon nouns{"λόγος"};
    EXPECT_EQ(BaseFormMessage(Greek("Λόγος"), table, nouns.root),
              Greek("The base form of the word 'Λόγος' is 'Λόγος'."));
    EXPECT_EQ(BaseFormMessage(Greek("ΛΌΓΟΥ"), table, nouns.root),
              Greek("The base form of the word 'ΛΌΓΟΥ' is 'λόγος'."));  // built, so lower case
    EXPECT_EQ(BaseFormMessage(Greek("Λόγου"), table, nouns.root),
              Greek("The base form of the word 'Λόγου' is 'λόγος'."));
    EXPECT_EQ(BaseFormMessage(Greek(" λόγος"), table, nouns.root),
              Greek("The base form of the word ' λόγος' could not be found."));
    EXPECT_EQ(BaseFormMessage("   ", table, nouns.root),
              "The base form of the word '   ' could not be found.");
    EXPECT_EQ(BaseFormMessage("", table, nouns.root), "");
}

// The indexed enumeration must give the plain one's candidates in the same order,
// empty endings, blank lines and words shorter than an ending included.
TEST(Candidates, IndexedEnumerationEqualsThePlainOne) {
    const auto table = Table("ου ος ο-1\n\n-1 α\nυ ι-2\nου ους\nα-\nαβου ε\n  \n");
    const EndingIndex index(table);
    for (const char* word : {"λόγου", "ου", "υ", "", "αβου", "β", "λόγα", "xyz"}) {
        std::vector<std::string> indexed;
        ForEachBaseFormCandidate(Greek(word), table, index, [&](const std::string& c) {
            indexed.push_back(c);
            return true;
        });
        EXPECT_EQ(indexed, Candidates(word, table)) << word;
    }
}

}  // namespace
}  // namespace tavro
