#include "cli/cli_options.h"

#include "cli/option_parser.h"
#include "corpus/parallel.h"

namespace tavro {
namespace {

std::string CheckCombination(const CliOptions& options) {
    if (options.help || options.version) return {};
    if (options.baseForm) {
        if (!options.inputFiles.empty()) return "--base-form takes no input files";
        if (options.allWords || options.byFrequency || options.output) {
            return "--base-form cannot be combined with --all-words, --by-frequency or -o";
        }
    }
    return {};
}

}  // namespace

ParsedCli ParseCliOptions(const std::vector<std::string>& args) {
    ParsedCli parsed;
    CliOptions& options = parsed.options;
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
    parser.Value("--base-form", [&](const std::string& value) {
        options.baseForm = value;
        return std::string();
    });
    parser.Value("--threads", [&](const std::string& value) {
        const std::optional<long long> threads = ParseWholeNumber(value, 1, kMaxThreads);
        if (!threads) {
            return "--threads takes a whole number from 1 to " + std::to_string(kMaxThreads);
        }
        options.threads = static_cast<int>(*threads);
        return std::string();
    });
    parser.Value("--encoding", [&](const std::string& value) {
        const std::optional<EncodingChoice> choice = ParseEncodingChoice(value);
        if (!choice)
            return "--encoding takes auto, utf-8, cp1253 or iso-8859-7, not '" + value + "'";
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
    parser.Flag("--all-words", options.allWords);
    parser.Flag("--by-frequency", options.byFrequency);
    parser.Flag("--timings", options.timings);
    parser.Flag("--capitals-accents", options.capitalsAccents);
    parser.Flag("--help", options.help, "-h");
    parser.Flag("--version", options.version);
    parsed.error = parser.Parse(args, options.inputFiles);
    if (parsed.error.empty()) parsed.error = CheckCombination(options);
    return parsed;
}

const char* CliUsage() {
    return R"(Usage: tavro-cli [OPTIONS] FILE...
       tavro-cli [--lexicon FILE] [--conjugation FILE] --base-form WORD

Counts the words of Greek text files and credits every word to the nouns of the
lexicon it may be an inflected form of. Writes the report, one line per word
with a nonzero count ("word count", LF line ends; code page 1253 bytes unless
--output-encoding says otherwise), to standard output or to OUT. The files are
read in the order given; a word's count is its total over all of them. "-"
reads standard input.

Encodings:
  --encoding ENC       what the input files are in: auto (the default: decided
                       per file from its bytes), utf-8, cp1253 or iso-8859-7.
                       Characters that code page 1253 cannot hold separate
                       words; each malformed byte sequence does too, and a file
                       that holds any gets a warning on standard error
  --output-encoding ENC
                       write the report, and the --base-form answer, in ENC:
                       cp1253 (the report's default), utf-8 (the answer's
                       default) or iso-8859-7

Report options:
  --all-words          list every word of the input, not only the lexicon's nouns
  --by-frequency       order by descending count (equal counts alphabetically);
                       the default order is by byte value of the words
  -o, --output OUT     write the report to OUT (replaced only when the run succeeds)
  --threads N          count with N threads, 1 to 256 (default: every core);
                       the report is the same whatever N is
  --capitals-accents   match words without any accent (as Greek capitals are
                       written: ΤΙΜΗ) with the lexicon's nouns up to accents,
                       when exactly one noun matches; also for --base-form.
                       Off by default, which counts such words as the lexicon
                       and table alone give them
  --timings            after the run, print the wall seconds of its phases on
                       standard error, one "timing PHASE SECONDS" line each
                       (counting, sorting, crediting, report)

Base form:
  --base-form WORD     print the base form of one inflected noun (WORD in UTF-8,
                       code page 1253 or ISO-8859-7); an empty WORD prints nothing

Data files:
  --lexicon FILE       the noun lexicon, one noun per line (default: finalList.txt)
  --conjugation FILE   the inflection table (default: conjugation.txt)
                       Both defaults are looked up in the current directory.
                       Either may be in code page 1253, UTF-8 or ISO-8859-7
                       (decided from its bytes, whatever --encoding says).

  -h, --help           show this help and exit
  --version            show the version and exit

Exit status: 0 on success; 1 when the report cannot be written; 2 on a usage
error or when no input file is given; 255 when a data or input file cannot be
opened or read (nothing is written then). Messages go to standard error in UTF-8;
a progress bar is drawn there when it is a terminal.
)";
}

}  // namespace tavro
