// The analysis of a run, checked against tables computed by hand.
#include <gtest/gtest.h>

#include "document/tavro_doc.h"
#include "report/table_export.h"
#include "tests/test_platform.h"

namespace tavro {
namespace {

using testing::Greek;
using testing::TestPlatform;

TableRequest Ambiguous() {
    TableRequest request;
    request.kind = TableKind::kAmbiguous;
    return request;
}

// λόγες reaches λόγα once and λόγος twice (a repeated candidate): it is
// ambiguous, and λόγος's count keeps both credits as the report does.
//   a.txt: λόγες λόγες λόγος λόγου σπίτι      b.txt: λόγου σπίτι σπίτι ξένο
class AnalysisTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.files.Add("finalList.txt", Greek("λόγος\nλόγα\nσπίτι\n"));
        platform.files.Add("conjugation.txt", Greek("ες α ος\nες ος\nου ος\n"));
        platform.files.Add("a.txt", Greek("λόγες Λόγες λόγος λόγου σπίτι"));
        platform.files.Add("b.txt", Greek("λόγου σπίτι σπίτι ξένο"));
        ASSERT_TRUE(doc.LoadData().ok());
    }
    const RunAnalysis& Run(RunExtras extras) {
        doc.SetRunExtras(extras);
        EXPECT_TRUE(doc.OpenInputFiles({"a.txt", "b.txt"}).ok());
        return *doc.Analysis();
    }
    TestPlatform platform;
    CTavroDoc doc{platform};
};

TEST_F(AnalysisTest, NounRowsHoldCountsSureCountsFormsAndFiles) {
    const RunAnalysis& analysis = Run({true, true});
    struct Expected {
        const char* noun;
        Count count, sure;
        std::uint32_t files;
        std::vector<FormCount> forms;
    };
    const Expected expected[] = {
        {"λόγα", 2, 0, 1, {{Greek("λόγες"), 2}}},
        {"λόγος", 7, 3, 2, {{Greek("λόγες"), 2}, {Greek("λόγου"), 2}, {Greek("λόγος"), 1}}},
        {"σπίτι", 3, 3, 2, {{Greek("σπίτι"), 3}}},
    };
    ASSERT_EQ(analysis.Nouns().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const NounRow& row = analysis.Nouns()[i];
        SCOPED_TRACE(expected[i].noun);
        EXPECT_EQ(row.noun, Greek(expected[i].noun));
        EXPECT_EQ(row.count, expected[i].count);
        EXPECT_EQ(row.sureCount, expected[i].sure);
        EXPECT_EQ(row.files, expected[i].files);
        EXPECT_EQ(row.forms, expected[i].forms);
        EXPECT_DOUBLE_EQ(row.perMillion, expected[i].count * 1e6 / 9);
    }
    // The noun counts are the report's.
    EXPECT_EQ(doc.ReportText(), Greek("λόγα 2\nλόγος 7\nσπίτι 3\n"));
}

TEST_F(AnalysisTest, WordRowsAndAmbiguousWords) {
    const RunAnalysis& analysis = Run({true, false});
    struct Expected {
        const char* word;
        Count count;
        std::uint32_t files;
        std::vector<std::uint32_t> nouns;  // rows of Nouns(): 0 λόγα, 1 λόγος, 2 σπίτι
    };
    const Expected expected[] = {
        {"λόγες", 2, 1, {0, 1}}, {"λόγος", 1, 1, {1}}, {"λόγου", 2, 2, {1}},
        {"ξένο", 1, 1, {}},      {"σπίτι", 3, 2, {2}},
    };
    ASSERT_EQ(analysis.Words().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const WordRow& row = analysis.Words()[i];
        SCOPED_TRACE(expected[i].word);
        EXPECT_EQ(row.word, Greek(expected[i].word));
        EXPECT_EQ(row.count, expected[i].count);
        EXPECT_EQ(row.files, expected[i].files);
        EXPECT_EQ(row.nouns, expected[i].nouns);
    }
    EXPECT_EQ(analysis.Ambiguous(), std::vector<std::uint32_t>{0});
    EXPECT_EQ(WriteTable(analysis, Ambiguous()), Greek("λόγες 2 λόγα λόγος\n"));
}

TEST_F(AnalysisTest, CorpusStatistics) {
    const CorpusStats stats = Run({false, true}).Stats();
    CorpusStats expected;
    expected.files = 2;
    expected.bytes =
        Greek("λόγες Λόγες λόγος λόγου σπίτι").size() + Greek("λόγου σπίτι σπίτι ξένο").size();
    expected.tokens = 9;
    expected.types = 5;
    expected.typeTokenRatio = 5.0 / 9;
    expected.sttr = std::nullopt;  // no complete window of 1,000 tokens
    expected.nounTokens = 8;
    expected.nounTypes = 4;
    expected.nounTokenShare = 8.0 / 9;
    expected.nounsCredited = 3;
    expected.ambiguousWords = 1;
    expected.ambiguousTokens = 2;
    EXPECT_EQ(stats, expected);
}

TEST_F(AnalysisTest, WithoutExtrasThereAreNoFilesAndTheAnalysisIsKeptUntilTheNextRun) {
    const RunAnalysis& analysis = Run({});
    EXPECT_FALSE(analysis.HasFiles());
    EXPECT_FALSE(analysis.Nouns()[0].files.has_value());
    EXPECT_EQ(doc.Analysis(), &analysis);
    doc.OnNewDocument();
    EXPECT_EQ(doc.Analysis(), nullptr);
}

// The forms' lines under each noun, then the same as tsv: the filters apply to
// the nouns, --top takes the most frequent and keeps the order asked for.
TEST_F(AnalysisTest, TextWithFormsAndFilters) {
    const RunAnalysis& analysis = Run({true, false});
    TableRequest request;
    request.forms = true;
    EXPECT_EQ(WriteTable(analysis, request),
              Greek("λόγα 2\n  λόγες 2\nλόγος 7\n  λόγες 2\n  λόγου 2\n  λόγος 1\n"
                    "σπίτι 3\n  σπίτι 3\n"));
    request.forms = false;
    request.filter = {3, 0};
    EXPECT_EQ(WriteTable(analysis, request), Greek("λόγος 7\nσπίτι 3\n"));
    request.filter = {1, 2};
    EXPECT_EQ(WriteTable(analysis, request), Greek("λόγος 7\nσπίτι 3\n"));
    request.order = RowOrder::kFrequency;
    request.filter = {1, 1};
    EXPECT_EQ(WriteTable(analysis, request), Greek("λόγος 7\n"));
    request = {};
    request.format = TableFormat::kTsv;
    request.forms = true;
    EXPECT_EQ(WriteTable(analysis, request),
              "rank\tnoun\tcount\tsure count\tper million\tfiles\tforms\n"
              "1\tλόγα\t2\t0\t222222.22\t1\tλόγες 2\n"
              "2\tλόγος\t7\t3\t777777.78\t2\tλόγες 2; λόγου 2; λόγος 1\n"
              "3\tσπίτι\t3\t3\t333333.33\t2\tσπίτι 3\n");
}

}  // namespace
}  // namespace tavro
