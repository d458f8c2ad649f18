#include "mpi/mpi_options.h"

#include <functional>

#include "cli/option_parser.h"
#include "corpus/parallel.h"

namespace tavro {
namespace {

// Takes a whole number from 1 to `high` into `target`, or names the option's range.
template <typename Number>
std::function<std::string(const std::string&)> WholeNumberInto(std::string option, long long high,
                                                               Number& target) {
    return [option = std::move(option), high, &target](const std::string& value) {
        const std::optional<long long> number = ParseWholeNumber(value, 1, high);
        if (!number) return option + " takes a whole number from 1 to " + std::to_string(high);
        target = static_cast<Number>(*number);
        return std::string();
    };
}

}  // namespace

ParsedMpiCommand ParseMpiOptions(const std::vector<std::string>& args) {
    ParsedMpiCommand parsed;
    MpiOptions& options = parsed.options;
    OptionParser parser;
    parser.Value("--lexicon", options.lexicon);
    parser.Value("--conjugation", options.conjugation);
    parser.Value(
        "--output",
        [&](const std::string& value) {
            options.output = value;
            return std::string();
        },
        "-o");
    parser.Value("--threads", WholeNumberInto("--threads", kMaxThreads, options.threads));
    parser.Value("--encoding", [&](const std::string& value) {
        const std::optional<EncodingChoice> choice = ParseEncodingChoice(value);
        if (!choice) {
            return "--encoding takes auto, utf-8, cp1253 or iso-8859-7, not '" + value + "'";
        }
        options.encoding = *choice;
        return std::string();
    });
    parser.Value("--output-encoding", [&](const std::string& value) {
        const std::optional<EncodingChoice> choice = ParseEncodingChoice(value);
        if (!choice || *choice == EncodingChoice::kAuto) {
            return "--output-encoding takes cp1253, utf-8 or iso-8859-7, not '" + value + "'";
        }
        options.outputEncoding = EncodingFor({}, *choice);
        return std::string();
    });
    std::size_t roundBytes = 0;
    parser.Value("--round-bytes", WholeNumberInto("--round-bytes", kMaxRoundBytes, roundBytes));
    parser.Flag("--all-words", options.allWords);
    parser.Flag("--by-frequency", options.byFrequency);
    parser.Flag("--capitals-accents", options.capitalsAccents);
    parser.Flag("--derive-nouns", options.derivedNouns);
    parser.Flag("--timings", options.timings);
    parser.Flag("--help", options.help, "-h");
    parser.Flag("--version", options.version);
    // tavro-cli's tables, figures and count files are not made here: named, so
    // that the refusal says what is missing rather than that the option is unknown.
    const auto notHere = [](const std::string& name) {
        return name + " is tavro-cli's alone; tavro-mpi writes the report only";
    };
    for (const char* name :
         {"--format", "--order", "--min-count", "--top", "--save-counts", "--add-counts"}) {
        parser.Value(name, [notHere, name](const std::string&) { return notHere(name); });
    }
    bool analysisFlags[3] = {};
    const char* const flagNames[3] = {"--forms", "--ambiguous", "--stats"};
    for (int i = 0; i < 3; ++i) parser.Flag(flagNames[i], analysisFlags[i]);
    parsed.error = parser.Parse(args, options.inputFiles);
    for (int i = 0; i < 3 && parsed.error.empty(); ++i) {
        if (analysisFlags[i]) parsed.error = notHere(flagNames[i]);
    }
    if (roundBytes != 0) options.roundBytes = roundBytes;
    return parsed;
}

const char* MpiUsage() {
    return R"(Usage: mpirun [-n RANKS] tavro-mpi [OPTIONS] FILE...

tavro-cli's noun and word report, counted by the ranks of an MPI job: each rank
reads a share of the files (a large file is split at line ends), counts it on
its cores and owns a share of the distinct words, which it analyses; rank 0
writes the report. The report is byte for byte tavro-cli's for the same files,
whatever the number of ranks. Every rank reads the files and the data files
under the same paths.

Encodings:
  --encoding ENC       what the input files are in: auto (the default: decided
                       per file from its bytes, as tavro-cli decides), utf-8,
                       cp1253 or iso-8859-7. Characters that code page 1253
                       cannot hold separate words; each malformed byte sequence
                       does too, and a file that holds any gets a warning
  --output-encoding ENC
                       write the report in ENC: cp1253 (the default), utf-8 or
                       iso-8859-7

Report options:
  --all-words          list every word of the input, not only the lexicon's nouns
  --by-frequency       order by descending count (equal counts alphabetically);
                       the default order is by byte value of the words
  -o, --output OUT     rank 0 writes the report to OUT (replaced only when the
                       run succeeds); standard output of rank 0 otherwise
  --threads N          count with N threads on each rank, 1 to 256 (default: the
                       cores the rank may use, shared among the ranks of a machine
                       when the launcher did not bind them)
  --capitals-accents   match words without any accent (as Greek capitals are
                       written: ΤΙΜΗ) with the lexicon's nouns up to accents,
                       when exactly one noun matches, as tavro-cli does
  --derive-nouns       also credit nouns that the lexicon lacks, made from a
                       word that credits none of its nouns by a productive
                       prefix or a suffix only nouns take, as tavro-cli does
  --timings            after the run, print rank 0's wall seconds per phase on
                       standard error, one "timing PHASE SECONDS" line each
                       (counting, sorting, exchange, crediting, report, and
                       communication: the time spent in MPI calls, waiting
                       for other ranks included)
  --round-bytes N      the most bytes one rank sends another in one message,
                       1 to 1073741824 (default: 64 MiB over the number of
                       ranks, from 64 KiB to 16 MiB)

Data files (every rank reads them):
  --lexicon FILE       the noun lexicon, one noun per line (default: finalList.txt)
  --conjugation FILE   the inflection table (default: conjugation.txt)
                       Both defaults are looked up in the current directory.
                       Either may be in code page 1253, UTF-8 or ISO-8859-7
                       (decided from its bytes, whatever --encoding says).

  -h, --help           show this help and exit
  --version            show the version and exit

Exit status, the same on every rank: 0 on success; 1 when the report cannot be
written; 2 on a usage error or when no input file is given; 255 when a data or
input file cannot be opened or read on some rank (nothing is written then).
Messages go to rank 0's standard error in UTF-8, once. "-" reads rank 0's
standard input.
)";
}

}  // namespace tavro
