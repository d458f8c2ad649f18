#include "mpi/piece_source.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "platform/memory_file_system.h"

namespace tavro {
namespace {

struct ReadPiece {
    std::string bytes;
    std::optional<std::uint64_t> endOfText;
    std::optional<std::uint64_t> endOfFile;
};

ReadPiece Read(MemoryFileSystem& files, const Piece& piece, std::size_t capacity) {
    OpenedSource opened = files.OpenForReadFrom("f.txt", PieceSource::OpenAt(piece));
    PieceSource source(std::move(opened.file), piece);
    ReadPiece read;
    std::string buffer(capacity, '\0');
    for (;;) {
        const std::optional<std::size_t> n = source.Read(buffer.data(), capacity);
        EXPECT_TRUE(n.has_value());
        if (!n || *n == 0) break;
        read.bytes.append(buffer, 0, *n);
    }
    read.endOfText = source.EndOfText();
    read.endOfFile = source.EndOfFile();
    return read;
}

// Random lines, some empty, some long, with NULs and 1A bytes in them.
std::string RandomLines(std::mt19937& random) {
    std::string text;
    const std::size_t size = random() % 300;
    while (text.size() < size) {
        const auto roll = random() % 16;
        text += roll < 3 ? '\n' : roll == 3 ? '\0' : roll == 4 ? '\x1A' : roll == 5 ? '\r' : 'a';
    }
    return text;
}

TEST(PieceSource, PiecesCoverTheFileOnceAndSplitNoLine) {
    std::mt19937 random(2026);
    for (int trial = 0; trial < 400; ++trial) {
        const std::string text = RandomLines(random);
        MemoryFileSystem files;
        files.Add("f.txt", text);
        std::set<std::uint64_t> cuts;  // nominal begins of the pieces after the first
        for (auto n = random() % 6; n > 0; --n) cuts.insert(1 + random() % (text.size() + 1));
        std::vector<std::uint64_t> begins = {0};
        for (const std::uint64_t cut : cuts) {
            if (cut < text.size()) begins.push_back(cut);
        }
        const std::size_t capacity = 1 + random() % 40;
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ", capacity " << capacity);

        std::string joined;
        for (std::size_t i = 0; i < begins.size(); ++i) {
            const bool last = i + 1 == begins.size();
            const Piece piece{0, begins[i],
                              last ? std::nullopt : std::optional<std::uint64_t>(begins[i + 1])};
            const ReadPiece read = Read(files, piece, capacity);
            const std::size_t start = joined.size();
            if (!read.bytes.empty() && start > 0) {
                EXPECT_EQ(text[start - 1], '\n') << "piece " << i;
            }
            if (!last && !read.bytes.empty() && joined.size() + read.bytes.size() < text.size()) {
                EXPECT_EQ(read.bytes.back(), '\n') << "piece " << i;
            }
            const std::size_t endOfText = read.bytes.find('\x1A');
            EXPECT_EQ(read.endOfText, endOfText == std::string::npos
                                          ? std::nullopt
                                          : std::optional<std::uint64_t>(start + endOfText));
            if (last) {
                EXPECT_EQ(read.endOfFile, text.size());
            }
            joined += read.bytes;
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(PieceSource, APieceOfAFileThatShrankEndsWhereTheFileEnds) {
    MemoryFileSystem files;
    files.Add("f.txt", "one\ntwo\n");
    const ReadPiece past = Read(files, {0, 20, 40}, 8);
    EXPECT_EQ(past.bytes, "");
    EXPECT_EQ(past.endOfFile, 19u) << "opened at 19: the file ended there or before";
    const ReadPiece across = Read(files, {0, 2, 40}, 3);
    EXPECT_EQ(across.bytes, "two\n");
    EXPECT_EQ(across.endOfFile, 8u);
    EXPECT_EQ(Read(files, {0, 0, 2}, 3).endOfFile, std::nullopt);
}

}  // namespace
}  // namespace tavro
