#include "corpus/input_reading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>

#include "corpus/parallel.h"
#include "platform/memory_file_system.h"

namespace tavro {
namespace {

class NoProgress : public ProgressDisplay {
  public:
    void SetRange(std::int64_t, std::int64_t) override {}
    void SetStep(std::int64_t) override {}
    void SetPos(std::int64_t) override {}
    void StepIt() override {}
    void SetFileName(const std::string&) override {}
};

// Files whose reading runs out of memory once `failAfter` bytes were delivered.
class ExhaustedFileSystem : public MemoryFileSystem {
  public:
    explicit ExhaustedFileSystem(std::size_t failAfter) : m_failAfter(failAfter) {}
    OpenedSource OpenForRead(const std::string& path) override {
        OpenedSource opened = MemoryFileSystem::OpenForRead(path);
        if (opened.file)
            opened.file = std::make_unique<Exhausted>(std::move(opened.file), m_failAfter);
        return opened;
    }

  private:
    class Exhausted : public ByteSource {
      public:
        Exhausted(std::unique_ptr<ByteSource> inner, std::size_t left)
            : m_inner(std::move(inner)), m_left(left) {}
        std::optional<std::size_t> Read(char* buffer, std::size_t capacity) override {
            if (m_left == 0) throw std::bad_alloc();
            const std::optional<std::size_t> n = m_inner->Read(buffer, std::min(capacity, m_left));
            if (n) m_left -= *n;
            return n;
        }

      private:
        std::unique_ptr<ByteSource> m_inner;
        std::size_t m_left;
    };
    std::size_t m_failAfter;
};

TEST(CountInputFiles, CountsEveryFileAndTheFilesOfEveryWord) {
    MemoryFileSystem files;
    files.Add("a", "b a b\nc");
    files.Add("b",
              "a\r\nzz\x1A"
              "after the end");
    NoProgress progress;
    for (const int threads : {1, 2, 7}) {
        const CountedInput counted =
            CountInputFiles({"a", "b", "a"}, files, progress, {threads, true});
        ASSERT_TRUE(counted.status.ok());
        std::string words;
        for (std::size_t i = 0; i < counted.words.size(); ++i) {
            words += counted.words[i].word + "=" + std::to_string(counted.words[i].count) + "/" +
                     std::to_string(counted.fileCounts.at(i)) + " ";
        }
        // The same path twice is two files.
        EXPECT_EQ(words, "a=3/3 b=4/2 c=2/2 zz=1/1 ") << threads << " threads";
        EXPECT_TRUE(counted.warnings.empty());
        EXPECT_EQ(counted.bytesRead, 2 * 7 + 19u);  // the bytes after 1A were read too
    }
    const CountedInput plain = CountInputFiles({"a"}, files, progress, {2, false});
    EXPECT_TRUE(plain.fileCounts.empty());
}

// Each file is read in the encoding its bytes show, decided on its first block
// that is not plain ASCII; malformed sequences are counted per file and in all.
TEST(CountInputFiles, DecodesEachFileInItsOwnEncoding) {
    MemoryFileSystem files;
    files.Add("cp1253", "\xA2\xEB\xEB\xEF\xF2 \xEB\xFC\xE3\xEF\xF2");  // Άλλος λόγος
    files.Add("iso", "\xB6\xEB\xEB\xEF\xF2 \xEB\xFC\xE3\xEF\xF2");     // the same
    files.Add("utf8", "Άλλος λόγος \xFF");
    // Greek only after more than a read block of ASCII.
    files.Add("late", std::string(5'000'000, 'a') + " Άλλος λόγος\xCE");
    files.Add("utf16", "\xFF\xFEx\0");
    NoProgress progress;
    for (const int threads : {1, 3}) {
        const CountedInput counted = CountInputFiles({"cp1253", "iso", "utf8", "late", "utf16"},
                                                     files, progress, {threads, true});
        ASSERT_TRUE(counted.status.ok());
        std::string words;
        for (std::size_t i = 0; i < counted.words.size(); ++i) {
            if (counted.words[i].word.size() > 20) continue;
            words += counted.words[i].word + "=" + std::to_string(counted.words[i].count) + "/" +
                     std::to_string(counted.fileCounts.at(i)) + " ";
        }
        EXPECT_NE(words.find("\xDC\xEB\xEB\xEF\xF2=4/4"), std::string::npos) << words;
        EXPECT_NE(words.find("\xEB\xFC\xE3\xEF\xF2=4/4"), std::string::npos) << words;
        EXPECT_EQ(counted.badSequences, 2u);
        const std::vector<FileWarning> expected = {
            {"utf8", "1 byte sequence is not valid UTF-8; each was read as a space"},
            {"late", "1 byte sequence is not valid UTF-8; each was read as a space"},
            {"utf16",
             "the file starts with a UTF-16 byte-order mark; UTF-16 is not read as text (save "
             "the file as UTF-8)"}};
        EXPECT_EQ(counted.warnings, expected);
    }
    // Named, one encoding holds for every file: B6 is then a pilcrow, not Ά.
    const CountedInput forced =
        CountInputFiles({"iso"}, files, progress, {2, false, EncodingChoice::kCp1253});
    ASSERT_EQ(forced.words.size(), 2u);
    EXPECT_EQ(forced.words[0].word, "\xEB\xEB\xEF\xF2");
}

// A file spread over many blocks, counted by several threads: the files of every
// word are counted once each although several threads saw the word in one file.
TEST(CountInputFiles, FileCountsAreExactWhenThreadsShareAFile) {
    MemoryFileSystem files;
    std::string big;
    for (int line = 0; big.size() < 12'000'000; ++line) {
        big += "common w" + std::to_string(line % 997) + "\n";
    }
    files.Add("big", big);
    files.Add("small", "common rare\n");
    NoProgress progress;
    const CountedInput counted =
        CountInputFiles({"big", "small", "big"}, files, progress, {3, true});
    ASSERT_TRUE(counted.status.ok());
    EXPECT_EQ(counted.fileCounts.at(counted.words.Find("common")), 3u);
    EXPECT_EQ(counted.fileCounts.at(counted.words.Find("w5")), 2u);
    EXPECT_EQ(counted.fileCounts.at(counted.words.Find("rare")), 1u);
}

TEST(CountInputFiles, StopsWhenTheProgressWindowAsksTo) {
    class Cancelling : public NoProgress {
      public:
        bool CancelRequested() override { return true; }
    };
    MemoryFileSystem files;
    files.Add("a", "words");
    files.Add("b", "more");
    Cancelling progress;
    const CountedInput counted = CountInputFiles({"a", "b"}, files, progress, {2, false});
    EXPECT_EQ(counted.status.kind(), Status::Kind::kCancelled);
    EXPECT_EQ(files.OpenCount("b"), 0);
}

TEST(CountInputFiles, RunningOutOfMemoryIsAnErrorThatNamesTheFile) {
    ExhaustedFileSystem files(3);
    files.Add("big.txt", "some words that do not fit");
    NoProgress progress;
    const CountedInput counted = CountInputFiles({"big.txt"}, files, progress, {2, false});
    EXPECT_EQ(counted.status.kind(), Status::Kind::kFatal);
    EXPECT_EQ(counted.status.message().text, "Out of memory while counting the words of big.txt");
    EXPECT_TRUE(counted.words.empty());
}

TEST(RunShares, DoesEveryShareOnceAndRethrowsTheFirstFailure) {
    std::vector<std::atomic<int>> done(100);
    RunShares(done.size(), 4, [&](std::size_t share) { ++done[share]; });
    for (const std::atomic<int>& count : done) EXPECT_EQ(count.load(), 1);
    EXPECT_THROW(RunShares(10, 3,
                           [](std::size_t share) {
                               if (share == 4) throw std::runtime_error("share 4");
                           }),
                 std::runtime_error);
    RunShares(0, 8, [](std::size_t) { FAIL() << "no share to run"; });
}

}  // namespace
}  // namespace tavro
