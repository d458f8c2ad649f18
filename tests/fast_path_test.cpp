// The fast processing run (hash counting, blocks on worker threads, indexed endings,
// parallel crediting) against the plain reference run, on generated corpora, in
// every report mode.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "corpus/block_reader.h"
#include "corpus/tokenizer.h"
#include "document/tavro_doc.h"
#include "lexicon/noun_lexicon.h"
#include "platform/memory_file_system.h"
#include "tests/counted_words.h"
#include "tests/reference_run.h"
#include "tests/test_platform.h"

namespace tavro::testing {
namespace {

std::string ReadSourceFile(const std::string& relative) {
    std::ifstream file(std::string(TAVRO_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Text made of lexicon nouns with endings of the table glued on, capitalised at
// random, between separators of every kind, with the odd NUL and long line.
class CorpusMaker {
  public:
    CorpusMaker(const ReferenceData& data, unsigned seed) : m_random(seed) {
        m_nouns = SplitLexiconLines(data.lexicon);
        for (const EndingGroup& group : ParseConjugationText(data.conjugation)) {
            for (const EndingToken& token : group) m_endings.push_back(token.text);
        }
        m_endings.push_back("");
    }

    std::string Make(std::size_t bytes, bool withEndOfText) {
        static const char* kSeparators[] = {" ",  " ", " ", ", ",   ". ",   "\n", "\r\n",
                                            "\t", "-", "'", "\xAB", "\xBB", ";"};
        std::string text;
        while (text.size() < bytes) {
            const unsigned pick = m_random() % 1000;
            if (pick < 2) {
                text += std::string(1, '\0') + "hidden words";
            } else if (pick < 4) {
                text += std::string(30000, 'x');  // a long word on a long line
            } else if (pick == 4 && withEndOfText) {
                text +=
                    "\x1A"
                    "after the end";
            } else {
                text += Word();
            }
            text += kSeparators[m_random() % std::size(kSeparators)];
        }
        return text;
    }

  private:
    std::string Word() {
        std::string word = m_nouns[m_random() % m_nouns.size()];
        if (m_random() % 3 == 0 && word.size() > 2) {
            word.resize(word.size() - 1 - m_random() % 2);
            word += m_endings[m_random() % m_endings.size()];
        }
        if (m_random() % 5 == 0) {  // capitals: Greek ones fold, ASCII ones stay
            for (char& c : word) {
                const auto b = static_cast<unsigned char>(c);
                if (b >= 0xE1 && b <= 0xF9 && b != 0xF2) c = static_cast<char>(b - 0x20);
                if (b == 0xDC) c = static_cast<char>(0xA2);
            }
        }
        if (m_random() % 50 == 0) word += "Ab1_";
        return word;
    }

    std::mt19937 m_random;
    std::vector<std::string> m_nouns;
    std::vector<std::string> m_endings;
};

class FastPathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data.lexicon = ReadSourceFile("data/finalList.txt");
        data.conjugation = ReadSourceFile("data/conjugation.txt");
        ASSERT_FALSE(data.lexicon.empty());
        ASSERT_FALSE(data.conjugation.empty());
    }

    std::string FastReport(const std::vector<std::string>& files, bool allWords, bool byFrequency,
                           int threads) {
        TestPlatform platform;
        platform.files.Add("finalList.txt", data.lexicon);
        platform.files.Add("conjugation.txt", data.conjugation);
        std::vector<std::string> paths;
        for (std::size_t i = 0; i < files.size(); ++i) {
            paths.push_back("in" + std::to_string(i));
            platform.files.Add(paths.back(), files[i]);
        }
        CTavroDoc doc(platform);
        doc.SetThreadCount(threads);
        EXPECT_TRUE(doc.LoadData().ok());
        if (allWords) doc.OnViewShowAllWords();
        if (byFrequency) doc.OnViewSortByFrequency();
        EXPECT_TRUE(doc.OpenInputFiles(paths).ok());
        return std::string(doc.ReportText());
    }

    void ExpectSameReports(const std::vector<std::string>& files) {
        for (const bool allWords : {false, true}) {
            for (const bool byFrequency : {false, true}) {
                const std::string expected = ReferenceReport(data, files, allWords, byFrequency);
                EXPECT_FALSE(expected.empty());
                for (const int threads : {1, 3, 8}) {
                    EXPECT_TRUE(FastReport(files, allWords, byFrequency, threads) == expected)
                        << "all words " << allWords << ", by frequency " << byFrequency
                        << ", threads " << threads;
                }
            }
        }
    }

    ReferenceData data;
};

TEST_F(FastPathTest, SmallFilesInEveryMode) {
    CorpusMaker maker(data, 1);
    ExpectSameReports(
        {maker.Make(20000, false), maker.Make(1, false), "", maker.Make(50000, true)});
}

TEST_F(FastPathTest, FilesLargerThanAReadBlock) {
    CorpusMaker maker(data, 2);
    ExpectSameReports({maker.Make(9'000'000, false), maker.Make(300'000, true)});
}

// Whatever the block size, counting the blocks one by one on their own equals
// counting the whole text at once.
TEST(BlockReader, BlocksTokeniseOnTheirOwn) {
    std::mt19937 random(5);
    const std::string alphabet = std::string("ab \n\r\0\x1A\xC1\xE1-", 11);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const std::size_t length = random() % 400;
        for (std::size_t i = 0; i < length; ++i) {
            // 1A rarely, so that most texts run to their end.
            char c = alphabet[random() % alphabet.size()];
            if (c == '\x1A' && random() % 8 != 0) c = 'a';
            text += c;
        }
        WordCounter whole;
        Tokenizer tokenizer;
        std::string copy = text;
        tokenizer.Feed(copy.data(), copy.size(), whole);
        tokenizer.Finish(whole);

        MemoryFileSystem files;
        files.Add("t", text);
        const OpenedSource source = files.OpenForRead("t");
        BlockReader reader(1 + random() % 40);
        reader.Start(*source.file);
        WordCounter pieces;
        BlockBuffer block;
        while (reader.Next(block).value_or(false)) {
            Tokenizer blockTokenizer;
            blockTokenizer.Feed(block.data(), block.size(), pieces);
            blockTokenizer.Finish(pieces);
        }
        EXPECT_EQ(CountsOf(pieces), CountsOf(whole)) << "round " << round;
    }
}

TEST(BlockReader, ReadErrorIsReported) {
    MemoryFileSystem files;
    files.Add("t", "some text\n");
    files.FailOn(MemoryFileSystem::Failure::kRead, "t");
    const OpenedSource source = files.OpenForRead("t");
    BlockReader reader(4);
    reader.Start(*source.file);
    BlockBuffer block;
    std::optional<bool> more;
    while ((more = reader.Next(block)) && *more) {
    }
    EXPECT_FALSE(more.has_value());
}

}  // namespace
}  // namespace tavro::testing
