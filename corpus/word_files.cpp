#include "corpus/word_files.h"

#include <algorithm>

namespace tavro {

std::uint32_t UnionSize(const WordFiles& files, std::span<const std::uint32_t> positions) {
    std::vector<std::uint32_t> all;
    for (const std::uint32_t position : positions) {
        const auto of = files.Of(position);
        all.insert(all.end(), of.begin(), of.end());
    }
    std::sort(all.begin(), all.end());
    return static_cast<std::uint32_t>(std::unique(all.begin(), all.end()) - all.begin());
}

}  // namespace tavro
