// The command line of tavro-mpi: tavro-cli's report options, and the size of
// the messages its ranks send each other.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/text_encoding.h"

namespace tavro {

struct MpiOptions {
    std::string lexicon = "finalList.txt";
    std::string conjugation = "conjugation.txt";
    bool allWords = false;
    bool byFrequency = false;
    std::optional<std::string> output;                // -o OUT; standard output when absent
    int threads = 0;                                  // --threads N, per rank; 0: the rank's cores
    bool capitalsAccents = false;                     // --capitals-accents
    bool derivedNouns = false;                        // --derive-nouns
    EncodingChoice encoding = EncodingChoice::kAuto;  // --encoding: what the input files are in
    std::optional<TextEncoding> outputEncoding;       // --output-encoding; cp1253 when absent
    std::optional<std::size_t> roundBytes;  // --round-bytes N; by the number of ranks when absent
    bool timings = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> inputFiles;
};

// The options, or an error text (one line, without the program name) for a usage error.
struct ParsedMpiCommand {
    MpiOptions options;
    std::string error;
};

ParsedMpiCommand ParseMpiOptions(const std::vector<std::string>& args);

// The largest --round-bytes.
inline constexpr std::size_t kMaxRoundBytes = std::size_t{1} << 30;

// The text of --help.
const char* MpiUsage();

}  // namespace tavro
