#include "cli/cli_options.h"

#include "cli/option_parser.h"
#include "corpus/parallel.h"

namespace tavro {
namespace {

std::string CheckCombination(const CliOptions& options) {
    if (options.help || options.version) return {};
    if (options.byFrequency && options.order && *options.order != RowOrder::kFrequency) {
        return "--by-frequency cannot be combined with --order other than frequency";
    }
    if (options.ambiguous && options.allWords) {
        return "--ambiguous lists words already; it cannot be combined with --all-words";
    }
    if (options.forms && (options.allWords || options.ambiguous)) {
        return "--forms belongs to the noun table; it cannot be combined with --all-words or "
               "--ambiguous";
    }
    if (options.baseForm && (WantsAnalysis(options) || !options.addCounts.empty())) {
        return "--base-form cannot be combined with the options of the run";
    }
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
    parser.Value("--format", [&](const std::string& value) {
        const std::optional<TableFormat> format = ParseTableFormat(value);
        if (!format) return "--format takes text, tsv, csv or json, not '" + value + "'";
        options.format = *format;
        return std::string();
    });
    parser.Value("--order", [&](const std::string& value) {
        const std::optional<RowOrder> order = ParseRowOrder(value);
        if (!order) return "--order takes bytes, frequency or greek, not '" + value + "'";
        options.order = *order;
        return std::string();
    });
    parser.Value("--min-count", [&](const std::string& value) {
        const std::optional<long long> count = ParseWholeNumber(value, 1, INT64_MAX);
        if (!count) return std::string("--min-count takes a whole number from 1 up");
        options.minCount = *count;
        return std::string();
    });
    parser.Value("--top", [&](const std::string& value) {
        const std::optional<long long> top = ParseWholeNumber(value, 1, INT64_MAX);
        if (!top) return std::string("--top takes a whole number from 1 up");
        options.top = static_cast<std::size_t>(*top);
        return std::string();
    });
    parser.Value("--save-counts", [&](const std::string& value) {
        options.saveCounts = value;
        return std::string();
    });
    parser.Value("--add-counts", [&](const std::string& value) {
        options.addCounts.push_back(value);
        return std::string();
    });
    parser.Flag("--forms", options.forms);
    parser.Flag("--ambiguous", options.ambiguous);
    parser.Flag("--stats", options.stats);
    parser.Flag("--all-words", options.allWords);
    parser.Flag("--by-frequency", options.byFrequency);
    parser.Flag("--timings", options.timings);
    parser.Flag("--capitals-accents", options.capitalsAccents);
    parser.Flag("--derive-nouns", options.derivedNouns);
    parser.Flag("--help", options.help, "-h");
    parser.Flag("--version", options.version);
    parsed.error = parser.Parse(args, options.inputFiles);
    if (parsed.error.empty()) parsed.error = CheckCombination(options);
    return parsed;
}

bool WantsAnalysis(const CliOptions& options) {
    return options.forms || options.ambiguous || options.stats ||
           options.format != TableFormat::kText || options.order || options.minCount != 1 ||
           options.top != 0 || options.saveCounts;
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
  --derive-nouns       also credit nouns that the lexicon lacks, made from a
                       word that credits none of its nouns: a productive prefix
                       (υπο-, επανα-, απο-, ...) on the form of one of its nouns
                       (υποτύπους: υπότυπος), or a suffix that only nouns take
                       (-ποίηση, -ότητα, -ύτητα, -ισμός); also for --base-form.
                       Off by default: the report then holds nouns that are not
                       in the lexicon
  --timings            after the run, print the wall seconds of its phases on
                       standard error, one "timing PHASE SECONDS" line each
                       (counting, sorting, crediting, report)

What the counts are made of:
  --forms              under each noun, the words that credited it, one
                       "  form count" line each (two spaces), most frequent
                       first; a "forms" column in tsv, csv and json
  --ambiguous          list the ambiguous words instead of the nouns: those that
                       credit two or more different nouns, "word count noun..."
  --stats              after the run, print the corpus figures on standard error
                       (files, bytes, tokens, types, type/token ratio, STTR over
                       1,000-token windows, noun tokens and types, share of
                       tokens credited, nouns credited, ambiguous words and
                       their tokens, bad sequences; with --derive-nouns, the
                       nouns derived and their tokens); json holds them always
  --format FMT         text (the default: the report), tsv, csv or json. tsv,
                       csv and json are UTF-8 (csv with a byte-order mark, CRLF
                       line ends, quoted as RFC 4180 says) with the columns rank,
                       noun or word, count, sure count (nouns), per million,
                       files, forms (--forms) or nouns (words); json holds the
                       rows and the statistics. --output-encoding applies to
                       text only
  --order ORDER        bytes (the default: byte value of the words), frequency
                       (as --by-frequency) or greek (Greek dictionary order:
                       accents and case ignored first, final sigma as sigma)
  --min-count N        leave out the rows of a count below N
  --top N              keep only the N most frequent rows (equal counts in byte
                       order), then order them as asked
  --save-counts FILE   also write the run's counted words to FILE, a count file
                       (every word with its count and its files) that
                       --add-counts reads
  --add-counts FILE    add the counts of FILE, a count file, to the run, after
                       the text files; may be given more than once, and a run
                       of count files alone needs no text file. A count file
                       that is truncated, of another version or corrupted is
                       refused (exit 255) with a message naming it and the line

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

Exit status: 0 on success; 1 when the report or the count file cannot be
written; 2 on a usage error or when no input file is given; 255 when a data,
input or count file cannot be opened or read, or a count file is refused
(nothing is written then). Messages go to standard error in UTF-8;
a progress bar is drawn there when it is a terminal.
)";
}

}  // namespace tavro
