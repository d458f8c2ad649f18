#include "platform/cp1253.h"

#include <array>

namespace tavro {
namespace {

constexpr char32_t kUnassigned = 0xFFFD;

// 0x80..0xBF; 0xC0..0xFE are the Greek block U+0390..U+03CE at a fixed offset.
constexpr std::array<char32_t, 64> kHighHalf = {
    0x20AC,      kUnassigned, 0x201A,      0x0192, 0x201E,      0x2026,      0x2020, 0x2021,  // 80
    kUnassigned, 0x2030,      kUnassigned, 0x2039, kUnassigned, kUnassigned,                  // 88
    kUnassigned, kUnassigned,                                                                 //
    kUnassigned, 0x2018,      0x2019,      0x201C, 0x201D,      0x2022,      0x2013, 0x2014,  // 90
    kUnassigned, 0x2122,      kUnassigned, 0x203A, kUnassigned, kUnassigned,                  // 98
    kUnassigned, kUnassigned,                                                                 //
    0x00A0,      0x0385,      0x0386,      0x00A3, 0x00A4,      0x00A5,      0x00A6, 0x00A7,  // A0
    0x00A8,      0x00A9,      kUnassigned, 0x00AB, 0x00AC,      0x00AD,      0x00AE, 0x2015,  // A8
    0x00B0,      0x00B1,      0x00B2,      0x00B3, 0x0384,      0x00B5,      0x00B6, 0x00B7,  // B0
    0x0388,      0x0389,      0x038A,      0x00BB, 0x038C,      0x00BD,      0x038E, 0x038F,  // B8
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char32_t Cp1253ToUnicode(unsigned char byte) {
    if (byte < 0x80) return byte;
    if (byte < 0xC0) return kHighHalf[byte - 0x80];
    if (byte == 0xD2 || byte == 0xFF) return kUnassigned;
    return 0x0390 + (byte - 0xC0);
}

std::optional<unsigned char> UnicodeToCp1253(char32_t character) {
    if (character < 0x80) return static_cast<unsigned char>(character);
    if (character >= 0x0390 && character <= 0x03CE && character != 0x03A2) {
        return static_cast<unsigned char>(0xC0 + (character - 0x0390));
    }
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == character && character != kUnassigned) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string Cp1253ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) AppendUtf8(out, Cp1253ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace tavro
