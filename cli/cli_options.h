// The command line of tavro-cli, parsed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "report/table_export.h"

namespace tavro {

struct CliOptions {
    std::string lexicon = "finalList.txt";
    std::string conjugation = "conjugation.txt";
    bool allWords = false;
    bool byFrequency = false;
    std::optional<std::string> output;                // -o OUT; standard output when absent
    std::optional<std::string> baseForm;              // --base-form WORD (as typed, UTF-8 or raw)
    int threads = 0;                                  // --threads N; 0: every core
    EncodingChoice encoding = EncodingChoice::kAuto;  // --encoding: what the input files are in
    // --output-encoding: the report's (cp1253 when absent) and the base form's
    // answer's (UTF-8 when absent, as the messages are).
    std::optional<TextEncoding> outputEncoding;
    bool capitalsAccents = false;  // --capitals-accents
    bool derivedNouns = false;     // --derive-nouns
    bool timings = false;          // --timings: the run's phases on standard error
    // The analysis of the run.
    bool forms = false;                       // --forms
    bool ambiguous = false;                   // --ambiguous: the ambiguous words instead
    bool stats = false;                       // --stats: the figures on standard error
    TableFormat format = TableFormat::kText;  // --format
    std::optional<RowOrder> order;            // --order
    Count minCount = 1;                       // --min-count N
    std::size_t top = 0;                      // --top N; 0: every row
    std::optional<std::string> saveCounts;    // --save-counts FILE
    std::vector<std::string> addCounts;       // --add-counts FILE, in the order given
    bool help = false;
    bool version = false;
    std::vector<std::string> inputFiles;
};

// The options, or an error text (one line, without the program name) for a usage error.
struct ParsedCli {
    CliOptions options;
    std::string error;
};

ParsedCli ParseCliOptions(const std::vector<std::string>& args);

// Whether the options ask for more than the report (then the table is written
// from the run's analysis).
bool WantsAnalysis(const CliOptions& options);

// The text of --help.
const char* CliUsage();

}  // namespace tavro
