#include "lexicon/noun_derivation.h"

#include <gtest/gtest.h>

#include "tests/greek_text.h"
#include "tests/noun_table.h"

namespace tavro {
namespace {

using testing::Greek;
using testing::NounTable;

struct Case {
    const char* word;
    const char* noun;  // "" when the word gives none
};

class NounDerivationTest : public ::testing::Test {
  protected:
    const std::vector<EndingGroup> m_table =
        ParseConjugationText(Greek("ους ος\nου ος ος-1\nού ός\nα ο ος\nας α\nης η\nεων η-1\n"));
    const WordTable m_nouns =
        NounTable({"τύπος", "κατάλογος", "έγγραφο", "φόρτωση", "ρύθμιση", "ηγούμενος", "λογιστική",
                   "ορίζοντας", "χώρα", "χώρος", "σκάλα", "υποσκάλα"});
    const NounDeriver m_deriver{m_nouns, m_table};

    void Expect(std::initializer_list<Case> cases) const {
        for (const Case& c : cases) {
            EXPECT_EQ(m_deriver.DerivedNoun(Greek(c.word)), Greek(c.noun)) << c.word;
        }
    }
};

TEST_F(NounDerivationTest, APrefixOnTheFormOfOneNounMakesThatNounWithThePrefix) {
    Expect({{"υποέγγραφα", "υποέγγραφο"},
            {"αποφόρτωση", "αποφόρτωση"},
            {"υποκαταλόγου", "υποκατάλογος"},
            // A paroxytone head in -ος gives the compound the accent on the antepenult.
            {"υποτύπους", "υπότυπος"},
            {"ψευδοτύπου", "ψευδότυπος"},
            // A prefix ending in a vowel doubles the ρ that opens its head.
            {"προρρύθμισης", "προρύθμιση"},
            {"επαναρύθμιση", "επαναρύθμιση"}});
}

TEST_F(NounDerivationTest, WordsThatAreNoNewNounGiveNone) {
    Expect({// It credits a noun of the lexicon already.
            {"τύπους", ""},
            {"υποσκάλα", ""},
            // Participles, adjectives in -ικός and gerunds are the prefixed verb's
            // or adjective's forms.
            {"προηγούμενος", ""},
            {"υπολογιστική", ""},
            {"προορίζοντας", ""},
            // The head is a form of two nouns (χώρα, and χώρος by α to ος).
            {"υποχώρα", ""},
            // No prefix, or nothing after it that the lexicon knows.
            {"καλημέρα", ""},
            {"υποχθόνιος", ""},
            {"", ""}});
}

TEST_F(NounDerivationTest, ASuffixThatOnlyNounsTakeMakesANounOfTheCandidate) {
    Expect({{"οπτικοποίησης", "οπτικοποίηση"},
            {"χρωμικότητας", "χρωμικότητα"},
            {"επανυπολογισμού", "επανυπολογισμός"},
            {"ευκολοποιήσεων", "ευκολοποίηση"},
            // The stem before the suffix needs two syllables.
            {"καλότητας", ""},
            {"ποίησης", ""},
            // Two accents: two words run together.
            {"ομάδαομαδοποίηση", ""}});
}

TEST_F(NounDerivationTest, DerivedNounsJoinTheTableAndTheCreditsAreRenumbered) {
    const WordTable words = NounTable({"και", "τύπος", "υποτύπους", "υποτύπου", "οπτικοποίησης"});
    WordCredits credits = CreditNouns(words, m_nouns, m_table, 1);
    WordTable all = AddDerivedNouns(words, m_nouns, m_deriver, credits);
    ASSERT_EQ(all.size(), m_nouns.size() + 2);
    const auto creditsOf = [&](const char* word) {
        std::vector<std::string> nouns;
        for (const std::uint32_t noun : credits.Of(words.Find(Greek(word)))) {
            nouns.push_back(all[noun].word);
        }
        return nouns;
    };
    EXPECT_EQ(creditsOf("τύπος"), std::vector<std::string>{Greek("τύπος")});
    EXPECT_EQ(creditsOf("υποτύπους"), std::vector<std::string>{Greek("υπότυπος")});
    EXPECT_EQ(creditsOf("υποτύπου"), std::vector<std::string>{Greek("υπότυπος")});
    EXPECT_EQ(creditsOf("οπτικοποίησης"), std::vector<std::string>{Greek("οπτικοποίηση")});
    EXPECT_TRUE(creditsOf("και").empty());
    for (const WordEntry& noun : all.Entries()) EXPECT_EQ(noun.count, 0) << noun.word;
}

TEST_F(NounDerivationTest, WithoutDerivedNounsTheCreditsStayAsTheyWere) {
    const WordTable words = NounTable({"και", "τύπους", "χώρα"});
    WordCredits credits = CreditNouns(words, m_nouns, m_table, 1);
    const std::size_t before = credits.size();
    EXPECT_TRUE(AddDerivedNouns(words, m_nouns, m_deriver, credits).empty());
    EXPECT_EQ(credits.size(), before);
    EXPECT_EQ(credits.Of(words.Find(Greek("χώρα"))).size(), 2U);
}

}  // namespace
}  // namespace tavro
