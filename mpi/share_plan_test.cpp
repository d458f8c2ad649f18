#include "mpi/share_plan.h"

#include <gtest/gtest.h>

#include <random>

namespace tavro {
namespace {

using Sizes = std::vector<std::optional<std::uint64_t>>;

// The bytes each rank's share covers, checking on the way that the pieces of
// every file follow each other in rank order, from its first byte to its last.
std::vector<std::uint64_t> CheckPieces(const Sizes& sizes, const std::vector<Share>& shares) {
    std::vector<std::uint64_t> covered(sizes.size(), 0);  // per file, so far
    std::vector<std::uint64_t> perRank;
    for (std::size_t rank = 0; rank < shares.size(); ++rank) {
        std::uint64_t bytes = 0;
        for (std::size_t i = 0; i < shares[rank].size(); ++i) {
            const Piece& piece = shares[rank][i];
            EXPECT_TRUE(piece.begin == 0 || i == 0) << "only a first piece begins inside a file";
            if (!sizes[piece.file]) {
                EXPECT_EQ(rank, 0u) << "a file of unknown size goes to rank 0";
                EXPECT_EQ(piece, (Piece{piece.file, 0, std::nullopt}));
                continue;
            }
            EXPECT_EQ(piece.begin, covered[piece.file]) << "file " << piece.file;
            const std::uint64_t end = piece.end.value_or(*sizes[piece.file]);
            EXPECT_LT(piece.begin, end);
            EXPECT_TRUE(!piece.end || *piece.end < *sizes[piece.file]);
            bytes += end - piece.begin;
            covered[piece.file] = end;
        }
        perRank.push_back(bytes);
    }
    for (std::size_t file = 0; file < sizes.size(); ++file) {
        EXPECT_EQ(covered[file], sizes[file].value_or(0)) << "file " << file;
    }
    return perRank;
}

TEST(ShareOut, EveryByteOnceAndEveryRankWithinAByteOfItsShare) {
    std::mt19937_64 random(42);
    for (int trial = 0; trial < 300; ++trial) {
        Sizes sizes(random() % 7);
        for (std::optional<std::uint64_t>& size : sizes) {
            const auto kind = random() % 8;
            if (kind == 0) continue;  // not known
            size = kind == 1 ? 0 : random() % 1000;
        }
        if (trial == 0) sizes = {std::uint64_t{1} << 62, std::uint64_t{1} << 62};  // no overflow
        const int ranks = 1 + static_cast<int>(random() % 9);
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ", " << ranks << " ranks");
        const std::vector<Share> shares = ShareOut(sizes, ranks);
        ASSERT_EQ(shares.size(), static_cast<std::size_t>(ranks));
        const std::vector<std::uint64_t> perRank = CheckPieces(sizes, shares);
        const auto [least, most] = std::minmax_element(perRank.begin(), perRank.end());
        EXPECT_LE(*most - *least, 1u);
    }
}

TEST(ShareOut, ABigFileIsSplitAndSmallOnesStayWhole) {
    const std::vector<Share> shares = ShareOut({100, 2, 2}, 2);
    EXPECT_EQ(shares[0], (Share{{0, 0, 52}}));
    EXPECT_EQ(shares[1],
              (Share{{0, 52, std::nullopt}, {1, 0, std::nullopt}, {2, 0, std::nullopt}}));
}

}  // namespace
}  // namespace tavro
