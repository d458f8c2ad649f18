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
            std::uint64_t expected = 0;
            for (int i = 0; i < 64; ++i) {
                expected |= static_cast<std::uint64_t>(IsWordChar(original[i])) << i;
            }
            ASSERT_EQ(FoldAndMask64(chunk), expected) << "byte " << value << " at " << position;
            for (int i = 0; i < 64; ++i) {
                ASSERT_EQ(chunk[i], ToLowerGreek(original[i])) << "byte " << int(original[i]);
            }
        }
    }
}

}  // namespace
}  // namespace tavro
