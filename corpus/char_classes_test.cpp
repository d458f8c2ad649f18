#include "corpus/char_classes.h"

#include <gtest/gtest.h>

#include <set>

namespace tavro {
namespace {

// Independent lists, written from the code page chart rather than from the tables.
const std::set<int> kVowels = {0xE1, 0xE5, 0xE7, 0xE9, 0xEF, 0xF5, 0xF9, 0xDC, 0xDD,
                               0xDE, 0xDF, 0xFC, 0xFD, 0xFE, 0xFA, 0xFB, 0xE0, 0xC0};
const std::set<int> kConsonants = {0xE2, 0xE3, 0xE4, 0xE6, 0xE8, 0xEA, 0xEB, 0xEC, 0xED,
                                   0xEE, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF6, 0xF7, 0xF8};
const std::set<int> kAccented = {0xDC, 0xDD, 0xDE, 0xDF, 0xFC, 0xFD, 0xFE, 0xE0, 0xC0};

bool InWordRanges(int b) {
    return (b >= 0x30 && b <= 0x39) || (b >= 0x41 && b <= 0x5A) || b == 0x5F ||
           (b >= 0x61 && b <= 0x7A) || b == 0xA2 || (b >= 0xB8 && b <= 0xBA) || b == 0xBC ||
           (b >= 0xBE && b <= 0xFE);
}

int ExpectedLower(int b) {
    if (b >= 0xC1 && b <= 0xD9) return b + 0x20;
    switch (b) {
        case 0xA2: return 0xDC;
        case 0xB8: return 0xDD;
        case 0xB9: return 0xDE;
        case 0xBA: return 0xDF;
        case 0xBC: return 0xFC;
        case 0xBE: return 0xFD;
        case 0xBF: return 0xFE;
        case 0xDA: return 0xFA;
        case 0xDB: return 0xFB;
        default: return b;
    }
}

TEST(CharClasses, EveryByteAgainstTheChart) {
    int wordChars = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        SCOPED_TRACE(b);
        EXPECT_EQ(ToLowerGreek(byte), ExpectedLower(b));
        EXPECT_EQ(IsVowel(byte), kVowels.count(b) == 1);
        EXPECT_EQ(IsConsonant(byte), kConsonants.count(b) == 1);
        EXPECT_EQ(IsAccentedVowel(byte), kAccented.count(b) == 1);
        EXPECT_EQ(IsWordChar(byte), InWordRanges(b));
        EXPECT_EQ(WordFold(byte), InWordRanges(b) ? ExpectedLower(b) : 0);
        wordChars += IsWordChar(byte) ? 1 : 0;
    }
    EXPECT_EQ(wordChars, 133);
}

TEST(CharClasses, UnassignedCapitalSigmaSlotFoldsToFinalSigma) {
    EXPECT_EQ(ToLowerGreek(static_cast<unsigned char>(0xD2)), 0xF2);
    EXPECT_TRUE(IsWordChar(0xD2));
    EXPECT_EQ(ToLowerGreek(static_cast<unsigned char>(0xD3)), 0xF3);  // Σ stays medial σ
}

}  // namespace
}  // namespace tavro
