#include "lexicon/accent_restoring.h"

#include <gtest/gtest.h>

#include "lexicon/noun_crediting.h"
#include "tests/greek_text.h"
#include "tests/noun_table.h"

namespace tavro {
namespace {

using testing::Greek;
using testing::NounTable;

TEST(AccentRestoring, AccentsAndDialytikaAreLeftOut) {
    EXPECT_EQ(WithoutAccents(Greek("άέήίόύώΐΰϊϋ")), Greek("αεηιουωιυιυ"));
    EXPECT_EQ(WithoutAccents(Greek("λόγος abc")), Greek("λογος abc"));
}

TEST(AccentRestoring, OnlyUnaccentedWordsOfTwoOrMoreVowelGroupsMayLackTheirAccent) {
    struct Case {
        const char* word;
        bool mayLack;
    };
    for (const Case& c : {Case{"τιμη", true}, Case{"παιδια", true}, Case{"αρχειο", true},
                          Case{"τιμή", false}, Case{"και", false}, Case{"του", false},
                          Case{"γαϊδουρι", true}, Case{"", false}, Case{"xyz", false}}) {
        EXPECT_EQ(MayLackItsAccent(Greek(c.word)), c.mayLack) << c.word;
    }
}

TEST(AccentRestoring, ACountTakesOnlyTheOneNounThatMatches) {
    const auto table = ParseConjugationText(Greek("ων α ας\nης η\nιού ί-1\n"));
    const WordTable nouns =
        NounTable({"τιμή", "καρέκλα", "καρεκλάς", "χώρα", "χωρά", "λόγος", "σπίτι"});
    const AccentRestorer restorer(nouns, table);
    const auto noun = [&](const char* word, RestoredMatch match) {
        const std::uint32_t found = restorer.Find(Greek(word), match);
        return found == WordTable::kNotFound ? std::string() : nouns[found].word;
    };
    EXPECT_EQ(noun("τιμης", RestoredMatch::kOnlyNoun), Greek("τιμή"));
    // An accented ending of the table closes the word up to accents; a capital
    // Σ, folded to σ, ends the word as ς.
    EXPECT_EQ(noun("σπιτιου", RestoredMatch::kOnlyNoun), Greek("σπίτι"));
    EXPECT_EQ(noun("λογοσ", RestoredMatch::kOnlyNoun), Greek("λόγος"));
    // καρεκλων may be of καρέκλα or of καρεκλάς: a count takes neither, the first
    // candidate's noun answers Find Base Form.
    EXPECT_EQ(noun("καρεκλων", RestoredMatch::kOnlyNoun), "");
    EXPECT_EQ(noun("καρεκλων", RestoredMatch::kFirstNoun), Greek("καρέκλα"));
    // Two nouns with one form without accents match nothing.
    EXPECT_EQ(noun("χωρα", RestoredMatch::kFirstNoun), "");
}

TEST(AccentRestoring, CreditingRestoresOnlyWhereTheWordCreditsNothing) {
    const auto table = ParseConjugationText(Greek("ης η\n"));
    WordTable nouns = NounTable({"τιμή", "τιμης"});
    const WordTable words = WordTable::FromEntries(
        {WordEntry(Greek("ΤΙΜΗ"), 3), WordEntry(Greek("τιμης"), 2), WordEntry(Greek("τιμη"), 1)});
    const AccentRestorer restorer(nouns, table);
    const WordCredits plain = CreditNouns(words, nouns, table, 2);
    const WordCredits restored = CreditNouns(words, nouns, table, 2, &restorer);
    AddCredits(restored, words, nouns);
    // τιμη (4 tokens) is restored to τιμή; τιμης credits the noun τιμης as it is.
    EXPECT_EQ(plain.size(), 1u);
    EXPECT_EQ(restored.size(), 2u);
    EXPECT_EQ(nouns[nouns.Find(Greek("τιμή"))].count, 4);
    EXPECT_EQ(nouns[nouns.Find(Greek("τιμης"))].count, 2);
}

}  // namespace
}  // namespace tavro
