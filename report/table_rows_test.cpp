// Tables written with rows the caller chose, and the statistics on their own.

#include <gtest/gtest.h>

#include "report/table_export.h"

namespace tavro {
namespace {

// Words a (3), b (5), c (1) over the nouns a and b: each credits itself.
struct SmallRun {
    WordTable words =
        WordTable::FromEntries({WordEntry("a", 3), WordEntry("b", 5), WordEntry("c", 1)});
    WordTable nouns = WordTable::FromEntries({WordEntry("a", 0), WordEntry("b", 0)});
    WordCredits credits = CreditNouns(words, nouns, {}, 1);
    RunAnalysis analysis = Build();

    RunAnalysis Build() const {
        RunFacts facts;
        facts.words = &words;
        facts.credits = &credits;
        facts.nouns = &nouns;
        facts.inputFiles = 1;
        facts.bytes = 12;
        return RunAnalysis::Build(facts);
    }
};

TEST(WriteRows, WritesTheRowsGivenInTheirOrder) {
    const SmallRun run;
    TableRequest request;
    request.format = TableFormat::kTsv;
    EXPECT_EQ(WriteRows(run.analysis, request, {1, 0}),
              "rank\tnoun\tcount\tsure count\tper million\n"
              "1\tb\t5\t5\t555555.56\n"
              "2\ta\t3\t3\t333333.33\n");
    request.kind = TableKind::kWords;
    request.format = TableFormat::kText;
    EXPECT_EQ(WriteRows(run.analysis, request, {2}), "c 1\n");
    EXPECT_EQ(WriteRows(run.analysis, request, {}), "");
}

TEST(WriteRows, IsWriteTableOfTheSelectedRowsInEveryFormat) {
    const SmallRun run;
    for (const TableFormat format :
         {TableFormat::kText, TableFormat::kTsv, TableFormat::kCsv, TableFormat::kJson}) {
        for (const TableKind kind : {TableKind::kNouns, TableKind::kWords, TableKind::kAmbiguous}) {
            TableRequest request;
            request.kind = kind;
            request.format = format;
            request.order = RowOrder::kFrequency;
            request.filter.minCount = 2;
            request.forms = kind == TableKind::kNouns;
            const auto rows = SelectRows(run.analysis, kind, request.order, request.filter);
            EXPECT_EQ(WriteRows(run.analysis, request, rows), WriteTable(run.analysis, request))
                << "format " << static_cast<int>(format) << ", kind " << static_cast<int>(kind);
        }
    }
}

TEST(WriteStats, EveryFormatHoldsTheFiguresAndLeavesAMissingOneEmpty) {
    const SmallRun run;
    const CorpusStats& stats = run.analysis.Stats();
    const std::string tsv = WriteStats(stats, TableFormat::kTsv);
    EXPECT_EQ(tsv.rfind("figure\tvalue\nfiles\t1\nbytes\t12\ntokens\t9\ntypes\t3\n", 0), 0u) << tsv;
    EXPECT_NE(tsv.find("\nsttr\t\n"), std::string::npos) << tsv;
    EXPECT_NE(tsv.find("\nnouns_credited\t2\n"), std::string::npos) << tsv;

    const std::string csv = WriteStats(stats, TableFormat::kCsv);
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBF"
                        "figure,value\r\nfiles,1\r\n",
                        0),
              0u)
        << csv;

    const std::string json = WriteStats(stats, TableFormat::kJson);
    EXPECT_EQ(json.rfind("{\n  \"statistics\": {\"files\": 1, ", 0), 0u) << json;
    EXPECT_NE(json.find("\"sttr\": null"), std::string::npos) << json;
    EXPECT_EQ(json.substr(json.size() - 4), "}\n}\n") << json;

    EXPECT_EQ(WriteStats(stats, TableFormat::kText), FormatStats(stats));
}

TEST(FormatStats, CountsWindowsInTheSingularAndPlural) {
    CorpusStats stats;
    stats.sttr = 0.5;
    stats.sttrWindows = 1;
    EXPECT_NE(FormatStats(stats).find("0.5000 over 1 window\n"), std::string::npos);
    stats.sttrWindows = 2;
    EXPECT_NE(FormatStats(stats).find("0.5000 over 2 windows\n"), std::string::npos);
}

}  // namespace
}  // namespace tavro
