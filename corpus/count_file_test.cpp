#include "corpus/count_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "platform/memory_file_system.h"

namespace tavro {
namespace {

WordCounts Sample() {
    WordCounts counts;
    WordEntry a, b, c;
    a.word = "\xEB\xFC\xE3\xEF\xF2";  // λόγος
    a.count = 5;
    b.word = "\xEB\xFC\xE3\xEF\xF5";  // λόγου
    b.count = 2;
    c.word = "x\xD2y";  // a byte cp1253 leaves undefined
    c.count = 1;
    counts.words = {b, a, c};
    std::sort(counts.words.begin(), counts.words.end(),
              [](const WordEntry& l, const WordEntry& r) { return l.word < r.word; });
    // x\xD2y, λόγος, λόγου
    counts.files = WordFiles({0, 1, 4, 5}, {2, 0, 1, 2, 3});
    counts.fileCount = 4;
    counts.bytes = 99;
    counts.badSequences = 3;
    return counts;
}

bool Same(const WordCounts& a, const WordCounts& b) {
    if (a.words.size() != b.words.size() || a.fileCount != b.fileCount || a.bytes != b.bytes ||
        a.badSequences != b.badSequences || a.files.empty() != b.files.empty()) {
        return false;
    }
    for (std::size_t w = 0; w < a.words.size(); ++w) {
        if (a.words[w].word != b.words[w].word || a.words[w].count != b.words[w].count)
            return false;
        if (a.files.empty()) continue;
        const auto fa = a.files.Of(w), fb = b.files.Of(w);
        if (!std::equal(fa.begin(), fa.end(), fb.begin(), fb.end())) return false;
    }
    return true;
}

// The checksum line made right again after a deliberate change.
std::string Resealed(std::string text) {
    text.erase(text.rfind("end "));
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : text) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ull;
    }
    char end[32];
    std::snprintf(end, sizeof end, "end %016llx\n", static_cast<unsigned long long>(hash));
    return text + end;
}

TEST(CountFile, RoundTripsWithFilesRangesAndUndefinedBytes) {
    const std::string text = RenderCountFile(Sample());
    EXPECT_EQ(text.substr(0, text.rfind("end ")),
              "tavro-counts 1\nfiles 4\nbytes 99\nbad-sequences 3\ntokens 8\nwords 3\n"
              "x\\xD2y 1 2\nλόγος 5 0-2\nλόγου 2 3\n");
    const LoadedCounts loaded = ParseCountFile(text, "s.counts");
    ASSERT_TRUE(loaded.status.ok()) << loaded.status.message().text;
    EXPECT_TRUE(Same(loaded.counts, Sample()));
    WordCounts noFiles = Sample();
    noFiles.files = {};
    const LoadedCounts plain = ParseCountFile(RenderCountFile(noFiles), "p.counts");
    ASSERT_TRUE(plain.status.ok());
    EXPECT_TRUE(Same(plain.counts, noFiles));
}

TEST(CountFile, EveryTruncationIsRefused) {
    const std::string text = RenderCountFile(Sample());
    for (std::size_t size = 0; size < text.size(); ++size) {
        const LoadedCounts loaded = ParseCountFile(text.substr(0, size), "t.counts");
        ASSERT_FALSE(loaded.status.ok()) << size;
        EXPECT_EQ(loaded.status.message().path, "t.counts");
    }
    EXPECT_EQ(ParseCountFile(text.substr(0, text.rfind("end ")), "t.counts").status.message().text,
              "Truncated count file (line 10: the file ends before its end line): ");
}

TEST(CountFile, OtherVersionsAndCorruptionAreRefusedNamingTheLine) {
    const std::string good = RenderCountFile(Sample());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {replaced("tavro-counts 1", "tavro-counts 2"),
         "Not a count file of this version (line 1: the first line is not \"tavro-counts 1\"): "},
        {"λόγος 5\n",
         "Not a count file of this version (line 1: the first line is not "
         "\"tavro-counts 1\"): "},
        {replaced("λόγος 5", "λόγος 6"),
         "Corrupted count file (line 10: the checksum does not match): "},
        {Resealed(replaced("λόγος 5", "λόγος 6")),
         "Corrupted count file (line 5: the tokens are not the counts' sum): "},
        {Resealed(replaced("λόγος 5", "λόγος x")),
         "Corrupted count file (line 8: the count is not a number from 1 up): "},
        {Resealed(replaced("λόγου 2 3", "λόγου 2 4")),
         "Corrupted count file (line 9: the files are not ascending file numbers): "},
        {Resealed(replaced("λόγος 5 0-2", "λόγος 5 2,1")),
         "Corrupted count file (line 8: the files are not ascending file numbers): "},
        {Resealed(replaced("λόγος", "λόγοω")),
         "Corrupted count file (line 9: the words are not in ascending order): "},
        {Resealed(replaced("bytes 99", "bytes ninety")),
         "Corrupted count file (line 3: expected \"bytes NUMBER\"): "},
        {good + "more\n", "Corrupted count file (line 11: bytes after the end line): "},
    };
    for (const auto& c : cases) {
        const LoadedCounts loaded = ParseCountFile(c.text, "c.counts");
        EXPECT_FALSE(loaded.status.ok()) << c.message;
        EXPECT_EQ(loaded.status.message().text, c.message);
        EXPECT_EQ(loaded.status.message().path, "c.counts");
        EXPECT_EQ(loaded.status.exitStatus(), kExitFatal);
    }
    MemoryFileSystem files;
    EXPECT_EQ(ReadCountFile(files, "none").status.message().text, "Error while opening file ");
}

TEST(CountFile, AddingSumsCountsAndNumbersTheFilesAfterThoseBefore) {
    WordCounts b;
    WordEntry a;
    a.word = "\xEB\xFC\xE3\xEF\xF2";  // λόγος
    a.count = 1;
    WordEntry z;
    z.word = "\xFE";
    z.count = 4;
    b.words = {a, z};
    b.files = WordFiles({0, 1, 3}, {0, 0, 1});
    b.fileCount = 2;
    b.bytes = 1;
    const WordCounts sum = AddCounts(Sample(), b);
    ASSERT_EQ(sum.words.size(), 4u);
    EXPECT_EQ(sum.words[1].count, 6);
    EXPECT_EQ(sum.fileCount, 6u);
    EXPECT_EQ(sum.bytes, 100u);
    EXPECT_EQ(std::vector<std::uint32_t>(sum.files.Of(1).begin(), sum.files.Of(1).end()),
              (std::vector<std::uint32_t>{0, 1, 2, 4}));
    EXPECT_EQ(std::vector<std::uint32_t>(sum.files.Of(3).begin(), sum.files.Of(3).end()),
              (std::vector<std::uint32_t>{4, 5}));
}

}  // namespace
}  // namespace tavro
