#include "platform/text_encoding.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cp1253.h"
#include "tests/encoding_reference.h"
#include "tests/greek_text.h"

namespace tavro {
namespace {

using namespace std::literals;
using testing::Greek;
using testing::ReferenceCp1253;

std::string Decode(std::string_view bytes, TextEncoding encoding, std::uint64_t* bad = nullptr) {
    Cp1253Decoder decoder;
    const std::span<char> text = decoder.Decode(bytes, encoding);
    if (bad != nullptr) *bad = decoder.BadSequences();
    return std::string(text.data(), text.size());
}

// The bytes of cp1253 words: digits, ASCII letters, underscore and the Greek letters.
bool IsWordByte(unsigned char b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b == '_' ||
           b == 0xA2 || (b >= 0xB8 && b <= 0xBA) || b == 0xBC || (b >= 0xBE && b <= 0xFE);
}

// The words of cp1253 text: what a report is made of. Separators of any kind and
// number between them do not matter.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (IsWordByte(static_cast<unsigned char>(c))) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// ICU's converter for one byte: the character, or nothing when it has none.
std::optional<UChar32> IcuCharOf(const char* converterName, unsigned char byte) {
    UErrorCode error = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(converterName, &error);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    UChar out[4];
    const char in = static_cast<char>(byte);
    const int32_t n = ucnv_toUChars(converter, out, 4, &in, 1, &error);
    ucnv_close(converter);
    if (U_FAILURE(error) || n != 1) return std::nullopt;
    return out[0];
}

// glibc's CP1253 byte of a character (ICU's windows-1253 also maps the bytes the
// code page leaves unassigned, to C1 controls), or nothing when it has none.
std::optional<unsigned char> IconvCp1253ByteOf(const std::string& utf8) {
    const std::string byte = testing::IconvFromUtf8(utf8, "CP1253");
    if (byte == " " && utf8 != " ") return std::nullopt;
    return static_cast<unsigned char>(byte[0]);
}

std::string Utf8Of(UChar32 c) {
    std::string out;
    icu::UnicodeString(c).toUTF8String(out);
    return out;
}

TEST(DecodeIso8859_7, EveryByteAgreesWithIcuAndIconv) {
    iconv_t cd = iconv_open("UTF-8", "ISO-8859-7");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        const std::string byte(1, static_cast<char>(b));
        std::uint64_t bad = 0;
        const std::string decoded = Decode(byte, TextEncoding::kIso8859_7, &bad);
        const std::optional<UChar32> c = IcuCharOf("ISO-8859-7", static_cast<unsigned char>(b));
        // iconv reads the byte as the same character, or fails where ICU has none.
        char in = static_cast<char>(b), outBytes[8];
        char* src = &in;
        char* dst = outBytes;
        std::size_t left = 1, room = sizeof outBytes;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const bool iconvOk = iconv(cd, &src, &left, &dst, &room) != static_cast<std::size_t>(-1);
        EXPECT_EQ(iconvOk, c.has_value());
        if (!c) {
            EXPECT_EQ(decoded, " ");
            EXPECT_EQ(bad, 1u);
            continue;
        }
        EXPECT_EQ(std::string(outBytes, static_cast<std::size_t>(dst - outBytes)), Utf8Of(*c));
        EXPECT_EQ(bad, 0u);
        const std::optional<unsigned char> held = IconvCp1253ByteOf(Utf8Of(*c));
        EXPECT_EQ(decoded, held ? std::string(1, static_cast<char>(*held)) : " ");
    }
    iconv_close(cd);
}

TEST(DecodeIso8859_7, DiffersFromCp1253OnlyWhereTheCodePagesDo) {
    EXPECT_EQ(Decode("\xB6\xEB\xEB\xEF\xF2", TextEncoding::kIso8859_7), Greek("Άλλος"));
    EXPECT_EQ(Decode("\xF3\xA2 \xE1\xE3\xE1\xF0\xFE", TextEncoding::kIso8859_7), Greek("σ’ αγαπώ"));
    EXPECT_EQ(Decode("\xA4 \xB5", TextEncoding::kIso8859_7), "\x80 \xA1");  // € ΅
}

TEST(DecodeCp1253, KeepsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::uint64_t bad = 7;
    EXPECT_EQ(Decode(all, TextEncoding::kCp1253, &bad), all);
    EXPECT_EQ(bad, 0u);
}

TEST(DecodeUtf8, EveryCp1253CharacterGivesItsByte) {
    for (int b = 1; b < 256; ++b) {
        SCOPED_TRACE(b);
        const char32_t character = Cp1253ToUnicode(static_cast<unsigned char>(b));
        const std::optional<UChar32> c = IcuCharOf("windows-1253", static_cast<unsigned char>(b));
        if (character == 0xFFFD) {  // what glibc's iconv has no character for either
            EXPECT_THROW(testing::IconvToUtf8(std::string(1, static_cast<char>(b)), "CP1253"),
                         std::invalid_argument);
            continue;
        }
        ASSERT_TRUE(c.has_value());
        EXPECT_EQ(character, static_cast<char32_t>(*c));
        EXPECT_EQ(IconvCp1253ByteOf(Utf8Of(*c)), static_cast<unsigned char>(b));
        // Alone, between letters, and repeated past the fast path's 16-byte chunks.
        const std::string one = Utf8Of(*c);
        EXPECT_EQ(Decode(one, TextEncoding::kUtf8), std::string(1, static_cast<char>(b)));
        std::string many, expected;
        for (int k = 0; k < 40; ++k) {
            many += 'a';
            many += one;
            expected += 'a';
            expected += static_cast<char>(b);
        }
        EXPECT_EQ(Decode(many, TextEncoding::kUtf8), expected);
    }
}

TEST(DecodeUtf8, DecomposedTextGivesThePrecomposedBytes) {
    // Every cp1253 character in Normalization Form D (Ά is Α + U+0301, ΐ is
    // ι + U+0308 + U+0301) decodes to the byte of the precomposed character.
    for (int b = 0x80; b < 256; ++b) {
        SCOPED_TRACE(b);
        const char32_t c = Cp1253ToUnicode(static_cast<unsigned char>(b));
        if (c == 0xFFFD) continue;
        const std::string nfd = testing::NfdUtf8(Utf8Of(static_cast<UChar32>(c)));
        const std::string expected(1, static_cast<char>(b));
        EXPECT_EQ(Decode(nfd, TextEncoding::kUtf8), expected);
        EXPECT_EQ(Decode("xy" + nfd + "z", TextEncoding::kUtf8), "xy" + expected + "z");
    }
    // A word decomposed at every place, and one whose accent sits on the 16th byte.
    EXPECT_EQ(Decode(testing::NfdUtf8("Άλλα έργα, ΐ και ΰ: προϊόν"), TextEncoding::kUtf8),
              Greek("Άλλα έργα, ΐ και ΰ: προϊόν"));
    EXPECT_EQ(Decode("abcdefghijklmno\xCE\xB1\xCC\x81", TextEncoding::kUtf8),
              "abcdefghijklmno" + Greek("ά"));
    // The accent of a composed letter and the breathing of a polytonic one: the
    // normal form is a letter cp1253 lacks, so the word splits there.
    EXPECT_EQ(Words(Decode("\xE1\xBC\x80\xCE\xB3\xCE\xAC\xCF\x80\xCE\xB7", TextEncoding::kUtf8)),
              std::vector<std::string>{Greek("γάπη")});
    EXPECT_EQ(
        Words(Decode("\xCE\xB1\xCC\x93\xCE\xB3\xCE\xAC\xCF\x80\xCE\xB7", TextEncoding::kUtf8)),
        std::vector<std::string>{Greek("γάπη")});
    EXPECT_EQ(Words(Decode("cafe\xCC\x81 ok", TextEncoding::kUtf8)),
              (std::vector<std::string>{"caf", "ok"}));
}

TEST(DecodeUtf8, CompatibleLettersTakeTheirNormalForm) {
    // Greek letters with oxia are the tonos letters; the ohm sign is omega.
    EXPECT_EQ(Decode("\xE1\xBD\xB1\xE1\xBD\xB3 \xE2\x84\xA6", TextEncoding::kUtf8), Greek("άέ Ω"));
    EXPECT_EQ(Decode("\xE2\x84\xA6\xCC\x81", TextEncoding::kUtf8), Greek("Ώ"));
    // The Greek question mark and ano teleia are ; and ·.
    EXPECT_EQ(Decode("\xCD\xBE\xCE\x87", TextEncoding::kUtf8), ";\xB7");
}

TEST(DecodeUtf8, CharactersCp1253LacksSeparateWords) {
    Cp1253Decoder decoder;
    const std::span<char> text = decoder.Decode("λέξη😀λέξη жук 日本 a\u200Bb", TextEncoding::kUtf8);
    EXPECT_EQ(std::string(text.data(), text.size()), Greek("λέξη λέξη        a b"));
    EXPECT_EQ(decoder.BadSequences(), 0u);
    EXPECT_EQ(decoder.Unheld(), 7u);
    EXPECT_EQ(decoder.FirstUnheld(), U'\U0001F600');
    EXPECT_EQ(decoder.FirstProblem(), 8u);
    EXPECT_TRUE(decoder.FirstProblemUnheld());
}

TEST(DecodeUtf8, EachMalformedSequenceIsOneSpace) {
    struct Case {
        const char* bytes;
        const char* text;
        std::uint64_t bad;
    };
    const Case cases[] = {
        {"a\x80z", "a z", 1},               // a lone continuation byte
        {"a\xCE", "a ", 1},                 // cut off at the end
        {"a\xCEz", "a z", 1},               // cut off before ASCII
        {"\xE2\x82z", " z", 1},             // a three-byte sequence cut after two
        {"\xC0\xAF", "  ", 2},              // overlong: two bytes that never start one
        {"\xED\xA0\x80", "   ", 3},         // a surrogate
        {"\xF4\x90\x80\x80", "    ", 4},    // past U+10FFFF
        {"\xF0\x9F\x98", " ", 1},           // a cut-off emoji
        {"\xFF\xFE\xCE\xB1", "  \xE1", 2},  // bytes no UTF-8 has, then α
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        std::uint64_t bad = 0;
        EXPECT_EQ(Decode(c.bytes, TextEncoding::kUtf8, &bad), c.text);
        EXPECT_EQ(bad, c.bad);
    }
}

TEST(DecodeUtf8, AfterANulTheLineIsNotDecoded) {
    Cp1253Decoder decoder(true);
    const std::span<char> text = decoder.Decode("ab\0\xFF\xFE\nc\xFF"sv, TextEncoding::kUtf8);
    EXPECT_EQ(std::string(text.data(), text.size()), std::string("ab\0\nc "sv));
    EXPECT_EQ(decoder.BadSequences(), 1u);
    Cp1253Decoder plain;
    plain.Decode("ab\0\xFF\n"sv, TextEncoding::kUtf8);
    EXPECT_EQ(plain.BadSequences(), 1u);

    // A text decoded in pieces: the line a NUL ended goes on being skipped.
    for (const TextEncoding encoding : {TextEncoding::kUtf8, TextEncoding::kIso8859_7}) {
        Cp1253Decoder pieces(true);
        pieces.Decode("ab\0\xFF"sv, encoding);
        EXPECT_EQ(pieces.BadSequences(), 0u);
        std::span<char> rest = pieces.Decode("\xFF\xFF\nc"sv, encoding, true);
        EXPECT_EQ(std::string(rest.data(), rest.size()), "\nc");
        EXPECT_EQ(pieces.BadSequences(), 0u);
        rest = pieces.Decode("\xFF\nc"sv, encoding);  // a new text
        EXPECT_EQ(rest.size(), 3u);
    }
}

// Random bytes, and random text of characters from every corner that matters:
// ASCII, the Greek letters, cp1253's punctuation, letters it lacks, combining
// marks, emoji. The decoded text has exactly the words of ICU's decoding and
// normalization written out by iconv, and the malformed sequences ICU replaces.
TEST(DecodeUtf8, AgreesWithIcuAndIconvOnRandomInput) {
    std::mt19937 random(1253);
    const std::vector<std::string> pieces = {
        "a",      "Z",      "5",      "_",        " ", "\n", ",",      "-",      "α",      "ά",
        "Ά",      "ΐ",      "ΰ",      "ϊ",        "ώ", "Ω",  "ς",      "ϐ",      "\u0301", "\u0308",
        "\u0313", "\u0342", "\u0323", "\u0345",   "“", "”",  "–",      "…",      "€",      "«",
        "»",      "\u00A0", "ж",      "日",       "😀", "é",  "\u1F71", "\u2126", "\u037E", "\u0387",
        "\uFEFF", "\u0385", "\u0384", "\xCE\xA2", "ὰ", "ᾶ"};
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::string text;
        const int length = 1 + static_cast<int>(random() % 200);
        for (int k = 0; k < length; ++k) text += pieces[random() % pieces.size()];
        std::uint64_t bad = 0;
        EXPECT_EQ(Words(Decode(text, TextEncoding::kUtf8, &bad)),
                  Words(ReferenceCp1253(text, "UTF-8")));
        EXPECT_EQ(bad, 0u);
        std::string bytes(static_cast<std::size_t>(random() % 300), '\0');
        for (char& b : bytes) b = static_cast<char>(random() % 256);
        if (round % 2 == 0) {  // mostly valid text with damage here and there
            bytes = text;
            for (int k = 0; k < 5 && !bytes.empty(); ++k) {
                bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
            }
        }
        const std::string decoded = Decode(bytes, TextEncoding::kUtf8, &bad);
        const std::string reference = ReferenceCp1253(bytes, "UTF-8");
        EXPECT_EQ(Words(decoded), Words(reference));
        EXPECT_LE(decoded.size(), bytes.size());
        // ICU writes U+FFFD (a space here) for each malformed sequence.
        std::uint64_t substituted = 0;
        UErrorCode error = U_ZERO_ERROR;
        UConverter* converter = ucnv_open("UTF-8", &error);
        const icu::UnicodeString unicode(bytes.data(), static_cast<int32_t>(bytes.size()),
                                         converter, error);
        ucnv_close(converter);
        for (int32_t k = 0; k < unicode.length(); ++k) substituted += unicode[k] == 0xFFFD;
        std::uint64_t alreadyThere = 0;
        for (std::size_t k = 0; k + 2 < bytes.size(); ++k) {
            alreadyThere += bytes.compare(k, 3, "\xEF\xBF\xBD") == 0;
        }
        EXPECT_EQ(bad, substituted - alreadyThere);
    }
}

TEST(DecodeUtf8, TextCp1253CanHoldComesBackByteForByte) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string cp1253(static_cast<std::size_t>(random() % 500), ' ');
        for (char& b : cp1253) {
            do {
                b = static_cast<char>(1 + random() % 255);
            } while (Cp1253ToUnicode(static_cast<unsigned char>(b)) == 0xFFFD);
        }
        EXPECT_EQ(Decode(Cp1253ToUtf8(cp1253), TextEncoding::kUtf8), cp1253);
    }
}

TEST(DetectEncoding, TellsTheEncodingsApart) {
    EXPECT_EQ(DetectEncoding("plain ASCII\n"), std::nullopt);
    EXPECT_EQ(DetectEncoding(""), std::nullopt);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBFplain"), TextEncoding::kUtf8);
    EXPECT_EQ(DetectEncoding("Άλλος λόγος"), TextEncoding::kUtf8);
    EXPECT_EQ(DetectEncoding(Greek("Άλλος λόγος")), TextEncoding::kCp1253);
    EXPECT_EQ(DetectEncoding("\xB6\xEB\xEB\xEF\xF2 \xEB\xFC\xE3\xEF\xF2"),
              TextEncoding::kIso8859_7);
    EXPECT_EQ(DetectEncoding("\xF3\xA2 \xE1\xE3\xE1\xF0\xFE"), TextEncoding::kIso8859_7);
    EXPECT_EQ(DetectEncoding(Greek("«Λόγος» – “λέξη”")), TextEncoding::kCp1253);
    EXPECT_EQ(DetectEncoding(Greek("λόγος")), TextEncoding::kCp1253);  // the same in both
    // A stray malformed byte among many well-formed Greek letters is still UTF-8.
    std::string text;
    for (int k = 0; k < 50; ++k) text += "λόγος ";
    text += "\xFF";
    EXPECT_EQ(DetectEncoding(text), TextEncoding::kUtf8);
}

TEST(ParseEncodingChoice, KnowsTheUsualNames) {
    EXPECT_EQ(ParseEncodingChoice("auto"), EncodingChoice::kAuto);
    EXPECT_EQ(ParseEncodingChoice("UTF-8"), EncodingChoice::kUtf8);
    EXPECT_EQ(ParseEncodingChoice("utf8"), EncodingChoice::kUtf8);
    EXPECT_EQ(ParseEncodingChoice("Windows-1253"), EncodingChoice::kCp1253);
    EXPECT_EQ(ParseEncodingChoice("cp1253"), EncodingChoice::kCp1253);
    EXPECT_EQ(ParseEncodingChoice("ISO-8859-7"), EncodingChoice::kIso8859_7);
    EXPECT_EQ(ParseEncodingChoice("latin1"), std::nullopt);
}

TEST(DecodeText, DropsTheByteOrderMarkAndNamesTheFirstProblem) {
    const DecodedText bom = DecodeText("\xEF\xBB\xBFλόγος\n");
    EXPECT_EQ(bom.encoding, TextEncoding::kUtf8);
    EXPECT_EQ(bom.text, Greek("λόγος\n"));
    EXPECT_TRUE(bom.clean());

    const std::string bytes = "λόγος\r\nσπίτι\nжук\n";
    const DecodedText cyrillic = DecodeText(bytes);
    EXPECT_FALSE(cyrillic.clean());
    EXPECT_EQ(DecodingProblem(cyrillic, bytes),
              "line 3 holds U+0436 CYRILLIC SMALL LETTER ZHE, which code page 1253 cannot hold");

    const std::string broken = "λόγος\nσπίτι\xCE\n";
    const DecodedText malformed = DecodeText(broken);
    EXPECT_EQ(DecodingProblem(malformed, broken), "line 2 is not valid UTF-8");
}

TEST(EncodeCp1253, WritesTheReportInTheEncodingAskedFor) {
    const std::string report = Greek("Άλλος 2\nλόγος 10\n");
    EXPECT_EQ(EncodeCp1253(report, TextEncoding::kCp1253), report);
    EXPECT_EQ(EncodeCp1253(report, TextEncoding::kUtf8), "Άλλος 2\nλόγος 10\n");
    EXPECT_EQ(EncodeCp1253(report, TextEncoding::kIso8859_7),
              testing::IconvFromUtf8("Άλλος 2\nλόγος 10\n", "ISO-8859-7"));
}

}  // namespace
}  // namespace tavro
