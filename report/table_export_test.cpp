#include "report/table_export.h"

#include <gtest/gtest.h>

#include "lexicon/noun_crediting.h"
#include "report/greek_order.h"
#include "tests/greek_text.h"

namespace tavro {
namespace {

using testing::Greek;

TEST(GreekOrder, AccentsCaseAndFinalSigmaWaitForTheSecondLevel) {
    // Each case: words (UTF-8) in Greek dictionary order.
    const std::vector<std::vector<const char*>> cases = {
        {"άλφα", "βήτα"},            // ά sits with α, before β (bytes put ά first anyway)
        {"αβ", "άγ", "αδ"},          // the accent waits until the letters are equal
        {"ψυχή", "ώρα", "ωφέλεια"},  // ώρα among the words in ω, not after them
        {"ομώνυμο", "όμως"},         // letters first, whatever the accents
        {"ακόμα", "ακόμη"},          // letters decide before accents
        {"νομός", "νόμος"},          // equal letters: the first unaccented letter first
        {"πας", "πασα"},             // final sigma is a sigma: πας is a prefix of πασα
        {"αι", "αϊ", "αΐ"},          // diaeresis after the plain letter
        {"Ένα", "ένα"},              // equal up to case: by bytes
    };
    for (const std::vector<const char*>& words : cases) {
        std::vector<std::string> cp1253;
        for (const char* word : words) cp1253.push_back(Greek(word));
        std::vector<std::string_view> shuffled(cp1253.rbegin(), cp1253.rend());
        const std::vector<std::uint32_t> order = GreekOrder(shuffled);
        std::string got, expected;
        for (const std::uint32_t i : order) got += std::string(shuffled[i]) + " ";
        for (const std::string& word : cp1253) expected += word + " ";
        EXPECT_EQ(got, expected) << words.front();
    }
    const GreekCollator collator;
    EXPECT_TRUE(collator.Less(Greek("ώρα"), Greek("ωχρός")));
    EXPECT_FALSE(collator.Less(Greek("ωχρός"), Greek("ώρα")));
    EXPECT_FALSE(collator.Less(Greek("λόγος"), Greek("λόγος")));
}

TEST(TableExport, CsvAndJsonQuoting) {
    const struct {
        const char* field;
        const char* csv;
        const char* json;
    } cases[] = {
        {"plain", "plain", "\"plain\""},
        {"a,b", "\"a,b\"", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\"", "\"say \\\"hi\\\"\""},
        {"two\nlines", "\"two\nlines\"", "\"two\\nlines\""},
        {"cr\r", "\"cr\r\"", "\"cr\\r\""},
        {"back\\slash\ttab", "back\\slash\ttab", "\"back\\\\slash\\ttab\""},
        {"λόγος", "λόγος", "\"λόγος\""},
        {"\x01", "\x01", "\"\\u0001\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CsvField(c.field), c.csv) << c.field;
        EXPECT_EQ(JsonString(c.field), c.json) << c.field;
    }
}

// A small analysis: words that are nouns themselves credit them.
class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        words = WordTable::FromEntries({WordEntry(Greek("ώρα"), 3), WordEntry(Greek("άνθρωπος"), 1),
                                        WordEntry(Greek("βιβλίο"), 3), WordEntry("zz", 2)});
        nouns = WordTable::FromEntries({WordEntry(Greek("ώρα"), 0), WordEntry(Greek("άνθρωπος"), 0),
                                        WordEntry(Greek("βιβλίο"), 0)});
        credits = CreditNouns(words, nouns, {}, 1);
        RunFacts facts;
        facts.words = &words;
        facts.credits = &credits;
        facts.nouns = &nouns;
        facts.inputFiles = 1;
        analysis = RunAnalysis::Build(facts);
    }
    std::string Write(TableFormat format, RowOrder order, TableKind kind = TableKind::kNouns) {
        TableRequest request;
        request.kind = kind;
        request.format = format;
        request.order = order;
        return WriteTable(analysis, request);
    }
    WordTable words, nouns;
    WordCredits credits;
    RunAnalysis analysis;
};

TEST_F(ExportTest, OrdersAndFormats) {
    EXPECT_EQ(Write(TableFormat::kText, RowOrder::kBytes), Greek("άνθρωπος 1\nβιβλίο 3\nώρα 3\n"));
    EXPECT_EQ(Write(TableFormat::kText, RowOrder::kFrequency),
              Greek("βιβλίο 3\nώρα 3\nάνθρωπος 1\n"));
    EXPECT_EQ(Write(TableFormat::kText, RowOrder::kGreek), Greek("άνθρωπος 1\nβιβλίο 3\nώρα 3\n"));
    EXPECT_EQ(Write(TableFormat::kText, RowOrder::kGreek, TableKind::kWords),
              Greek("άνθρωπος 1\nβιβλίο 3\nώρα 3\nzz 2\n"));  // Greek script first
    EXPECT_EQ(Write(TableFormat::kCsv, RowOrder::kFrequency),
              "\xEF\xBB\xBFrank,noun,count,sure count,per million\r\n"
              "1,βιβλίο,3,3,333333.33\r\n2,ώρα,3,3,333333.33\r\n3,άνθρωπος,1,1,111111.11\r\n");
    EXPECT_EQ(Write(TableFormat::kTsv, RowOrder::kBytes, TableKind::kWords),
              "rank\tword\tcount\tper million\tnouns\n"
              "1\tzz\t2\t222222.22\t\n"
              "2\tάνθρωπος\t1\t111111.11\tάνθρωπος\n"
              "3\tβιβλίο\t3\t333333.33\tβιβλίο\n"
              "4\tώρα\t3\t333333.33\tώρα\n");
    const std::string json = Write(TableFormat::kJson, RowOrder::kGreek);
    EXPECT_NE(json.find("\"table\": \"nouns\""), std::string::npos);
    EXPECT_NE(json.find("{\"rank\": 3, \"noun\": \"ώρα\", \"count\": 3, \"sure_count\": 3, "
                        "\"per_million\": 333333.33}"),
              std::string::npos);
    EXPECT_NE(json.find("\"sttr\": null"), std::string::npos);
}

TEST_F(ExportTest, EmptyTablesStillHaveTheirHeader) {
    TableRequest request;
    request.format = TableFormat::kTsv;
    request.filter.minCount = 100;
    EXPECT_EQ(WriteTable(analysis, request), "rank\tnoun\tcount\tsure count\tper million\n");
    request.format = TableFormat::kJson;
    EXPECT_NE(WriteTable(analysis, request).find("\"rows\": [],"), std::string::npos);
    request.format = TableFormat::kText;
    EXPECT_EQ(WriteTable(analysis, request), "");
}

}  // namespace
}  // namespace tavro
