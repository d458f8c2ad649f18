#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/memory_file_system.h"
#include "tests/test_platform.h"

namespace tavro {
namespace {

using testing::Greek;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.Add("finalList.txt", Greek("λόγος\nσπίτι\n"));
        files.Add("conjugation.txt", Greek("ου ος\nιού ί-1\n"));
        files.Add("a.txt", Greek("Λόγου λόγος σπιτιού; zz zz"));
    }
    CliRun Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = RunCli(args, out, err, files, false);
        return {status, out.str(), err.str()};
    }
    MemoryFileSystem files;
};

TEST_F(CliTest, ReportInEveryMode) {
    EXPECT_EQ(Run({"a.txt"}).out, Greek("λόγος 2\nσπίτι 1\n"));
    EXPECT_EQ(Run({"--by-frequency", "a.txt"}).out, Greek("λόγος 2\nσπίτι 1\n"));
    EXPECT_EQ(Run({"a.txt", "--all-words"}).out, Greek("zz 2\nλόγος 1\nλόγου 1\nσπιτιού 1\n"));
    const CliRun run = Run({"--all-words", "--by-frequency", "a.txt", "a.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Greek("zz 4\nλόγος 2\nλόγου 2\nσπιτιού 2\n"));
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTest, BaseFormAnswersInUtf8) {
    EXPECT_EQ(Run({"--base-form", "Λόγου"}).out, "The base form of the word 'Λόγου' is 'λόγος'.\n");
    EXPECT_EQ(Run({"--base-form", "σπιτιού"}).out,
              "The base form of the word 'σπιτιού' is 'σπίτι'.\n");
    EXPECT_EQ(Run({"--base-form=Σπίτι"}).out, "The base form of the word 'Σπίτι' is 'Σπίτι'.\n");
    EXPECT_EQ(Run({"--base-form", "xyz"}).out,
              "The base form of the word 'xyz' could not be found.\n");
    const CliRun empty = Run({"--base-form", ""});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST_F(CliTest, FatalFilesExitWith255AndWriteNoReport) {
    const CliRun missing = Run({"a.txt", "missing.txt"});
    EXPECT_EQ(missing.status, 255);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "Error while opening file missing.txt\n");

    const CliRun noTable = Run({"--conjugation", "none.txt", "a.txt"});
    EXPECT_EQ(noTable.status, 255);
    EXPECT_EQ(noTable.err, "Error while opening file none.txt\n");

    const CliRun noLexicon = Run({"--lexicon", "none.txt", "a.txt"});
    EXPECT_EQ(noLexicon.status, 255);
    EXPECT_EQ(noLexicon.err, "Error: File could not be opened\nFailed to create empty document.\n");
}

TEST_F(CliTest, UsageErrorsAndEmptyFileList) {
    const CliRun none = Run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "No Input Files have been Selected.\n");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--bogus", "a.txt"},
                                                 {"--lexicon"},
                                                 {"--all-words=1", "a.txt"},
                                                 {"--base-form", "x", "a.txt"},
                                                 {"--base-form", "x", "--all-words"},
                                                 {"--threads", "0", "a.txt"},
                                                 {"--threads", "257", "a.txt"},
                                                 {"--threads=x", "a.txt"}}) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("Try 'tavro-cli --help'"), std::string::npos);
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(CliTest, HelpNamesEveryOption) {
    const CliRun help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--lexicon",    "--conjugation", "--all-words", "--by-frequency", "-o",
          "--base-form",  "--help",        "--forms",     "--ambiguous",    "--stats",
          "--format",     "--order",       "--min-count", "--top",          "--save-counts",
          "--add-counts", "tsv",           "csv",         "json",           "greek"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
}

TEST_F(CliTest, OutputFileIsReplacedWholeOrNotAtAll) {
    files.Add("out.txt", "old report");
    const CliRun run = Run({"-o", "out.txt", "a.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(files.Contents("out.txt"), Greek("λόγος 2\nσπίτι 1\n"));

    files.FailOn(MemoryFileSystem::Failure::kShortWrite, "out.txt");
    const CliRun full = Run({"--output=out.txt", "--all-words", "a.txt"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "tavro-cli: cannot write out.txt: No space left on device\n");
    EXPECT_EQ(files.Contents("out.txt"), Greek("λόγος 2\nσπίτι 1\n"));

    // A run that fails writes nothing: the old file stays.
    EXPECT_EQ(Run({"-o", "out.txt", "missing.txt"}).status, 255);
    EXPECT_EQ(files.Contents("out.txt"), Greek("λόγος 2\nσπίτι 1\n"));
    files.AddFolder("dir");
    EXPECT_EQ(Run({"-o", "dir", "a.txt"}).err, "tavro-cli: cannot write dir: Is a directory\n");
}

TEST_F(CliTest, AFolderAsInputCannotBeOpened) {
    files.AddFolder("corpus");
    const CliRun run = Run({"corpus"});
    EXPECT_EQ(run.status, 255);
    EXPECT_EQ(run.err, "Error while opening file corpus\n");
}

TEST_F(CliTest, AFailedWriteToStandardOutputIsReported) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(RunCli({"a.txt"}, out, err, files, false), 1);
    EXPECT_EQ(err.str(), "tavro-cli: cannot write the report to standard output\n");
}

TEST_F(CliTest, VersionAndWarnings) {
    const CliRun version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tavro-cli ", 0), 0u);
    files.AddShrunk("short.txt", "zz", 10);
    const CliRun shrunk = Run({"--all-words", "short.txt"});
    EXPECT_EQ(shrunk.status, 0);
    EXPECT_EQ(shrunk.out, "zz 1\n");
    EXPECT_EQ(shrunk.err,
              "tavro-cli: warning: short.txt: the file shrank while it was read: 2 of 10 bytes "
              "were there\n");
}

// Words written in capitals without accents count only with --capitals-accents.
TEST_F(CliTest, CapitalsAccentsCreditUnaccentedWordsOnlyWhenAsked) {
    files.Add("caps.txt", Greek("ΣΠΙΤΙΟΥ ΣΠΙΤΙ σπίτι ΛΟΓΟΣ"));
    EXPECT_EQ(Run({"caps.txt"}).out, Greek("σπίτι 1\n"));
    EXPECT_EQ(Run({"--capitals-accents", "caps.txt"}).out, Greek("λόγος 1\nσπίτι 3\n"));
    EXPECT_EQ(Run({"--base-form", "ΛΟΓΟΣ"}).out,
              "The base form of the word 'ΛΟΓΟΣ' could not be found.\n");
    EXPECT_EQ(Run({"--capitals-accents", "--base-form", "ΛΟΓΟΣ"}).out,
              "The base form of the word 'ΛΟΓΟΣ' is 'λόγος'.\n");
}

// Nouns the lexicon lacks count only with --derive-nouns; the other nouns keep
// their counts either way.
TEST_F(CliTest, DerivedNounsCountOnlyWhenAsked) {
    files.Add("derived.txt", Greek("υπολόγου υπολόγου λόγου αποσπιτιού και"));
    EXPECT_EQ(Run({"derived.txt"}).out, Greek("λόγος 1\n"));
    EXPECT_EQ(Run({"--derive-nouns", "derived.txt"}).out,
              Greek("αποσπίτι 1\nλόγος 1\nυπόλογος 2\n"));
    EXPECT_EQ(Run({"--derive-nouns", "--by-frequency", "derived.txt"}).out,
              Greek("υπόλογος 2\nαποσπίτι 1\nλόγος 1\n"));
    // The answer is UTF-8, as the word typed is.
    const std::string miss = "The base form of the word 'υπολόγου' could not be found.";
    EXPECT_EQ(Run({"--base-form", "υπολόγου"}).out,
              miss +
                  " Made from its prefix or suffix, as --derive-nouns does, it is "
                  "'υπόλογος', a noun the lexicon lacks.\n");
    EXPECT_EQ(Run({"--derive-nouns", "--base-form", "υπολόγου"}).out,
              miss +
                  " Made from its prefix or suffix, it is 'υπόλογος', a noun the lexicon "
                  "lacks.\n");
    // The figures say how many nouns were derived, and the JSON rows mark them.
    const std::string stats = Run({"--derive-nouns", "--stats", "derived.txt"}).err;
    EXPECT_NE(stats.find("nouns derived               2\ntokens crediting them       3\n"),
              std::string::npos)
        << stats;
    EXPECT_EQ(Run({"--stats", "derived.txt"}).err.find("nouns derived"), std::string::npos);
    const std::string json = Run({"--derive-nouns", "--format", "json", "derived.txt"}).out;
    EXPECT_NE(json.find("\"noun\": \"υπόλογος\", \"count\": 2, \"sure_count\": 2, "
                        "\"per_million\": 400000.00, \"files\": 1, \"derived\": true"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"nouns_derived\": 2, \"derived_noun_tokens\": 3"), std::string::npos);
}

TEST_F(CliTest, DashDashEndsOptions) {
    files.Add("-x.txt", "zz");
    EXPECT_EQ(Run({"--all-words", "--", "-x.txt"}).out, "zz 1\n");
}

TEST_F(CliTest, ReadsUtf8AndIso8859_7AsTheyCome) {
    files.Add("utf8.txt", "Λόγου λόγος σπιτιού; zz zz");
    files.Add("bom.txt", "\xEF\xBB\xBFΛόγου λόγος σπιτιού; zz zz");
    files.Add("nfd.txt", "Λο\u0301γου λο\u0301γος σπιτιου\u0301; zz zz");
    files.Add("iso.txt",
              "\xCB\xFC\xE3\xEF\xF5 \xEB\xFC\xE3\xEF\xF2 \xF3\xF0\xE9\xF4\xE9\xEF\xFD; zz zz");
    const std::string expected = Greek("λόγος 2\nσπίτι 1\n");
    for (const char* file : {"utf8.txt", "bom.txt", "nfd.txt", "iso.txt"}) {
        const CliRun run = Run({file});
        EXPECT_EQ(run.status, 0) << file;
        EXPECT_EQ(run.out, expected) << file;
        EXPECT_EQ(run.err, "") << file;
    }
    EXPECT_EQ(Run({"--encoding", "utf-8", "utf8.txt"}).out, expected);
    EXPECT_EQ(Run({"--encoding=iso-8859-7", "iso.txt"}).out, expected);
    // Named, the encoding holds for every file, right or wrong.
    EXPECT_EQ(Run({"--encoding", "cp1253", "--all-words", "a.txt"}).out,
              Run({"--all-words", "a.txt"}).out);
    EXPECT_NE(Run({"--encoding", "cp1253", "utf8.txt"}).out, expected);
}

TEST_F(CliTest, MalformedBytesAreSeparatorsAndAWarning) {
    files.Add("bad.txt", "λόγος\xFF\xFEλόγος \xCE\xB1\xCE");
    const CliRun run = Run({"--all-words", "a.txt", "bad.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Greek("zz 2\nα 1\nλόγος 3\nλόγου 1\nσπιτιού 1\n"));
    EXPECT_EQ(run.err,
              "tavro-cli: warning: bad.txt: 3 byte sequences are not valid UTF-8; each was read "
              "as a space\n");
    files.Add("iso.txt", "\xEB\xFC\xE3\xEF\xF2\xD2");
    EXPECT_EQ(Run({"--encoding", "iso-8859-7", "iso.txt"}).err,
              "tavro-cli: warning: iso.txt: 1 byte is not a character of ISO-8859-7; each was "
              "read as a space\n");
}

TEST_F(CliTest, ReportInTheOutputEncodingAskedFor) {
    EXPECT_EQ(Run({"--output-encoding", "utf-8", "a.txt"}).out, "λόγος 2\nσπίτι 1\n");
    EXPECT_EQ(Run({"--output-encoding", "cp1253", "a.txt"}).out, Greek("λόγος 2\nσπίτι 1\n"));
    EXPECT_EQ(Run({"--output-encoding", "iso-8859-7", "a.txt"}).out,
              "\xEB\xFC\xE3\xEF\xF2 2\n\xF3\xF0\xDF\xF4\xE9 1\n");
    files.Add("out.txt", "");
    EXPECT_EQ(Run({"--output-encoding=utf-8", "-o", "out.txt", "a.txt"}).status, 0);
    EXPECT_EQ(files.Contents("out.txt"), "λόγος 2\nσπίτι 1\n");
    // The base form's answer is UTF-8 unless another encoding is asked for.
    EXPECT_EQ(Run({"--output-encoding", "cp1253", "--base-form", "Λόγου"}).out,
              Greek("The base form of the word 'Λόγου' is 'λόγος'.\n"));
    EXPECT_EQ(Run({"--base-form", Greek("Λόγου")}).out,
              "The base form of the word 'Λόγου' is 'λόγος'.\n");
    EXPECT_EQ(Run({"--base-form", "Λο\u0301γου"}).out,
              "The base form of the word 'Λόγου' is 'λόγος'.\n");
}

TEST_F(CliTest, ABaseFormCp1253CannotHoldIsAUsageError) {
    const CliRun run = Run({"--base-form", "λόγοςж"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "tavro-cli: --base-form: the word holds U+0436 CYRILLIC SMALL LETTER ZHE, which "
              "code page 1253 cannot hold, so no noun of the lexicon can match it\n");
}

TEST_F(CliTest, EncodingOptionsTakeOnlyKnownNames) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--encoding", "latin1", "a.txt"},
          {"--output-encoding", "auto", "a.txt"},
          {"--encoding"}}) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args[0];
        EXPECT_NE(run.err.find("Try 'tavro-cli --help'"), std::string::npos);
    }
    const CliRun help = Run({"--help"});
    EXPECT_NE(help.out.find("--encoding ENC"), std::string::npos);
    EXPECT_NE(help.out.find("auto"), std::string::npos);
    EXPECT_NE(help.out.find("--output-encoding"), std::string::npos);
}

TEST_F(CliTest, DataFilesInUtf8GiveTheSameLexicon) {
    files.Add("finalList.txt", "\xEF\xBB\xBFλόγος\r\nσπίτι\r\n");
    files.Add("conjugation.txt", "ου ος\nιού ί-1\n");
    EXPECT_EQ(Run({"a.txt"}).out, Greek("λόγος 2\nσπίτι 1\n"));

    files.Add("finalList.txt", "λόγος\nσπίτι\nжук\n");
    const CliRun cyrillic = Run({"a.txt"});
    EXPECT_EQ(cyrillic.status, 255);
    EXPECT_EQ(cyrillic.out, "");
    EXPECT_EQ(cyrillic.err,
              "Error: line 3 holds U+0436 CYRILLIC SMALL LETTER ZHE, which code page 1253 "
              "cannot hold, in file finalList.txt\nFailed to create empty document.\n");

    files.Add("finalList.txt", Greek("λόγος\nσπίτι\n"));
    files.Add("conjugation.txt", "ου ος\nιού ί-1\n\xCE\xB1\xFF ος\n");
    const CliRun broken = Run({"a.txt"});
    EXPECT_EQ(broken.status, 255);
    EXPECT_EQ(broken.err, "Error: line 3 is not valid UTF-8, in file conjugation.txt\n");
}

}  // namespace
}  // namespace tavro

namespace tavro {
namespace {

using testing::Greek;

// The run's analysis from the command line: a.txt holds λόγου twice, λόγος
// once, σπιτιού once and zz twice.
class CliResultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.Add("finalList.txt", Greek("λόγος\nσπίτι\n"));
        files.Add("conjugation.txt", Greek("ου ος\nιού ί-1\n"));
        files.Add("a.txt", Greek("Λόγου λόγος σπιτιού; zz zz λόγου"));
        files.Add("b.txt", Greek("σπίτι zz"));
    }
    CliRun Run(std::vector<std::string> args) {
        std::ostringstream out, err;
        const int status = RunCli(args, out, err, files, false);
        return {status, out.str(), err.str()};
    }
    MemoryFileSystem files;
};

TEST_F(CliResultsTest, StatsGoToStandardErrorAndTheReportStaysOnStandardOutput) {
    const CliRun run = Run({"--stats", "a.txt", "b.txt"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Run({"a.txt", "b.txt"}).out);
    EXPECT_NE(run.err.find("tokens                      8\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("types                       5\n"), std::string::npos);
    EXPECT_NE(run.err.find("noun tokens                 5\n"), std::string::npos);
    EXPECT_NE(run.err.find("STTR (1,000-token windows)  n/a\n"), std::string::npos);
}

TEST_F(CliResultsTest, FormatsFormsOrdersAndFilters) {
    EXPECT_EQ(Run({"--forms", "--output-encoding", "utf-8", "a.txt"}).out,
              "λόγος 3\n  λόγου 2\n  λόγος 1\nσπίτι 1\n  σπιτιού 1\n");
    EXPECT_EQ(Run({"--format", "tsv", "--all-words", "--top", "2", "--order", "frequency", "a.txt",
                   "b.txt"})
                  .out,
              "rank\tword\tcount\tper million\tfiles\tnouns\n"
              "1\tzz\t3\t375000.00\t2\t\n"
              "2\tλόγου\t2\t250000.00\t1\tλόγος\n");
    EXPECT_EQ(Run({"--format", "csv", "--min-count", "2", "a.txt"}).out,
              "\xEF\xBB\xBFrank,noun,count,sure count,per million,files\r\n"
              "1,λόγος,3,3,500000.00,1\r\n");
    const CliRun json = Run({"--format=json", "-o", "out.json", "a.txt"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, "");
    EXPECT_NE(files.Contents("out.json")->find("\"noun\": \"σπίτι\""), std::string::npos);
    EXPECT_NE(files.Contents("out.json")->find("\"statistics\": {\"files\": 1"), std::string::npos);
}

TEST_F(CliResultsTest, CountsSavedAndAddedBackGiveTheSameReport) {
    ASSERT_EQ(Run({"--save-counts", "a.counts", "a.txt"}).status, 0);
    ASSERT_EQ(Run({"--save-counts", "b.counts", "b.txt"}).status, 0);
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{}, {"--all-words"}, {"--format", "tsv", "--forms"}}) {
        std::vector<std::string> direct = options, added = options;
        direct.insert(direct.end(), {"a.txt", "b.txt"});
        added.insert(added.end(), {"--add-counts", "a.counts", "--add-counts", "b.counts"});
        EXPECT_EQ(Run(added).out, Run(direct).out) << options.size();
    }
    files.Add("bad.counts", files.Contents("a.counts")->substr(0, 40));
    const CliRun refused = Run({"a.txt", "--add-counts", "bad.counts"});
    EXPECT_EQ(refused.status, 255);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err.substr(0, 40), "Truncated count file (line 4: the file e");
    EXPECT_NE(refused.err.find("bad.counts"), std::string::npos);
    EXPECT_EQ(Run({"--add-counts", "none.counts"}).err, "Error while opening file none.counts\n");
}

TEST_F(CliResultsTest, UsageErrorsOfTheNewOptions) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--format", "xml", "a.txt"},
          {"--order", "random", "a.txt"},
          {"--min-count", "0", "a.txt"},
          {"--top", "x", "a.txt"},
          {"--forms", "--all-words", "a.txt"},
          {"--ambiguous", "--all-words", "a.txt"},
          {"--by-frequency", "--order", "greek", "a.txt"},
          {"--base-form", "λόγου", "--stats"}}) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 2) << args.front();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("Try 'tavro-cli --help'"), std::string::npos) << run.err;
    }
    EXPECT_NE(
        Run({"--order", "random", "a.txt"}).err.find("--order takes bytes, frequency or greek"),
        std::string::npos);
}

}  // namespace
}  // namespace tavro
