#include "platform/text_encoding.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/cp1253.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TAVRO_SSSE3_DECODER 1
#endif

namespace tavro {
namespace {

constexpr unsigned char kSpace = ' ';

// ---------------------------------------------------------------------------
// Characters to cp1253 bytes.

// The cp1253 characters outside ASCII and the Greek block U+0390..U+03CE, sorted.
const std::vector<std::pair<char32_t, unsigned char>>& OtherHeld() {
    static const std::vector<std::pair<char32_t, unsigned char>> table = [] {
        std::vector<std::pair<char32_t, unsigned char>> t;
        for (int b = 0x80; b < 0xC0; ++b) {
            const char32_t c = Cp1253ToUnicode(static_cast<unsigned char>(b));
            if (c != 0xFFFD) t.emplace_back(c, static_cast<unsigned char>(b));
        }
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

// The cp1253 byte of `c`, or -1 when cp1253 cannot hold it.
int HeldByte(char32_t c) {
    if (c < 0x80) return static_cast<int>(c);
    if (c >= 0x0390 && c <= 0x03CE) return c == 0x03A2 ? -1 : static_cast<int>(c - 0x0390 + 0xC0);
    const auto& table = OtherHeld();
    const auto it =
        std::lower_bound(table.begin(), table.end(), std::make_pair(c, 0),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    return it != table.end() && it->first == c ? it->second : -1;
}

// ---------------------------------------------------------------------------
// ISO-8859-7 (the 2003 edition, with the euro, drachma and ypogegrammeni signs).

constexpr char32_t kNone = 0xFFFFFFFF;

// A0..BF; 00..9F are U+0000..U+009F and C0..FE the Greek block at U+0390, less D2.
constexpr std::array<char32_t, 32> kIsoA0 = {
    0x00A0, 0x2018, 0x2019, 0x00A3, 0x20AC, 0x20AF, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x037A, 0x00AB, 0x00AC, 0x00AD, kNone,  0x2015,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x0385, 0x0386, 0x00B7,  // B0
    0x0388, 0x0389, 0x038A, 0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F,  // B8
};

char32_t IsoToUnicode(unsigned char b) {
    if (b < 0xA0) return b;
    if (b < 0xC0) return kIsoA0[b - 0xA0];
    if (b == 0xD2 || b == 0xFF) return kNone;
    return 0x0390 + (b - 0xC0);
}

// What one ISO-8859-7 byte gives: a cp1253 byte, or one of these two marks.
constexpr std::uint16_t kIsoUnheld = 0x100;
constexpr std::uint16_t kIsoBad = 0x200;

const std::array<std::uint16_t, 256>& IsoTable() {
    static const std::array<std::uint16_t, 256> table = [] {
        std::array<std::uint16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char32_t c = IsoToUnicode(static_cast<unsigned char>(b));
            const int held = c == kNone ? -1 : HeldByte(c);
            t[b] = c == kNone ? kIsoBad : held < 0 ? kIsoUnheld : static_cast<std::uint16_t>(held);
        }
        return t;
    }();
    return table;
}

// ---------------------------------------------------------------------------
// UTF-8.

struct Utf8Char {
    char32_t c;        // the character; 0xFFFFFFFF for a malformed sequence
    std::size_t size;  // bytes taken: the sequence, or its maximal ill-formed subpart
};

// Decodes the sequence at `in[0]` (size >= 1 bytes available).
Utf8Char NextUtf8(const unsigned char* in, std::size_t size) {
    const unsigned char b0 = in[0];
    if (b0 < 0x80) return {b0, 1};
    int extra;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    char32_t c;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        c = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        c = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return {kNone, 1};
    }
    for (int k = 1; k <= extra; ++k) {
        if (static_cast<std::size_t>(k) >= size) return {kNone, static_cast<std::size_t>(k)};
        const unsigned char b = in[k];
        const unsigned char low = k == 1 ? lo : 0x80;
        const unsigned char high = k == 1 ? hi : 0xBF;
        if (b < low || b > high) return {kNone, static_cast<std::size_t>(k)};
        c = (c << 6) | (b & 0x3F);
    }
    return {c, static_cast<std::size_t>(extra) + 1};
}

const UNormalizer2* Nfc() {
    static const UNormalizer2* nfc = [] {
        UErrorCode error = U_ZERO_ERROR;
        return unorm2_getNFCInstance(&error);
    }();
    return nfc;
}

// At most this many combining characters after one starter are composed with it,
// as in the Stream-Safe Text Format of Unicode's normalization annex; the rest of
// such a run is left uncomposed.
constexpr int kMaxNonStarters = 30;

#if defined(TAVRO_SSSE3_DECODER)

// For each 8-bit mask of bytes to keep: the shuffle that packs them to the front.
struct PackTables {
    alignas(16) unsigned char shuffle[256][16];
    unsigned char count[256];
};

const PackTables& Packing() {
    static const PackTables tables = [] {
        PackTables t{};
        for (int mask = 0; mask < 256; ++mask) {
            int n = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if ((mask >> bit) & 1) t.shuffle[mask][n++] = static_cast<unsigned char>(bit);
            }
            t.count[mask] = static_cast<unsigned char>(n);
            for (int k = n; k < 16; ++k) t.shuffle[mask][k] = 0x80;
        }
        return t;
    }();
    return tables;
}

__attribute__((target("ssse3"))) inline __m128i InRange(__m128i x, unsigned char lo,
                                                        unsigned char hi) {
    const __m128i shifted = _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(lo)));
    const __m128i width = _mm_set1_epi8(static_cast<char>(hi - lo));
    return _mm_cmpeq_epi8(_mm_min_epu8(shifted, width), shifted);
}

__attribute__((target("ssse3"))) inline __m128i Equal(__m128i x, unsigned char value) {
    return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(value)));
}

// Writes the bytes of `value` that `keep` (one bit a byte) selects, packed, at
// out + j; up to 16 bytes past them may be overwritten.
__attribute__((target("ssse3"))) inline void Pack16(__m128i value, unsigned keep,
                                                    const PackTables& pack, unsigned char* out,
                                                    std::size_t& j) {
    const unsigned lo = keep & 0xFFu;
    const unsigned hi = (keep >> 8) & 0xFFu;
    _mm_storel_epi64(
        reinterpret_cast<__m128i*>(out + j),
        _mm_shuffle_epi8(value,
                         _mm_load_si128(reinterpret_cast<const __m128i*>(pack.shuffle[lo]))));
    j += pack.count[lo];
    _mm_storel_epi64(
        reinterpret_cast<__m128i*>(out + j),
        _mm_shuffle_epi8(_mm_srli_si128(value, 8),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(pack.shuffle[hi]))));
    j += pack.count[hi];
}

// The fast path: 16 bytes at a time, as long as they are ASCII (no NUL when
// `stopAtNul`) and the two-byte Greek letters CE 86, CE 88..8A, CE 8C, CE 8E..BF
// (less CE A2) and CF 80..8E, which map to cp1253 by adding 30 or 70 (CE 86, Ά,
// to A2). Returns the bytes taken; `written` gets the bytes written, and up to
// 16 bytes past them may be overwritten.
__attribute__((target("ssse3"))) std::size_t FastGreek(const unsigned char* in, std::size_t size,
                                                       unsigned char* out, std::size_t& written,
                                                       bool stopAtNul) {
    const PackTables& pack = Packing();
    std::size_t i = 0;
    std::size_t j = 0;
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= size) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        if (stopAtNul && _mm_movemask_epi8(_mm_cmpeq_epi8(x, zero)) != 0) break;
        unsigned high = static_cast<unsigned>(_mm_movemask_epi8(x));
        if (high == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), x);
            i += 16;
            j += 16;
            continue;
        }
        const __m128i isCE = Equal(x, 0xCE);
        const __m128i isCF = Equal(x, 0xCF);
        unsigned lead = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(isCE, isCF)));
        unsigned take = 16;
        if (lead & 0x8000u) {  // a letter cut by the chunk: it starts the next one
            lead &= 0x7FFFu;
            high &= 0x7FFFu;
            take = 15;
        }
        const unsigned cont = (lead << 1) & 0xFFFFu;
        if ((lead | cont) != high) break;
        const __m128i afterCE = _mm_slli_si128(isCE, 1);
        const __m128i afterCF = _mm_slli_si128(isCF, 1);
        __m128i okCE = _mm_andnot_si128(Equal(x, 0xA2), InRange(x, 0x8E, 0xBF));
        okCE = _mm_or_si128(okCE, _mm_or_si128(Equal(x, 0x86), Equal(x, 0x8C)));
        okCE = _mm_or_si128(okCE, InRange(x, 0x88, 0x8A));
        const __m128i okCF = InRange(x, 0x80, 0x8E);
        const __m128i valid =
            _mm_or_si128(_mm_and_si128(afterCE, okCE), _mm_and_si128(afterCF, okCF));
        if ((static_cast<unsigned>(_mm_movemask_epi8(valid)) & 0xFFFFu) != cont) break;
        const __m128i add = _mm_or_si128(_mm_and_si128(afterCE, _mm_set1_epi8(0x30)),
                                         _mm_and_si128(afterCF, _mm_set1_epi8(0x70)));
        const __m128i fix =
            _mm_and_si128(_mm_and_si128(afterCE, Equal(x, 0x86)), _mm_set1_epi8(0x14));
        const __m128i value = _mm_sub_epi8(_mm_add_epi8(x, add), fix);
        Pack16(value, ~lead & ((1u << take) - 1), pack, out, j);
        i += take;
    }
    written = j;
    return i;
}

bool HaveSsse3() {
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}

__attribute__((target("avx2"))) inline __m256i Equal32(__m256i x, unsigned char value) {
    return _mm256_cmpeq_epi8(x, _mm256_set1_epi8(static_cast<char>(value)));
}

// Byte k of the result is byte k - 1 of `x` (0 for byte 0), across the two lanes.
__attribute__((target("avx2"))) inline __m256i ShiftUpOne(__m256i x) {
    return _mm256_alignr_epi8(x, _mm256_permute2x128_si256(x, x, 0x08), 15);
}

// FastGreek 32 bytes at a time, where the processor has AVX2.
__attribute__((target("avx2"))) std::size_t FastGreekAvx2(const unsigned char* in, std::size_t size,
                                                          unsigned char* out, std::size_t& written,
                                                          bool stopAtNul) {
    const PackTables& pack = Packing();
    std::size_t i = 0;
    std::size_t j = 0;
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lowNibble = _mm256_set1_epi8(0x0F);
    // The classes: 1, CE 8x; 2, CE 9x and Bx; 4, CE Ax; 8, CF 8x. CE 86, 88..8A, 8C,
    // 8E, 8F, 90..BF less A2 and CF 80..8E are letters of the fast path.
    const __m256i rowClasses = _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 9, 2, 4, 2, 0, 0, 0, 0, 0,
                                                0, 0, 0, 0, 0, 0, 0, 9, 2, 4, 2, 0, 0, 0, 0);
    const __m256i columnClasses =
        _mm256_setr_epi8(14, 14, 10, 14, 14, 14, 15, 14, 15, 15, 15, 14, 15, 14, 15, 7,  //
                         14, 14, 10, 14, 14, 14, 15, 14, 15, 15, 15, 14, 15, 14, 15, 7);
    const __m256i ceClasses = _mm256_set1_epi8(7);
    const __m256i cfClasses = _mm256_set1_epi8(8);
    while (i + 32 <= size) {
        const __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        if (stopAtNul && _mm256_movemask_epi8(_mm256_cmpeq_epi8(x, zero)) != 0) break;
        auto high = static_cast<std::uint32_t>(_mm256_movemask_epi8(x));
        if (high == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), x);
            i += 32;
            j += 32;
            continue;
        }
        const __m256i isCE = Equal32(x, 0xCE);
        const __m256i isCF = Equal32(x, 0xCF);
        auto lead = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_or_si256(isCE, isCF)));
        // A letter cut by the chunk starts the next one (without a branch: it is
        // there in about a third of the chunks).
        const std::uint32_t cut = lead >> 31;
        const std::uint32_t all = 0xFFFFFFFFu >> cut;
        lead &= all;
        high &= all;
        const std::uint32_t cont = lead << 1;
        const __m256i afterCE = ShiftUpOne(isCE);
        const __m256i afterCF = ShiftUpOne(isCF);
        // Which bytes after a lead are letters of the fast path, by two lookups: the
        // row of the byte (its high nibble) and its column (low nibble) each give
        // a set of classes, and the lead says which classes it takes. Bytes C0 and
        // up (no continuation byte) are in no row.
        const __m256i rows =
            _mm256_shuffle_epi8(rowClasses, _mm256_and_si256(_mm256_srli_epi16(x, 4), lowNibble));
        const __m256i columns = _mm256_shuffle_epi8(columnClasses, _mm256_and_si256(x, lowNibble));
        const __m256i wanted = _mm256_or_si256(_mm256_and_si256(afterCE, ceClasses),
                                               _mm256_and_si256(afterCF, cfClasses));
        const __m256i misfit =
            _mm256_cmpeq_epi8(_mm256_and_si256(_mm256_and_si256(rows, columns), wanted), zero);
        const auto valid = ~static_cast<std::uint32_t>(_mm256_movemask_epi8(misfit));
        if ((((lead | cont) ^ high) | ((valid & all) ^ cont)) != 0) break;
        const __m256i add = _mm256_or_si256(_mm256_and_si256(afterCE, _mm256_set1_epi8(0x30)),
                                            _mm256_and_si256(afterCF, _mm256_set1_epi8(0x70)));
        const __m256i fix =
            _mm256_and_si256(_mm256_and_si256(afterCE, Equal32(x, 0x86)), _mm256_set1_epi8(0x14));
        const __m256i value = _mm256_sub_epi8(_mm256_add_epi8(x, add), fix);
        const std::uint32_t keep = ~lead & all;
        Pack16(_mm256_castsi256_si128(value), keep & 0xFFFFu, pack, out, j);
        Pack16(_mm256_extracti128_si256(value, 1), keep >> 16, pack, out, j);
        i += 32 - cut;
    }
    written = j;
    return i;
}

#endif

// ---------------------------------------------------------------------------
// Detection.

bool IsGreekLetterByte(unsigned char b) { return b >= 0xC1 && b <= 0xFE && b != 0xD2; }
// Greek capitals (with Ά both as A2 and as B6) and ASCII ones.
bool IsCapitalByte(unsigned char b) {
    return (b >= 0xC1 && b <= 0xDB && b != 0xD2) || b == 0xA2 || b == 0xB6 ||
           (b >= 0xB8 && b <= 0xBF && b != 0xBB && b != 0xBD) || (b >= 'A' && b <= 'Z');
}
bool IsLetterByte(unsigned char b) {
    return IsGreekLetterByte(b) || b == 0xC0 || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z');
}

// Where the first byte >= 80 is, or `size`.
std::size_t FirstHighByte(const unsigned char* in, std::size_t size, std::size_t from) {
    std::size_t i = from;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, in + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    while (i < size && in[i] < 0x80) ++i;
    return i;
}

bool LooksLikeUtf8(const unsigned char* in, std::size_t size, std::size_t from) {
    std::uint64_t valid = 0;
    std::uint64_t bad = 0;
    std::size_t i = from;
    while (i < size) {
        i = FirstHighByte(in, size, i);
        if (i == size) break;
        const Utf8Char next = NextUtf8(in + i, size - i);
        if (next.c == kNone) {
            ++bad;
            if (bad >= 64 && valid < 2 * bad) return false;
        } else {
            ++valid;
            if (valid >= 4096 && bad == 0) return true;
        }
        i += next.size;
    }
    return valid > 0 && valid >= 2 * bad;
}

// Code page 1253 or ISO-8859-7, by the bytes in which they differ.
TextEncoding LegacyEncoding(const unsigned char* in, std::size_t size, std::size_t from) {
    long long cp1253 = 0;
    long long iso = 0;
    for (std::size_t i = from; i < size; ++i) {
        // Only bytes 80..BF tell: skip eight bytes at a time that hold none.
        if (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            if ((word & ~(word << 1) & 0x8080808080808080ull) == 0) {
                i += 7;
                continue;
            }
        }
        const unsigned char b = in[i];
        if (b < 0x80 || b >= 0xC0) continue;
        // Far enough apart, the evidence has decided.
        if (cp1253 - iso >= 64 || iso - cp1253 >= 64) break;
        const bool letterBefore = i > 0 && IsLetterByte(in[i - 1]);
        const unsigned char after = i + 1 < size ? in[i + 1] : 0;
        if (b < 0xA0) {
            // cp1253's quotation marks, dashes and the like; C1 controls in ISO-8859-7.
            if (Cp1253ToUnicode(b) != 0xFFFD) ++cp1253;
        } else if (b == 0xA2) {
            // Ά in cp1253, at the start of a word or inside a word in capitals; a
            // right quotation mark in ISO-8859-7, the apostrophe after an elided
            // word (σ’ αγαπώ). Ά after a small letter, or ending a word in
            // capitals, and ’ between two letters tell nothing.
            const unsigned char before = i > 0 ? in[i - 1] : 0;
            const bool capitalBefore = IsCapitalByte(before);
            if (IsGreekLetterByte(after)) {
                if (!letterBefore || capitalBefore) ++cp1253;
            } else if (letterBefore && !capitalBefore) {
                ++iso;
            }
        } else if (b == 0xB6) {
            if (IsGreekLetterByte(after)) ++iso;  // Ά in ISO-8859-7, ¶ in cp1253
        } else if (b == 0xA1 || b == 0xA4 || b == 0xAA) {
            ++iso;  // ‘, € and ͺ in ISO-8859-7; ΅, ¤ and nothing in cp1253
        } else if (b == 0xAE) {
            ++cp1253;  // ® in cp1253, nothing in ISO-8859-7
        } else if (b == 0xB5 && ((after | 0x20) >= 'a' && (after | 0x20) <= 'z')) {
            ++cp1253;  // µ before a unit (µm) in cp1253, ΅ in ISO-8859-7
        }
    }
    return iso > cp1253 ? TextEncoding::kIso8859_7 : TextEncoding::kCp1253;
}

bool StartsWithBom(std::string_view bytes) { return bytes.substr(0, 3) == "\xEF\xBB\xBF"; }

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return lower;
}

}  // namespace

std::optional<EncodingChoice> ParseEncodingChoice(std::string_view name) {
    const std::string lower = Lower(name);
    if (lower == "auto") return EncodingChoice::kAuto;
    if (lower == "utf-8" || lower == "utf8") return EncodingChoice::kUtf8;
    if (lower == "cp1253" || lower == "cp-1253" || lower == "windows-1253" || lower == "1253") {
        return EncodingChoice::kCp1253;
    }
    if (lower == "iso-8859-7" || lower == "iso8859-7" || lower == "iso_8859-7" ||
        lower == "iso-ir-126" || lower == "greek") {
        return EncodingChoice::kIso8859_7;
    }
    return std::nullopt;
}

const char* EncodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kUtf8:
            return "UTF-8";
        case TextEncoding::kIso8859_7:
            return "ISO-8859-7";
        case TextEncoding::kCp1253:
            break;
    }
    return "code page 1253";
}

std::optional<TextEncoding> DetectEncoding(std::string_view bytes) {
    if (StartsWithBom(bytes)) return TextEncoding::kUtf8;
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t first = FirstHighByte(in, bytes.size(), 0);
    if (first == bytes.size()) return std::nullopt;
    if (LooksLikeUtf8(in, bytes.size(), first)) return TextEncoding::kUtf8;
    return LegacyEncoding(in, bytes.size(), first);
}

TextEncoding EncodingFor(std::string_view bytes, EncodingChoice choice) {
    switch (choice) {
        case EncodingChoice::kUtf8:
            return TextEncoding::kUtf8;
        case EncodingChoice::kIso8859_7:
            return TextEncoding::kIso8859_7;
        case EncodingChoice::kCp1253:
            return TextEncoding::kCp1253;
        case EncodingChoice::kAuto:
            break;
    }
    return DetectEncoding(bytes).value_or(TextEncoding::kCp1253);
}

char* Cp1253Decoder::Reserve(std::size_t size) {
    // Room for the fast path's whole-chunk stores past the end.
    const std::size_t needed = size + 32;
    if (needed > m_capacity) {
        m_capacity = std::max(needed, m_capacity + m_capacity / 2);
        m_buffer.reset(new char[m_capacity]);
    }
    return m_buffer.get();
}

std::span<char> Cp1253Decoder::Decode(std::string_view bytes, TextEncoding encoding,
                                      bool continues) {
    if (continues && m_inNulLine && encoding != TextEncoding::kCp1253) {
        const std::size_t lineEnd = bytes.find('\n');
        m_inNulLine = lineEnd == std::string_view::npos;
        bytes.remove_prefix(m_inNulLine ? bytes.size() : lineEnd);
    } else {
        m_inNulLine = false;
    }
    m_bad = 0;
    m_unheld = 0;
    m_firstProblem = std::string_view::npos;
    m_firstUnheld = 0;
    m_firstProblemUnheld = false;
    char* out = Reserve(bytes.size());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    auto* target = reinterpret_cast<unsigned char*>(out);
    std::size_t size = bytes.size();
    switch (encoding) {
        case TextEncoding::kCp1253:
            if (size != 0) std::memcpy(out, bytes.data(), size);
            break;
        case TextEncoding::kIso8859_7:
            size = DecodeIso8859_7(in, size, target);
            break;
        case TextEncoding::kUtf8:
            size = DecodeUtf8(in, size, target);
            break;
    }
    return {out, size};
}

std::size_t Cp1253Decoder::DecodeIso8859_7(const unsigned char* in, std::size_t size,
                                           unsigned char* out) {
    const std::array<std::uint16_t, 256>& table = IsoTable();
    std::size_t j = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint16_t mapped = table[in[i]];
        if (mapped < 0x100) {
            out[j++] = static_cast<unsigned char>(mapped);
            if (mapped == 0 && m_nulEndsLine) {
                const void* lineEnd = std::memchr(in + i, '\n', size - i);
                m_inNulLine = lineEnd == nullptr;
                i = lineEnd == nullptr ? size
                                       : static_cast<std::size_t>(
                                             static_cast<const unsigned char*>(lineEnd) - in) -
                                             1;
            }
            continue;
        }
        out[j++] = kSpace;
        NoteProblem(i, mapped != kIsoBad);
        if (mapped == kIsoBad) {
            ++m_bad;
        } else if (m_unheld++ == 0) {
            m_firstUnheld = IsoToUnicode(in[i]);
        }
    }
    return j;
}

std::size_t Cp1253Decoder::DecodeUtf8(const unsigned char* in, std::size_t size,
                                      unsigned char* out) {
    const UNormalizer2* nfc = Nfc();
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t lineStart = 0;  // output before it belongs to a line that ended with a NUL
    // Writes the characters of UTF-16 `text` (already normalized) as cp1253 bytes.
    const auto emitNormalized = [&](const UChar* text, int length, std::size_t at) {
        for (int k = 0; k < length;) {
            UChar32 c;
            U16_NEXT(text, k, length, c);
            const int held = HeldByte(static_cast<char32_t>(c));
            if (held >= 0) {
                out[j++] = static_cast<unsigned char>(held);
            } else {
                out[j++] = kSpace;
                NoteProblem(at, true);
                if (m_unheld++ == 0) m_firstUnheld = static_cast<char32_t>(c);
            }
        }
    };
    UChar segment[2 * (kMaxNonStarters + 2)];
    UChar normalized[8 * (kMaxNonStarters + 2)];
    while (i < size) {
#if defined(TAVRO_SSSE3_DECODER)
        // Where AVX2 stops, the 16-byte path takes what it can of the next 32 bytes.
        std::size_t fastLimit = size - i;
        if (HaveAvx2()) {
            std::size_t written = 0;
            i += FastGreekAvx2(in + i, size - i, out + j, written, m_nulEndsLine);
            j += written;
            fastLimit = std::min<std::size_t>(size - i, 32);
        }
        if (HaveSsse3()) {
            std::size_t written = 0;
            i += FastGreek(in + i, fastLimit, out + j, written, m_nulEndsLine);
            j += written;
            if (i >= size) break;
        }
#endif
        // One character at a time up to the end of the chunk the fast path left.
        const std::size_t until = std::min(size, i + 16);
        while (i < until) {
            const Utf8Char next = NextUtf8(in + i, size - i);
            if (next.c == kNone) {
                out[j++] = kSpace;
                ++m_bad;
                NoteProblem(i, false);
                i += next.size;
                continue;
            }
            if (next.c < 0x80) {
                out[j++] = static_cast<unsigned char>(next.c);
                ++i;
                if (next.c == 0 && m_nulEndsLine) {
                    const void* lineEnd = std::memchr(in + i, '\n', size - i);
                    m_inNulLine = lineEnd == nullptr;
                    i = lineEnd == nullptr ? size
                                           : static_cast<std::size_t>(
                                                 static_cast<const unsigned char*>(lineEnd) - in);
                    lineStart = j;
                }
                continue;
            }
            const auto c = static_cast<UChar32>(next.c);
            const int held = HeldByte(next.c);
            if (held >= 0) {  // every character cp1253 holds is a starter and in NFC
                out[j++] = static_cast<unsigned char>(held);
                i += next.size;
                continue;
            }
            if (!unorm2_hasBoundaryBefore(nfc, c)) {
                // A combining character: it composes with the character before it
                // (when that was one cp1253 holds) and with the ones after it.
                const std::size_t at = i;
                int length = 0;
                if (j > lineStart && out[j - 1] != kSpace) {
                    length = 1;
                    segment[0] = static_cast<UChar>(Cp1253ToUnicode(out[--j]));
                }
                int marks = 0;
                while (i < size && marks < kMaxNonStarters) {
                    const Utf8Char mark = NextUtf8(in + i, size - i);
                    if (mark.c == kNone || mark.c < 0x80 ||
                        (marks > 0 &&
                         unorm2_hasBoundaryBefore(nfc, static_cast<UChar32>(mark.c)))) {
                        break;
                    }
                    U16_APPEND_UNSAFE(segment, length, static_cast<UChar32>(mark.c));
                    i += mark.size;
                    ++marks;
                }
                UErrorCode error = U_ZERO_ERROR;
                const int n = unorm2_normalize(nfc, segment, length, normalized,
                                               static_cast<int>(std::size(normalized)), &error);
                if (U_SUCCESS(error)) {
                    emitNormalized(normalized, n, at);
                } else {
                    emitNormalized(segment, length, at);
                }
                continue;
            }
            // A starter cp1253 cannot hold; its normal form may be one it can (Ω, the
            // ohm sign, is the letter omega; ά with oxia is ά with tonos).
            UChar single[2];
            int length = 0;
            U16_APPEND_UNSAFE(single, length, c);
            UErrorCode error = U_ZERO_ERROR;
            if (unorm2_quickCheck(nfc, single, length, &error) == UNORM_YES) {
                emitNormalized(single, length, i);
            } else {
                error = U_ZERO_ERROR;
                const int n = unorm2_normalize(nfc, single, length, normalized,
                                               static_cast<int>(std::size(normalized)), &error);
                emitNormalized(U_SUCCESS(error) ? normalized : single,
                               U_SUCCESS(error) ? n : length, i);
            }
            i += next.size;
        }
    }
    return j;
}

DecodedText DecodeText(std::string_view bytes, EncodingChoice choice) {
    DecodedText decoded;
    decoded.encoding = EncodingFor(bytes, choice);
    std::size_t skipped = 0;
    if (decoded.encoding == TextEncoding::kUtf8 && StartsWithBom(bytes)) skipped = 3;
    Cp1253Decoder decoder;
    const std::span<char> text = decoder.Decode(bytes.substr(skipped), decoded.encoding);
    decoded.text.assign(text.data(), text.size());
    decoded.badSequences = decoder.BadSequences();
    decoded.unheld = decoder.Unheld();
    decoded.firstUnheld = decoder.FirstUnheld();
    decoded.firstProblemUnheld = decoder.FirstProblemUnheld();
    if (decoder.FirstProblem() != std::string_view::npos) {
        decoded.firstProblem = decoder.FirstProblem() + skipped;
    }
    return decoded;
}

std::optional<std::string> Utf8ToCp1253(std::string_view text) {
    DecodedText decoded = DecodeText(text, EncodingChoice::kUtf8);
    if (!decoded.clean()) return std::nullopt;
    return std::move(decoded.text);
}

std::string DecodingProblem(const DecodedText& decoded, std::string_view bytes) {
    const std::size_t at = std::min(decoded.firstProblem, bytes.size());
    std::size_t line = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) {
            ++line;
        }
    }
    const std::string problem = "line " + std::to_string(line);
    if (decoded.firstProblemUnheld) {
        return problem + " holds " + DescribeCharacter(decoded.firstUnheld) +
               ", which code page 1253 cannot hold";
    }
    if (decoded.encoding == TextEncoding::kUtf8) return problem + " is not valid UTF-8";
    return problem + " holds a byte that is not a character of " + EncodingName(decoded.encoding);
}

std::string DescribeCharacter(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    std::string description = code;
    char name[128];
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = u_charName(static_cast<UChar32>(character), U_UNICODE_CHAR_NAME, name,
                                      static_cast<int32_t>(sizeof name), &error);
    if (U_SUCCESS(error) && length > 0 && length < static_cast<int32_t>(sizeof name)) {
        description += ' ';
        description.append(name, static_cast<std::size_t>(length));
    }
    return description;
}

std::string EncodeCp1253(std::string_view text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kCp1253:
            return std::string(text);
        case TextEncoding::kUtf8:
            return Cp1253ToUtf8(text);
        case TextEncoding::kIso8859_7:
            break;
    }
    static const std::array<char, 256> toIso = [] {
        std::array<char, 256> t{};
        t.fill('?');
        for (int iso = 0; iso < 256; ++iso) {
            const char32_t c = IsoToUnicode(static_cast<unsigned char>(iso));
            const int held = c == kNone ? -1 : HeldByte(c);
            if (held >= 0) t[static_cast<std::size_t>(held)] = static_cast<char>(iso);
        }
        return t;
    }();
    std::string out(text);
    for (char& c : out) c = toIso[static_cast<unsigned char>(c)];
    return out;
}

}  // namespace tavro
