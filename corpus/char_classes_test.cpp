#include "corpus/char_classes.h"

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include "platform/cp1253.h"

namespace tavro {
namespace {

// The classes of a byte worked out from Unicode's own data for the character the
// byte stands for, independently of the program's tables: its script, its case
// mapping and its canonical decomposition.
struct UnicodeClasses {
    bool greekLetter = false;
    bool vowel = false;
    bool accented = false;
    unsigned char lower = 0;
};

UnicodeClasses ClassesFromUnicode(unsigned char byte) {
    UnicodeClasses classes;
    classes.lower = byte;
    const char32_t c = Cp1253ToUnicode(byte);
    UErrorCode error = U_ZERO_ERROR;
    if (c == 0xFFFD || uscript_getScript(static_cast<UChar32>(c), &error) != USCRIPT_GREEK ||
        !u_isalpha(static_cast<UChar32>(c))) {
        return classes;
    }
    classes.greekLetter = true;
    const auto lower = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
    classes.lower = UnicodeToCp1253(lower).value_or(byte);
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(error);
    const icu::UnicodeString decomposed =
        nfd->normalize(icu::UnicodeString(static_cast<UChar32>(lower)), error);
    const std::u32string_view vowels = U"αεηιουω";
    classes.vowel =
        vowels.find(static_cast<char32_t>(decomposed.char32At(0))) != std::u32string_view::npos;
    classes.accented = decomposed.indexOf(static_cast<char16_t>(0x0301)) >= 0;
    return classes;
}

TEST(CharClasses, EveryByteAgreesWithUnicode) {
    int wordChars = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        SCOPED_TRACE(b);
        if (b == 0xD2) continue;  // unassigned in the code page: below
        const UnicodeClasses expected = ClassesFromUnicode(byte);
        const bool asciiWord =
            (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_';
        EXPECT_EQ(ToLowerGreek(byte), expected.lower);
        EXPECT_EQ(IsWordChar(byte), expected.greekLetter || asciiWord);
        // The vowel and accent classes are of folded bytes only.
        const bool folded = expected.greekLetter && expected.lower == byte;
        EXPECT_EQ(IsVowel(byte), folded && expected.vowel);
        EXPECT_EQ(IsConsonant(byte), folded && !expected.vowel);
        EXPECT_EQ(IsAccentedVowel(byte), folded && expected.vowel && expected.accented);
        wordChars += IsWordChar(byte) ? 1 : 0;
    }
    EXPECT_EQ(wordChars + 1, 133);
}

TEST(CharClasses, UnassignedCapitalSigmaSlotFoldsToFinalSigma) {
    EXPECT_EQ(ToLowerGreek(static_cast<unsigned char>(0xD2)), 0xF2);
    EXPECT_TRUE(IsWordChar(0xD2));
    EXPECT_EQ(ToLowerGreek(static_cast<unsigned char>(0xD3)), 0xF3);  // Σ stays medial σ
}

}  // namespace
}  // namespace tavro
