#include "corpus/shuffle.h"

#include <utility>

namespace tavro {

void ShuffleEntries(std::vector<WordEntry>& list, int swaps, CRandom& random) {
    const std::size_t n = list.size();
    if (n == 0) return;  // no position to draw: nothing to exchange
    for (int round = 0; round < swaps; ++round) {
        const std::size_t i = static_cast<std::size_t>(random.Next()) % n;
        const std::size_t j = static_cast<std::size_t>(random.Next()) % n;
        std::swap(list[i], list[j]);
    }
}

}  // namespace tavro
