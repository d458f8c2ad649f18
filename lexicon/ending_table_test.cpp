#include "lexicon/ending_table.h"

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"

namespace tavro {
namespace {

struct LineCase {
    const char* name;
    std::string line;
    EndingGroup expected;
};

TEST(ConjugationLine, TokensAndAccentMarkers) {
    const std::vector<LineCase> cases = {
        {"spaces and tabs around and between",
         "  \t \xEF\xF5\t\xEF\xF2  ",
         {{"\xEF\xF5", 0}, {"\xEF\xF2", 0}}},
        {"marker after the text",
         "\xEF\xF5 \xEF\xF2 \xEF-1",
         {{"\xEF\xF5", 0}, {"\xEF\xF2", 0}, {"\xEF", 1}}},
        {"marker first", "-2\xF9\xED", {{"\xF9\xED", 2}}},
        {"marker inside, not a digit", "\xF9-x\xED", {{"\xF9\xED", 0}}},
        {"only one byte of the marker is read", "a-12", {{"a2", 1}}},
        {"the last marker counts", "a-1b-2", {{"ab", 2}}},
        {"a marker swallows the space after it", "\xEF- \xEF\xF2", {{"\xEF\xEF\xF2", 0}}},
        {"a marker alone", "-1", {{"", 1}}},
        {"a hyphen that ends the line", "ab \xEF-", {{"ab", 0}, {"\xEF", 0}}},
        {"a lone hyphen", "-", {{"", 0}}},
        {"upper case kept", "\xCF\xD5 \xCF\xD3", {{"\xCF\xD5", 0}, {"\xCF\xD3", 0}}},
        {"NUL ends the line", std::string("ab\0cd ef", 8), {{"ab", 0}}},
        {"blank", " \t ", {}},
    };
    for (const LineCase& c : cases) EXPECT_EQ(ParseConjugationLine(c.line), c.expected) << c.name;
}

TEST(ConjugationLine, LongLinesAreReadWhole) {
    std::string line;
    for (int i = 0; i < 400; ++i) line += "ab ";  // 1,200 bytes
    EXPECT_EQ(ParseConjugationLine(line).size(), 400u);
}

TEST(ConjugationText, OneGroupPerLineInFileOrder) {
    EXPECT_EQ(ParseConjugationText("").size(), 1u);  // an empty file: one empty group
    const std::vector<EndingGroup> table = ParseConjugationText("a b\n\nc d\n");
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0], (EndingGroup{{"a", 0}, {"b", 0}}));
    EXPECT_TRUE(table[1].empty());
    EXPECT_EQ(table[2], (EndingGroup{{"c", 0}, {"d", 0}}));
    EXPECT_TRUE(table[3].empty());
}

TEST(LoadConjugationTable, ReadsTextModeAndAppends) {
    MemoryFileSystem files;
    files.Add("conjugation.txt",
              "a b\r\nc d-1\r\ne\rf\x1A"
              "ignored g\n");
    std::vector<EndingGroup> table = {{{"old", 0}}};
    EXPECT_TRUE(LoadConjugationTable(files, "conjugation.txt", table).ok());
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[1], (EndingGroup{{"a", 0}, {"b", 0}}));
    EXPECT_EQ(table[2], (EndingGroup{{"c", 0}, {"d", 1}}));
    EXPECT_EQ(table[3], (EndingGroup{{"e\rf", 0}}));  // a lone CR is an ordinary byte
}

TEST(LoadConjugationTable, MissingOrUnreadableFileIsFatal) {
    MemoryFileSystem files;
    std::vector<EndingGroup> table;
    const Status missing = LoadConjugationTable(files, "conjugation.txt", table);
    EXPECT_EQ(missing.kind(), Status::Kind::kFatal);
    EXPECT_EQ(missing.exitStatus(), 255);
    EXPECT_EQ(missing.message(), (UserMessage{"Error while opening file ", "conjugation.txt"}));
    EXPECT_EQ(missing.problem(), "No such file or directory");

    files.Add("broken.txt", "a b\n");
    files.FailOn(MemoryFileSystem::Failure::kRead, "broken.txt");
    const Status unreadable = LoadConjugationTable(files, "broken.txt", table);
    EXPECT_EQ(unreadable.kind(), Status::Kind::kFatal);
    EXPECT_EQ(unreadable.message(), (UserMessage{"Error while reading file ", ""}));
    EXPECT_TRUE(table.empty());
}

}  // namespace
}  // namespace tavro
