// The fixed pseudo-random shuffle applied to the noun lexicon before it is inserted.
//
// CRandom reproduces the classic C library generator bit for bit (state
// x = x * 214013 + 2531011 modulo 2^32, each draw (x >> 16) & 0x7FFF), so the
// shuffle is the same on every platform, whatever the platform's own rand() is.
#pragma once

#include <cstdint>
#include <vector>

#include "corpus/word_entry.h"

namespace tavro {

class CRandom {
public:
    explicit CRandom(std::uint32_t seed) : m_state(seed) {}
    // The next draw, 0..32767.
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state;
};

// `swaps` exchanges of two drawn positions (i first, then j; i may equal j).
// An empty list, or a non-positive number of swaps, is left unchanged.
void ShuffleEntries(std::vector<WordEntry>& list, int swaps, CRandom& random);

}  // namespace tavro
