#include "mpi/mpi_run.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <sstream>

#include "cli/cli.h"
#include "mpi/thread_job.h"
#include "platform/memory_file_system.h"
#include "platform/text_encoding.h"
#include "tests/greek_text.h"

namespace tavro {
namespace {

using testing::Greek;

struct Output {
    int status = -1;
    std::string out;
    std::string err;
};

// Words with capitals, accents, digits and ASCII, some of them nouns of the
// lexicon below or forms of them, so that counts tie and nouns are credited,
// and some that make nouns the lexicon lacks (υπολόγου, Αποσπιτιού, μικροώρες).
const std::vector<std::string>& Vocabulary() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> greek;
        for (const char* word :
             {"λόγος", "Λόγου", "λόγο",     "ΛΟΓΟΣ",    "σπίτι",    "σπιτιού",    "Σπίτια",
              "ώρα",   "ώρες",  "άνθρωπος", "ανθρώπου", "και",      "το",         "abc",
              "ABC",   "2003",  "a_b",      "σ",        "υπολόγου", "Αποσπιτιού", "μικροώρες"}) {
            greek.push_back(Greek(word));
        }
        return greek;
    }();
    return words;
}

// Text that is hard to split: LF and CR LF line ends, punctuation, a NUL now
// and then (the rest of its line counts nowhere), lines longer than a rank's
// share of a small corpus.
std::string RandomText(std::mt19937& random, std::size_t words) {
    static const std::vector<std::string> separators = {
        " ", " ", " ", ", ", ". ", "\n", "\r\n", "\t", std::string("\0 ", 2), "\n\n", "'"};
    std::string text;
    for (std::size_t i = 0; i < words; ++i) {
        text += Vocabulary()[random() % Vocabulary().size()];
        const bool longLine = random() % 200 == 0;
        text += longLine ? std::string(3000, ' ') : separators[random() % separators.size()];
    }
    return text;
}

class MpiRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.Add("finalList.txt", Greek("λόγος\nσπίτι\nώρα\nάνθρωπος\n"));
        files.Add("conjugation.txt", Greek("ου ος\nο ος\nιού ί-1\nια ι\nες α\n"));
    }

    // Runs tavro-mpi on `ranks` threads, each with its own copy of `files`,
    // changed by `adjust` (rank, files) when given; the output of every rank.
    std::vector<Output> RunMpiJob(int ranks, const std::vector<std::string>& args,
                                  const std::function<void(int, MemoryFileSystem&)>& adjust = {}) {
        std::vector<MemoryFileSystem> rankFiles(static_cast<std::size_t>(ranks), files);
        if (adjust) {
            for (int r = 0; r < ranks; ++r) adjust(r, rankFiles[static_cast<std::size_t>(r)]);
        }
        std::vector<Output> outputs(static_cast<std::size_t>(ranks));
        testing::ThreadJob job(ranks);
        job.Run([&](int rank, Communicator& communicator) {
            std::ostringstream out, err;
            Output& output = outputs[static_cast<std::size_t>(rank)];
            output.status =
                RunMpi(args, out, err, rankFiles[static_cast<std::size_t>(rank)], communicator);
            output.out = out.str();
            output.err = err.str();
        });
        written = rankFiles.front();
        return outputs;
    }

    Output RunTavroCli(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        MemoryFileSystem copy = files;
        const int status = RunCli(args, out, err, copy, false);
        return {status, out.str(), err.str()};
    }

    // Every rank ends with `status`; rank 0 says `err` (and writes `out`), the others nothing.
    static void ExpectAgreed(const std::vector<Output>& outputs, int status, const std::string& out,
                             const std::string& err) {
        for (std::size_t rank = 0; rank < outputs.size(); ++rank) {
            EXPECT_EQ(outputs[rank].status, status) << "rank " << rank;
            EXPECT_EQ(outputs[rank].out, rank == 0 ? out : "") << "rank " << rank;
            EXPECT_EQ(outputs[rank].err, rank == 0 ? err : "") << "rank " << rank;
        }
    }

    // tavro-cli's messages as tavro-mpi words them.
    static std::string AsTavroMpi(std::string err) {
        for (std::size_t at; (at = err.find("tavro-cli:")) != std::string::npos;) {
            err.replace(at, std::string("tavro-cli").size(), "tavro-mpi");
        }
        return err;
    }

    // tavro-mpi with 1 to 8 ranks, in every report mode, with tiny and default
    // messages, against tavro-cli on the same files.
    void ExpectSameReportsAsCli(const std::vector<std::string>& inputs) {
        ExpectSameReportsAsCli(inputs,
                               {{},
                                {"--by-frequency"},
                                {"--all-words"},
                                {"--all-words", "--by-frequency"},
                                {"--capitals-accents", "--by-frequency"},
                                {"--derive-nouns"},
                                {"--derive-nouns", "--capitals-accents", "--by-frequency"}});
    }
    void ExpectSameReportsAsCli(const std::vector<std::string>& inputs,
                                const std::vector<std::vector<std::string>>& modes) {
        for (const std::vector<std::string>& mode : modes) {
            std::vector<std::string> args = mode;
            args.insert(args.end(), inputs.begin(), inputs.end());
            const Output cli = RunTavroCli(args);
            ASSERT_EQ(cli.status, 0) << cli.err;
            for (int ranks = 1; ranks <= 8; ++ranks) {
                for (const char* round : {"--round-bytes=7", "--threads=2"}) {
                    std::vector<std::string> mpiArgs = {round};
                    mpiArgs.insert(mpiArgs.end(), args.begin(), args.end());
                    SCOPED_TRACE(::testing::Message() << ranks << " ranks, " << round << ", mode "
                                                      << ::testing::PrintToString(mode));
                    ExpectAgreed(RunMpiJob(ranks, mpiArgs), 0, cli.out, AsTavroMpi(cli.err));
                }
            }
        }
    }

    MemoryFileSystem files;
    MemoryFileSystem written;  // rank 0's files after the last job
};

TEST_F(MpiRunTest, ReportsEqualTavroClisForManyFilesInEveryModeAndRankCount) {
    std::mt19937 random(1253);
    std::vector<std::string> inputs;
    for (const std::size_t words : {400, 0, 30, 1200, 5, 700}) {
        inputs.push_back("in" + std::to_string(inputs.size()) + ".txt");
        files.Add(inputs.back(), RandomText(random, words));
    }
    std::string ended = RandomText(random, 300);
    ended.insert(ended.size() / 3, "\x1A" + Greek("μετά το τέλος\n"));
    files.Add("ended.txt", ended);
    inputs.push_back("ended.txt");
    inputs.push_back("in0.txt");  // the same file twice counts twice
    ExpectSameReportsAsCli(inputs);
}

TEST_F(MpiRunTest, ReportsEqualTavroClisForOneBigFileWithEndOfTextAndLongLines) {
    std::mt19937 random(3144);
    std::string big = RandomText(random, 3000);
    // After the 1A byte nothing counts, on whichever ranks read it.
    big.insert(big.size() * 2 / 5, "\x1A" + Greek("ούτε αυτό\n"));
    files.Add("big.txt", big);
    files.Add("lines.txt", std::string(5000, 'x') + std::string("\0 ", 2) + std::string(9000, 'y') +
                               "\n" + std::string(20000, 'z') + "\n" + big.substr(0, 999));
    ExpectSameReportsAsCli({"big.txt"});
    ExpectSameReportsAsCli({"lines.txt", "big.txt"});
}

TEST_F(MpiRunTest, EncodingsAreDecidedPerFileAsTavroCliDecidesThem) {
    std::mt19937 random(1253);
    const std::string text = RandomText(random, 2000);
    std::string utf8 = EncodeCp1253(text, TextEncoding::kUtf8);
    utf8.insert(utf8.size() / 2, "\xC3 \xFF");  // malformed: warned about, counted once
    files.Add("utf8.txt", utf8);
    // ISO-8859-7 shows itself only at the start (B6 is its capital alpha with
    // tonos); further on, A2 is a byte that cp1253 reads as a letter. A rank
    // that decided from its own piece would read those words otherwise.
    const std::string greek = Greek("σπίτι και λόγος\n");
    std::string iso = "\xB6\xED\xE8\xF1\xF9\xF0\xEF\xF2\n" + std::string(4000, ' ') + "\n";
    for (int line = 0; line < 300; ++line) iso += greek + "\xA2\xED\xE8\xF1\xF9\xF0\xEF\xF2\n";
    files.Add("iso.txt", iso);
    files.Add("bom.txt", std::string("\xFF\xFE"
                                     "a\0b\0",
                                     6));
    const std::vector<std::vector<std::string>> modes = {
        {"--all-words"},
        {"--by-frequency"},
        {"--encoding", "iso-8859-7", "--all-words"},
        {"--encoding=utf-8", "--output-encoding=utf-8"}};
    ExpectSameReportsAsCli({"utf8.txt", "iso.txt", "bom.txt"}, modes);
}

TEST_F(MpiRunTest, UnreadableFilesStopEveryRankWithOneMessage) {
    files.Add("a.txt", Greek("λόγος λόγου\n"));
    files.Add("b.txt", std::string(1000, 'b') + "\n" + std::string(1000, 'c') + "\n");
    // The first file that cannot be opened, in list order, though a later one
    // is missing too.
    ExpectAgreed(RunMpiJob(3, {"a.txt", "missing.txt", "gone.txt"}), 255, "",
                 "Error while opening file missing.txt\n");
    // A file rank 0 can open but rank 2 cannot (a machine without it).
    ExpectAgreed(RunMpiJob(3, {"a.txt", "b.txt"},
                           [](int rank, MemoryFileSystem& mine) {
                               if (rank == 2)
                                   mine.FailOn(MemoryFileSystem::Failure::kOpen, "b.txt");
                           }),
                 255, "", "Error while opening file b.txt\n");
    // Only the rank that reads to the end of b.txt meets the read error.
    files.FailOn(MemoryFileSystem::Failure::kRead, "b.txt");
    EXPECT_EQ(RunTavroCli({"b.txt"}).err, "Error while reading file b.txt\n");
    ExpectAgreed(RunMpiJob(4, {"a.txt", "b.txt"}), 255, "", "Error while reading file b.txt\n");
}

TEST_F(MpiRunTest, DataFileFailuresOnAnyRankStopEveryRank) {
    files.Add("a.txt", Greek("λόγος\n"));
    const auto without = [](const char* path, int failing) {
        return [path, failing](int rank, MemoryFileSystem& mine) {
            if (rank == failing) mine.FailOn(MemoryFileSystem::Failure::kOpen, path);
        };
    };
    ExpectAgreed(RunMpiJob(3, {"a.txt"}, without("finalList.txt", 2)), 255, "",
                 "Error: File could not be opened\nFailed to create empty document.\n");
    ExpectAgreed(RunMpiJob(3, {"a.txt"}, without("conjugation.txt", 1)), 255, "",
                 "Error while opening file conjugation.txt\n");
    ExpectAgreed(RunMpiJob(3, {"--all-words", "a.txt"},
                           [](int rank, MemoryFileSystem& mine) {
                               if (rank == 1) mine.Add("finalList.txt", Greek("άλλος\n"));
                           }),
                 255, "",
                 "tavro-mpi: the ranks did not all read the same finalList.txt and "
                 "conjugation.txt\n");
}

TEST_F(MpiRunTest, UsageAndOutputStatusesAreTavroClisOnEveryRank) {
    files.Add("a.txt", Greek("λόγος λόγου σπίτι\n"));
    ExpectAgreed(RunMpiJob(2, {"--threads"}), 2, "",
                 "tavro-mpi: option '--threads' needs a value\n"
                 "Try 'tavro-mpi --help' for more information.\n");
    ExpectAgreed(RunMpiJob(2, {"--base-form", "λόγου"}), 2, "",
                 "tavro-mpi: unknown option '--base-form'\n"
                 "Try 'tavro-mpi --help' for more information.\n");
    ExpectAgreed(RunMpiJob(2, {"--forms", "a.txt"}), 2, "",
                 "tavro-mpi: --forms is tavro-cli's alone; tavro-mpi writes the report only\n"
                 "Try 'tavro-mpi --help' for more information.\n");
    ExpectAgreed(RunMpiJob(2, {"--add-counts", "a.counts", "a.txt"}), 2, "",
                 "tavro-mpi: --add-counts is tavro-cli's alone; tavro-mpi writes the report "
                 "only\n"
                 "Try 'tavro-mpi --help' for more information.\n");
    ExpectAgreed(RunMpiJob(2, {}), 2, "", "No Input Files have been Selected.\n");
    ExpectAgreed(RunMpiJob(2, {"--version"}), 0, "tavro-mpi 1.0.0\n", "");

    ExpectAgreed(RunMpiJob(3, {"-o", "out.txt", "a.txt"}), 0, "", "");
    EXPECT_EQ(written.Contents("out.txt"), RunTavroCli({"a.txt"}).out);
    files.FailOn(MemoryFileSystem::Failure::kShortWrite, "out.txt");
    ExpectAgreed(RunMpiJob(3, {"-o", "out.txt", "a.txt"}), 1, "",
                 "tavro-mpi: cannot write out.txt: No space left on device\n");
}

TEST_F(MpiRunTest, RankZerosCommandLineIsEveryRanks) {
    files.Add("a.txt", Greek("λόγος λόγου\n"));
    std::vector<Output> outputs(2);
    std::vector<MemoryFileSystem> rankFiles(2, files);
    testing::ThreadJob job(2);
    job.Run([&](int rank, Communicator& communicator) {
        std::ostringstream out, err;
        const std::vector<std::string> args = rank == 0
                                                  ? std::vector<std::string>{"--all-words", "a.txt"}
                                                  : std::vector<std::string>{"--bogus"};
        outputs[static_cast<std::size_t>(rank)] = {
            RunMpi(args, out, err, rankFiles[static_cast<std::size_t>(rank)], communicator),
            out.str(), err.str()};
    });
    ExpectAgreed(outputs, 0, RunTavroCli({"--all-words", "a.txt"}).out, "");
}

TEST_F(MpiRunTest, AFileThatShrankIsWarnedAboutOnceAsTavroCliDoes) {
    std::mt19937 random(7);
    files.AddShrunk("shrunk.txt", RandomText(random, 500), 100000);
    const Output cli = RunTavroCli({"shrunk.txt"});
    ASSERT_NE(cli.err.find("shrank"), std::string::npos);
    std::string warning = cli.err;
    warning.replace(0, std::string("tavro-cli").size(), "tavro-mpi");
    ExpectAgreed(RunMpiJob(4, {"shrunk.txt"}), 0, cli.out, warning);
}

}  // namespace
}  // namespace tavro
