// The hash of a word, shared by the counting tables and the word table's index.
//
// A word's key is its first sixteen bytes as two zero-padded eight-byte halves
// (the prefix and the second half, which the counting table keeps to compare
// words of up to sixteen bytes without a byte loop) and its hash. A word of up
// to sixteen bytes hashes from the two halves and its length; a longer one goes
// on eight bytes at a time, the last load ending at the last byte. Words that
// come in a tokeniser's batch can be read sixteen bytes from their start
// (word_sink.h), so their halves are two loads and two masks, with no branch on
// the length; any other word is read without passing its end. Both give the
// same key. Everything is inline: it runs once per word of the corpus.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tavro::word_hash {

inline std::uint64_t Load64(const char* p) {
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline std::uint64_t Load32(const char* p) {
    std::uint32_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
    const __uint128_t product = static_cast<__uint128_t>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

// The first eight bytes of the word at `p` (little-endian), zero-padded when shorter.
inline std::uint64_t Prefix(const char* p, std::size_t n) {
    if (n >= 8) return Load64(p);
    if (n >= 4) return Load32(p) | Load32(p + n - 4) << ((n - 4) * 8);
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < n; ++i) {
        prefix |= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (i * 8);
    }
    return prefix;
}

constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kMultiplier = 0xA0761D6478BD642Full;

// The hash of a word of `n` bytes up to sixteen, whose halves are `prefix` and `second`.
inline std::uint64_t HashShort(std::uint64_t prefix, std::uint64_t second, std::size_t n) {
    const std::uint64_t first = Mix(prefix ^ kSeed ^ (n * kMultiplier), kMultiplier);
    return Mix(first ^ second, kSeed);
}

// The hash of a word of `n` bytes over sixteen, whose prefix is `prefix`.
inline std::uint64_t HashLong(const char* p, std::size_t n, std::uint64_t prefix) {
    std::uint64_t hash = Mix(prefix ^ kSeed ^ (n * kMultiplier), kMultiplier);
    for (std::size_t i = 8; i + 8 < n; i += 8) hash = Mix(hash ^ Load64(p + i), kMultiplier);
    return Mix(hash ^ Load64(p + n - 8), kSeed);  // overlaps the last chunk: every byte counts
}

// Bytes 8 to 15 of the word at `p`, zero-padded when it is shorter (0 up to eight bytes).
inline std::uint64_t Second(const char* p, std::size_t n) {
    if (n <= 8) return 0;
    if (n >= 16) return Load64(p + 8);
    return Load64(p + n - 8) >> ((16 - n) * 8);
}

// The hash of the `n` bytes at `p`, whose Prefix is `prefix`.
inline std::uint64_t HashWithPrefix(const char* p, std::size_t n, std::uint64_t prefix) {
    return n <= 16 ? HashShort(prefix, Second(p, n), n) : HashLong(p, n, prefix);
}

struct Key {
    std::uint64_t prefix;  // bytes 0 to 7, zero-padded
    std::uint64_t second;  // bytes 8 to 15, zero-padded
    std::uint64_t hash;
};

inline Key KeyOf(const char* p, std::size_t n) {
    const std::uint64_t prefix = Prefix(p, n);
    return {prefix, Second(p, n), HashWithPrefix(p, n, prefix)};
}

// How far from its start a word of a batch can be read.
constexpr std::size_t kPaddedReadBytes = 16;

namespace detail {
// Per length up to sixteen, the bytes of each half that belong to the word.
struct HalfMasks {
    std::uint64_t low[17];
    std::uint64_t high[17];
};
constexpr HalfMasks MakeHalfMasks() {
    HalfMasks masks{};
    for (std::size_t n = 0; n <= 16; ++n) {
        masks.low[n] = n >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
        masks.high[n] = n <= 8    ? 0
                        : n == 16 ? ~std::uint64_t{0}
                                  : (std::uint64_t{1} << (8 * (n - 8))) - 1;
    }
    return masks;
}
inline constexpr HalfMasks kHalfMasks = MakeHalfMasks();
}  // namespace detail

// The key of the word at `p`, whose first kPaddedReadBytes bytes can be read
// whatever its length; the same as KeyOf.
inline Key KeyOfPadded(const char* p, std::size_t n) {
    static_assert(std::endian::native == std::endian::little,
                  "a word's first byte is a half's low byte");
    const std::size_t clamped = n < 16 ? n : 16;
    const std::uint64_t prefix = Load64(p) & detail::kHalfMasks.low[clamped];
    const std::uint64_t second = Load64(p + 8) & detail::kHalfMasks.high[clamped];
    return {prefix, second, n <= 16 ? HashShort(prefix, second, n) : HashLong(p, n, prefix)};
}

inline std::uint64_t Hash(std::string_view word) {
    return HashWithPrefix(word.data(), word.size(), Prefix(word.data(), word.size()));
}

}  // namespace tavro::word_hash
