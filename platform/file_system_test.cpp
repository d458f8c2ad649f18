#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/memory_file_system.h"
#include "platform/posix_file_system.h"

namespace tavro {
namespace {

// What a source opened at `offset` reads to its end, read in small pieces so
// that a skip spans several reads; nothing when a read fails.
std::optional<std::string> ReadFrom(FileSystem& files, const std::string& path,
                                    std::uint64_t offset) {
    OpenedSource opened = files.OpenForReadFrom(path, offset);
    if (opened.file == nullptr) return "cannot open: " + opened.problem;
    std::string data;
    char buffer[3];
    for (;;) {
        const std::optional<std::size_t> n = opened.file->Read(buffer, sizeof buffer);
        if (!n) return std::nullopt;
        if (*n == 0) return data;
        data.append(buffer, *n);
    }
}

void ExpectEveryOffset(FileSystem& files, const std::string& path, const std::string& contents) {
    for (std::size_t offset = 0; offset <= contents.size() + 2; ++offset) {
        const std::string expected = offset < contents.size() ? contents.substr(offset) : "";
        EXPECT_EQ(ReadFrom(files, path, offset), expected) << "offset " << offset;
        OpenedSource opened = files.OpenForReadFrom(path, offset);
        ASSERT_NE(opened.file, nullptr);
        EXPECT_EQ(opened.file->Size(), contents.size()) << "the whole file's size";
    }
}

TEST(OpenForReadFrom, ReadsFromEveryOffsetInMemoryAndOnDisk) {
    const std::string contents = "first line\nsecond\n\x1A tail";
    MemoryFileSystem memory;
    memory.Add("a.txt", contents);
    ExpectEveryOffset(memory, "a.txt", contents);

    char pattern[] = "/tmp/tavro_read_from_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    std::ofstream(dir + "/a.txt", std::ios::binary) << contents;
    PosixFileSystem disk;
    ExpectEveryOffset(disk, dir + "/a.txt", contents);
    EXPECT_EQ(ReadFrom(disk, dir + "/missing.txt", 4), "cannot open: No such file or directory");
    EXPECT_EQ(ReadFrom(disk, dir, 4), "cannot open: Is a directory");
    std::filesystem::remove_all(dir);
}

TEST(OpenForReadFrom, AReadErrorWhileSkippingIsAReadError) {
    MemoryFileSystem files;
    files.Add("bad.txt", "abc");
    files.FailOn(MemoryFileSystem::Failure::kRead, "bad.txt");
    EXPECT_EQ(ReadFrom(files, "bad.txt", 1), std::nullopt);
    EXPECT_EQ(ReadFrom(files, "bad.txt", 5), std::nullopt);
    files.FailOn(MemoryFileSystem::Failure::kOpen, "bad.txt");
    EXPECT_EQ(ReadFrom(files, "bad.txt", 1), "cannot open: Permission denied");
}

}  // namespace
}  // namespace tavro
