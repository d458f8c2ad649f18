#include "mpi/share_plan.h"

namespace tavro {
namespace {

// Where the stretch of rank `rank` begins in the run of `total` bytes.
std::uint64_t StretchBegin(std::uint64_t total, int rank, int ranks) {
    const __uint128_t scaled = static_cast<__uint128_t>(total) * rank;
    return static_cast<std::uint64_t>(scaled / static_cast<unsigned>(ranks));
}

}  // namespace

std::vector<Share> ShareOut(const std::vector<std::optional<std::uint64_t>>& sizes, int ranks) {
    std::vector<Share> shares(static_cast<std::size_t>(ranks));
    std::uint64_t total = 0;
    for (const std::optional<std::uint64_t>& size : sizes) total += size.value_or(0);

    std::uint64_t fileStart = 0;  // where the current file begins in the run of bytes
    int rank = 0;
    for (std::uint32_t file = 0; file < sizes.size(); ++file) {
        if (!sizes[file]) {
            shares.front().push_back({file, 0, std::nullopt});
            continue;
        }
        const std::uint64_t fileEnd = fileStart + *sizes[file];
        std::uint64_t from = fileStart;
        while (from < fileEnd) {
            while (StretchBegin(total, rank + 1, ranks) <= from) ++rank;
            const std::uint64_t stretchEnd = StretchBegin(total, rank + 1, ranks);
            Piece piece{file, from - fileStart, std::nullopt};
            if (stretchEnd < fileEnd) piece.end = stretchEnd - fileStart;
            shares[static_cast<std::size_t>(rank)].push_back(piece);
            from = std::min(stretchEnd, fileEnd);
        }
        fileStart = fileEnd;
    }
    return shares;
}

}  // namespace tavro
