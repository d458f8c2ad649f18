// Byte work on 64-byte chunks for the tokeniser: Greek capitals are folded in
// place and the word characters come back as a bit mask (bit i for byte i), so
// that words are found by walking bit transitions instead of branching on every
// byte. Uses SSE2 where the compiler targets it and the character tables
// elsewhere; both agree with ToLowerGreek and IsWordChar for every byte value.
// Everything is inline: it runs once per 64 bytes of the corpus.
#pragma once

#include <cstdint>

#include "corpus/char_classes.h"
#include "corpus/text_mode.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavro {

// FoldAndMask64(bytes): replaces bytes[0..63] by ToLowerGreek of each; bit i of
// the result's `word` is set when bytes[i] is a word character, of its `special`
// when bytes[i] is NUL or 1A, the bytes that end a scan (tokenizer.h).
struct ChunkMasks {
    std::uint64_t word;
    std::uint64_t special;
};

#if defined(__SSE2__)
namespace block_scan_detail {

// Bytes of `x` in lo..hi (unsigned), as 0xFF per byte.
inline __m128i InRange(__m128i x, unsigned char lo, unsigned char hi) {
    const __m128i shifted = _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(lo)));
    const __m128i width = _mm_set1_epi8(static_cast<char>(hi - lo));
    return _mm_cmpeq_epi8(_mm_min_epu8(shifted, width), shifted);
}

inline __m128i Equal(__m128i x, unsigned char value) {
    return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(value)));
}

inline __m128i Offset(__m128i selected, int add) {
    return _mm_and_si128(selected, _mm_set1_epi8(static_cast<char>(add)));
}

// Greek capitals to lower case: C1..DB +20, Ά +3A, Έ Ή Ί +25, Ό +40, Ύ Ώ +3F.
inline __m128i Fold16(__m128i x) {
    __m128i add = Offset(InRange(x, 0xC1, 0xDB), 0x20);
    add = _mm_or_si128(add, Offset(Equal(x, 0xA2), 0x3A));
    add = _mm_or_si128(add, Offset(InRange(x, 0xB8, 0xBA), 0x25));
    add = _mm_or_si128(add, Offset(Equal(x, 0xBC), 0x40));
    add = _mm_or_si128(add, Offset(InRange(x, 0xBE, 0xBF), 0x3F));
    return _mm_add_epi8(x, add);
}

// Word bytes of folded text: digits, ASCII letters, underscore, and DC..FE and C0
// (every folded Greek letter; B8..BF and C1..DB no longer occur).
inline std::uint64_t FoldedWordMask16(__m128i x) {
    const __m128i letters = InRange(_mm_or_si128(x, _mm_set1_epi8(0x20)), 'a', 'z');
    __m128i word = _mm_or_si128(InRange(x, '0', '9'), letters);
    word = _mm_or_si128(word, _mm_or_si128(Equal(x, '_'), Equal(x, 0xC0)));
    word = _mm_or_si128(word, InRange(x, 0xDC, 0xFE));
    return static_cast<std::uint16_t>(_mm_movemask_epi8(word));
}

inline ChunkMasks FoldAndMask16(unsigned char* bytes) {
    auto* at = reinterpret_cast<__m128i*>(bytes);
    const __m128i x = _mm_loadu_si128(at);
    const __m128i special = _mm_or_si128(Equal(x, 0x00), Equal(x, kEndOfText));
    const __m128i folded = Fold16(x);
    _mm_storeu_si128(at, folded);
    return {FoldedWordMask16(folded), static_cast<std::uint16_t>(_mm_movemask_epi8(special))};
}

}  // namespace block_scan_detail

inline ChunkMasks FoldAndMask64(unsigned char* bytes) {
    using namespace block_scan_detail;
    ChunkMasks masks{0, 0};
    for (int part = 0; part < 4; ++part) {
        const ChunkMasks of16 = FoldAndMask16(bytes + 16 * part);
        masks.word |= of16.word << (16 * part);
        masks.special |= of16.special << (16 * part);
    }
    return masks;
}

#else

inline ChunkMasks FoldAndMask64(unsigned char* bytes) {
    ChunkMasks masks{0, 0};
    for (int i = 0; i < 64; ++i) {
        masks.word |= static_cast<std::uint64_t>(IsWordChar(bytes[i])) << i;
        masks.special |= static_cast<std::uint64_t>(bytes[i] == 0 || bytes[i] == kEndOfText) << i;
        bytes[i] = ToLowerGreek(bytes[i]);
    }
    return masks;
}

#endif

}  // namespace tavro
