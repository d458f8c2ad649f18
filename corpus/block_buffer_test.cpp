#include "corpus/block_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace tavro {
namespace {

TEST(BlockBuffer, KeepsItsBytesAndItsStorageThroughResizesAndErasures) {
    BlockBuffer buffer(std::string_view("line one\nline two\n"));
    EXPECT_EQ(std::string_view(buffer), "line one\nline two\n");

    buffer.Erase(4, 4);  // " one"
    EXPECT_EQ(std::string_view(buffer), "line\nline two\n");
    buffer.Erase(10, 100);  // past the end: up to the end
    EXPECT_EQ(std::string_view(buffer), "line\nline ");

    // Growing far past the storage keeps the bytes there were.
    buffer.Resize(1 << 20);
    EXPECT_EQ(std::string_view(buffer).substr(0, 10), "line\nline ");
    const char* storage = buffer.data();
    const std::size_t capacity = buffer.capacity();

    // Replacing and shrinking reuse the storage.
    buffer.Assign("short");
    buffer.Resize(3);
    EXPECT_EQ(std::string_view(buffer), "sho");
    buffer.Resize(capacity);
    EXPECT_EQ(buffer.data(), storage);
    EXPECT_EQ(std::string_view(buffer).substr(0, 3), "sho");

    buffer.Assign("");
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(buffer.capacity(), capacity);
}

}  // namespace
}  // namespace tavro
