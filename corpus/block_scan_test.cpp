#include "corpus/block_scan.h"

#include <gtest/gtest.h>

#include "corpus/char_classes.h"

namespace tavro {
namespace {

TEST(BlockScan, FoldsAndMasksEveryByteAtEveryPosition) {
    unsigned char chunk[64];
    unsigned char original[64];
    for (int value = 0; value < 256; ++value) {
        for (int position = 0; position < 64; ++position) {
            for (int i = 0; i < 64; ++i)
                original[i] = static_cast<unsigned char>((value + i * 37) & 0xFF);
            original[position] = static_cast<unsigned char>(value);
            std::copy(original, original + 64, chunk);
            std::uint64_t word = 0;
            std::uint64_t special = 0;
            for (int i = 0; i < 64; ++i) {
                word |= static_cast<std::uint64_t>(IsWordChar(original[i])) << i;
                special |= static_cast<std::uint64_t>(original[i] == 0 || original[i] == 0x1A) << i;
            }
            const ChunkMasks masks = FoldAndMask64(chunk);
            ASSERT_EQ(masks.word, word) << "byte " << value << " at " << position;
            ASSERT_EQ(masks.special, special) << "byte " << value << " at " << position;
            for (int i = 0; i < 64; ++i) {
                ASSERT_EQ(chunk[i], ToLowerGreek(original[i])) << "byte " << int(original[i]);
            }
        }
    }
}

}  // namespace
}  // namespace tavro
