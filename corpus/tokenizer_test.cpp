#include "corpus/tokenizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include "corpus/char_classes.h"
#include "tests/counted_words.h"

namespace tavro {
namespace {

using testing::Counts;

// Tokenises `text` fed in blocks of `blockSize` bytes, the way a file is read.
// Each block has storage of its exact size, so that a sanitised build finds
// any read of the counter past a block's end.
Counts Tokenise(std::string_view text, std::size_t blockSize) {
    WordCounter counter;
    Tokenizer tokenizer;
    for (std::size_t at = 0; at < text.size(); at += blockSize) {
        const std::string_view piece = text.substr(at, blockSize);
        const auto block = std::make_unique<char[]>(piece.size());
        std::copy(piece.begin(), piece.end(), block.get());
        if (!tokenizer.Feed(block.get(), piece.size(), counter)) break;
    }
    tokenizer.Finish(counter);
    return testing::CountsOf(counter);
}

struct Case {
    const char* name;
    std::string text;
    Counts expected;
};

TEST(Tokenizer, SplitsFoldsAndCountsWhateverTheBlockSize) {
    const std::vector<Case> cases = {
        {"apostrophe separates",
         "\xF3'\xE1\xE3\xE1\xF0\xFE",
         {{"\xF3", 1}, {"\xE1\xE3\xE1\xF0\xFE", 1}}},
        {"hyphen and quotes separate",
         "a-b \x93"
         "c\x94",
         {{"a", 1}, {"b", 1}, {"c", 1}}},
        {"digits, letters and underscore join",
         "2003 abc123 \xC1"
         "1 a_b",
         {{"2003", 1},
          {"abc123", 1},
          {"\xE1"
           "1",
           1},
          {"a_b", 1}}},
        {"Greek capitals fold, ASCII does not",
         "\xCB\xFC\xE3\xEF\xF2 \xEB\xFC\xE3\xEF\xF2 ABC abc",
         {{"\xEB\xFC\xE3\xEF\xF2", 2}, {"ABC", 1}, {"abc", 1}}},
        {"CR LF and lone CR separate", "a\r\nb\rc\n", {{"a", 1}, {"b", 1}, {"c", 1}}},
        {"last line without line feed", "a\nb", {{"a", 1}, {"b", 1}}},
        {"NUL ends the scan of its line", std::string("ab\0cd ef\ngh", 11), {{"ab", 1}, {"gh", 1}}},
        {"NUL right after a word", std::string("ab\0\ncd", 6), {{"ab", 1}, {"cd", 1}}},
        {"1A ends the text",
         "ab cd\x1A"
         "ef\ngh",
         {{"ab", 1}, {"cd", 1}}},
        {"1A inside a skipped line ends the text", std::string("a\0b\x1A\nc", 7), {{"a", 1}}},
        {"no word characters", " ,.;\xB7\xFF\n\t", {}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        for (std::size_t block :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 20}) {
            EXPECT_EQ(Tokenise(c.text, block), c.expected) << c.name << ", blocks of " << block;
        }
    }
}

TEST(Tokenizer, VeryLongWordsAndLinesAreReadWhole) {
    const std::string longWord(5000, 'x');
    std::string text = longWord + " ";
    for (int i = 0; i < 30000; ++i) text += "ab ";  // one line of 90,000 bytes
    text += longWord;
    const Counts counts = Tokenise(text, 4096);
    EXPECT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts.at(longWord), 2);
    EXPECT_EQ(counts.at("ab"), 30000);
}

// Random bytes drawn from a small alphabet that holds every kind of byte the scanner
// treats differently, against a straightforward line-by-line reference.
TEST(Tokenizer, MatchesALineByLineReferenceOnRandomText) {
    const std::string alphabet = std::string("aZ_9\xC1\xE1\xDC\xD3 \n\r-'\0", 14);
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 300);
        for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
        Counts expected;
        std::size_t lineStart = 0;
        while (lineStart <= text.size()) {
            std::size_t lineEnd = text.find('\n', lineStart);
            if (lineEnd == std::string::npos) lineEnd = text.size();
            std::string_view line(text.data() + lineStart, lineEnd - lineStart);
            line = line.substr(0, line.find('\0'));
            std::string word;
            for (std::size_t i = 0; i <= line.size(); ++i) {
                const unsigned char b = i < line.size() ? static_cast<unsigned char>(line[i]) : ' ';
                if (IsWordChar(b)) {
                    word += static_cast<char>(ToLowerGreek(b));
                } else if (!word.empty()) {
                    ++expected[word];
                    word.clear();
                }
            }
            lineStart = lineEnd + 1;
        }
        EXPECT_EQ(Tokenise(text, 1 + random() % 17), expected) << "round " << round;
    }
}

}  // namespace
}  // namespace tavro
