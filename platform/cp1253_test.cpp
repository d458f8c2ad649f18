#include "platform/cp1253.h"

#include <gtest/gtest.h>

#include "platform/text_encoding.h"

namespace tavro {
namespace {

TEST(Cp1253, EveryAssignedByteSurvivesTheRoundTripThroughUtf8) {
    for (int b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const char32_t character = Cp1253ToUnicode(static_cast<unsigned char>(b));
        SCOPED_TRACE(b);
        if (character == 0xFFFD) {
            EXPECT_TRUE(b == 0x81 || b == 0x88 || b == 0x8A || (b >= 0x8C && b <= 0x90) ||
                        b == 0x98 || b == 0x9A || (b >= 0x9C && b <= 0x9F) || b == 0xAA ||
                        b == 0xD2 || b == 0xFF);
            EXPECT_FALSE(Utf8ToCp1253(Cp1253ToUtf8(byte)).has_value());
        } else {
            EXPECT_EQ(Utf8ToCp1253(Cp1253ToUtf8(byte)), byte);
        }
    }
}

TEST(Cp1253, GreekLettersMapToTheirCharacters) {
    EXPECT_EQ(Cp1253ToUtf8("\xEB\xFC\xE3\xEF\xF2"), "λόγος");
    EXPECT_EQ(Cp1253ToUtf8("\xC1\xA2\xC0\xE0\xF2"), "ΑΆΐΰς");
    EXPECT_EQ(Utf8ToCp1253("Λόγος, €!"), std::string("\xCB\xFC\xE3\xEF\xF2, \x80!"));
}

TEST(Cp1253, RejectsTextItCannotHold) {
    EXPECT_FALSE(Utf8ToCp1253("日本").has_value());          // not in the code page
    EXPECT_FALSE(Utf8ToCp1253("\xCE").has_value());          // cut-off sequence
    EXPECT_FALSE(Utf8ToCp1253("\xC0\xAF").has_value());      // overlong slash
    EXPECT_FALSE(Utf8ToCp1253("\xED\xA0\x80").has_value());  // surrogate
    EXPECT_FALSE(Utf8ToCp1253("\xCE\xA2").has_value());      // U+03A2, unassigned
    EXPECT_EQ(Utf8ToCp1253(""), "");
}

}  // namespace
}  // namespace tavro
