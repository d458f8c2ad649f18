// Greek character classes of single code page 1253 bytes.
//
// Every predicate is a lookup in a 256-entry table built at compile time, so the
// tokeniser and the analysis can classify a byte without branches. The vowel,
// consonant and accent predicates expect folded (lower-case) bytes; IsWordChar
// folds by itself. Nothing here allocates or fails.
#pragma once

#include <array>
#include <cstdint>

namespace tavro {

namespace detail {

constexpr std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
    for (int b = 0xC1; b <= 0xD9; ++b) table[b] = static_cast<unsigned char>(b + 0x20);
    table[0xA2] = 0xDC;  // Ά
    table[0xB8] = 0xDD;  // Έ
    table[0xB9] = 0xDE;  // Ή
    table[0xBA] = 0xDF;  // Ί
    table[0xBC] = 0xFC;  // Ό
    table[0xBE] = 0xFD;  // Ύ
    table[0xBF] = 0xFE;  // Ώ
    table[0xDA] = 0xFA;  // Ϊ
    table[0xDB] = 0xFB;  // Ϋ
    return table;
}

inline constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

enum ClassBit : std::uint8_t {
    kVowelBit = 1,
    kConsonantBit = 2,
    kAccentedBit = 4,
    kWordBit = 8,
};

constexpr std::array<std::uint8_t, 256> MakeClassTable() {
    std::array<std::uint8_t, 256> table{};
    constexpr unsigned char kVowels[] = {0xE1, 0xE5, 0xE7, 0xE9, 0xEF, 0xF5, 0xF9, 0xDC, 0xDD,
                                         0xDE, 0xDF, 0xFC, 0xFD, 0xFE, 0xFA, 0xFB, 0xE0, 0xC0};
    constexpr unsigned char kConsonants[] = {0xE2, 0xE3, 0xE4, 0xE6, 0xE8, 0xEA, 0xEB, 0xEC, 0xED,
                                             0xEE, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF6, 0xF7, 0xF8};
    constexpr unsigned char kAccented[] = {0xDC, 0xDD, 0xDE, 0xDF, 0xFC, 0xFD, 0xFE, 0xE0, 0xC0};
    for (unsigned char b : kVowels) table[b] |= kVowelBit;
    for (unsigned char b : kConsonants) table[b] |= kConsonantBit;
    for (unsigned char b : kAccented) table[b] |= kAccentedBit;
    for (int b = 0; b < 256; ++b) {
        const unsigned char l = kLower[b];
        const bool letterOrDigit =
            (l >= 'a' && l <= 'z') || (l >= 'A' && l <= 'Z') || (l >= '0' && l <= '9') || l == '_';
        if (letterOrDigit || (table[l] & (kVowelBit | kConsonantBit)) != 0) table[b] |= kWordBit;
    }
    return table;
}

inline constexpr std::array<std::uint8_t, 256> kClasses = MakeClassTable();

}  // namespace detail

// Greek capitals to lower case (Α..Ω, the tonos capitals, Ϊ, Ϋ); every other byte unchanged.
constexpr unsigned char ToLowerGreek(unsigned char b) { return detail::kLower[b]; }
constexpr char ToLowerGreek(char c) {
    return static_cast<char>(detail::kLower[static_cast<unsigned char>(c)]);
}

// The 18 lower-case vowels, plain, with tonos, with dialytika and with both.
constexpr bool IsVowel(unsigned char b) { return (detail::kClasses[b] & detail::kVowelBit) != 0; }

// The 18 lower-case consonants, final sigma included.
constexpr bool IsConsonant(unsigned char b) {
    return (detail::kClasses[b] & detail::kConsonantBit) != 0;
}

// The 9 vowels that carry a tonos (dialytika alone is not an accent).
constexpr bool IsAccentedVowel(unsigned char b) {
    return (detail::kClasses[b] & detail::kAccentedBit) != 0;
}

// Bytes that belong to words: Greek letters of either case, ASCII letters, digits, underscore.
constexpr bool IsWordChar(unsigned char b) { return (detail::kClasses[b] & detail::kWordBit) != 0; }

}  // namespace tavro
