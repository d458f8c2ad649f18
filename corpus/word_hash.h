// The hash of a word, shared by the counting tables and the word table's index.
//
// Words of up to eight bytes hash from their zero-padded first eight bytes (the
// prefix, which the counting table also keeps to compare short words without a
// byte loop); longer words hash eight bytes at a time, the last load ending at
// the last byte. Everything is inline: it runs once per word of the corpus.
#pragma once

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

// The hash of the `n` bytes at `p`, whose Prefix is `prefix`.
inline std::uint64_t HashWithPrefix(const char* p, std::size_t n, std::uint64_t prefix) {
    constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t kMultiplier = 0xA0761D6478BD642Full;
    std::uint64_t hash = kSeed ^ (n * kMultiplier);
    if (n <= 8) return Mix(hash ^ prefix, kSeed);
    for (std::size_t i = 0; i + 8 < n; i += 8) hash = Mix(hash ^ Load64(p + i), kMultiplier);
    return Mix(hash ^ Load64(p + n - 8), kSeed);  // overlaps the last chunk: every byte counts
}

inline std::uint64_t Hash(std::string_view word) {
    return HashWithPrefix(word.data(), word.size(), Prefix(word.data(), word.size()));
}

}  // namespace tavro::word_hash
