#include "cli/cli_options.h"

#include "corpus/counting_pool.h"

namespace tavro {
namespace {

// Options that take a value, with the member they fill.
std::optional<std::string>* ValueSlot(CliOptions& options, const std::string& name,
                                      std::string*& plain) {
    plain = nullptr;
    if (name == "--lexicon") plain = &options.lexicon;
    if (name == "--conjugation") plain = &options.conjugation;
    if (name == "-o" || name == "--output") return &options.output;
    if (name == "--base-form") return &options.baseForm;
    if (name == "--threads") return &options.threadsText;
    return nullptr;
}

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
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            options.inputFiles.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = arg.find('='); arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = arg.substr(equals + 1);
            arg.resize(equals);
        }
        std::string* plain = nullptr;
        std::optional<std::string>* optional = ValueSlot(options, arg, plain);
        if (plain != nullptr || optional != nullptr) {
            if (!inlineValue) {
                if (i + 1 == args.size()) {
                    parsed.error = "option '" + arg + "' needs a value";
                    return parsed;
                }
                inlineValue = args[++i];
            }
            if (plain != nullptr) *plain = *inlineValue;
            if (optional != nullptr) *optional = *inlineValue;
            continue;
        }
        if (inlineValue) {
            parsed.error = "option '" + arg + "' takes no value";
            return parsed;
        }
        if (arg == "--all-words") {
            options.allWords = true;
        } else if (arg == "--by-frequency") {
            options.byFrequency = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
    }
    if (options.threadsText) {
        const std::string& text = *options.threadsText;
        const bool digits = !text.empty() && text.size() <= 3 &&
                            text.find_first_not_of("0123456789") == std::string::npos;
        options.threads = digits ? std::stoi(text) : 0;
        if (options.threads < 1 || options.threads > CountingPool::kMaxThreads) {
            parsed.error = "--threads takes a whole number from 1 to " +
                           std::to_string(CountingPool::kMaxThreads);
            return parsed;
        }
    }
    parsed.error = CheckCombination(options);
    return parsed;
}

const char* CliUsage() {
    return R"(Usage: tavro-cli [OPTIONS] FILE...
       tavro-cli [--lexicon FILE] [--conjugation FILE] --base-form WORD

Counts the words of Greek text files (code page 1253) and credits every word to
the nouns of the lexicon it may be an inflected form of. Writes the report, one
line per word with a nonzero count ("word count", code page 1253 bytes, LF line
ends), to standard output or to OUT. The files are read in the order given; a
word's count is its total over all of them. "-" reads standard input.

Report options:
  --all-words          list every word of the input, not only the lexicon's nouns
  --by-frequency       order by descending count (equal counts alphabetically);
                       the default order is by byte value of the words
  -o, --output OUT     write the report to OUT (replaced only when the run succeeds)
  --threads N          count with N threads, 1 to 256 (default: every core);
                       the report is the same whatever N is

Base form:
  --base-form WORD     print the base form of one inflected noun (WORD in UTF-8 or
                       code page 1253); an empty WORD prints nothing

Data files:
  --lexicon FILE       the noun lexicon, one noun per line (default: finalList.txt)
  --conjugation FILE   the inflection table (default: conjugation.txt)
                       Both defaults are looked up in the current directory.

  -h, --help           show this help and exit
  --version            show the version and exit

Exit status: 0 on success; 1 when the report cannot be written; 2 on a usage
error or when no input file is given; 255 when a data or input file cannot be
opened or read (nothing is written then). Messages go to standard error in UTF-8;
a progress bar is drawn there when it is a terminal.
)";
}

}  // namespace tavro
