// libFuzzer target: a whole tavro-cli run over files held in memory.
//
// The input is cut at 1E bytes. With three or more pieces, they are the
// lexicon, the inflection table and the input files; with fewer, every piece is
// an input file and the bundled lexicon and table are used. The input's size
// picks the report (nouns or all words, alphabetical or by frequency), whether
// capitals are matched up to accents and whether nouns are derived. Checks: a
// run with one thread and a run with three give the same exit status, report
// and messages; a run that succeeds writes a report whose lines are each a
// word, a space and a positive count, in the chosen order when it is
// alphabetical.

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "fuzz/fuzz_support.h"
#include "platform/memory_file_system.h"

namespace {

constexpr char kPieceEnd = '\x1E';

struct Outcome {
    int status = 0;
    std::string out;
    std::string err;
};

Outcome RunOnce(const std::vector<std::string>& pieces, const std::vector<std::string>& options,
                int threads) {
    tavro::MemoryFileSystem files;
    std::vector<std::string> args = options;
    args.insert(args.end(), {"--threads", std::to_string(threads)});
    std::size_t first = 0;
    if (pieces.size() >= 3) {
        files.Add("lexicon.txt", pieces[0]);
        files.Add("table.txt", pieces[1]);
        first = 2;
    } else {
        files.Add("lexicon.txt", tavro::fuzz::BundledFile("finalList.txt"));
        files.Add("table.txt", tavro::fuzz::BundledFile("conjugation.txt"));
    }
    args.insert(args.end(),
                {"--lexicon", "lexicon.txt", "--conjugation", "table.txt", "-o", "report.txt"});
    for (std::size_t i = first; i < pieces.size(); ++i) {
        std::string name = "input";
        name.append(std::to_string(i)).append(".txt");
        files.Add(name, pieces[i]);
        args.push_back(name);
    }
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.status = tavro::RunCli(args, out, err, files, false);
    outcome.out = files.Contents("report.txt").value_or("");
    outcome.err = err.str();
    return outcome;
}

std::vector<std::string> OptionsFor(std::size_t size) {
    std::vector<std::string> options;
    if (size & 1) options.push_back("--all-words");
    if (size & 2) options.push_back("--by-frequency");
    if (size & 4) options.push_back("--capitals-accents");
    if (size & 8) options.push_back("--derive-nouns");
    return options;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> pieces = tavro::fuzz::SplitAt(bytes, kPieceEnd);
    const std::vector<std::string> options = OptionsFor(size);
    const Outcome one = RunOnce(pieces, options, 1);
    const Outcome three = RunOnce(pieces, options, 3);
    tavro::fuzz::Check(one.status == three.status);
    tavro::fuzz::Check(one.out == three.out);
    tavro::fuzz::Check(one.err == three.err);
    if (one.status != 0) return 0;
    const bool alphabetical = (size & 2) == 0;
    std::string_view rest = one.out;
    std::string previous;
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        tavro::fuzz::Check(end != std::string_view::npos);
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        const std::size_t space = line.rfind(' ');
        tavro::fuzz::Check(space != std::string_view::npos && space > 0 && space + 1 < line.size());
        tavro::fuzz::Check(line[space + 1] != '0');
        for (char digit : line.substr(space + 1)) tavro::fuzz::Check(digit >= '0' && digit <= '9');
        std::string word(line.substr(0, line.find(' ')));
        if (alphabetical && !first) tavro::fuzz::Check(previous < word);
        previous = std::move(word);
        first = false;
    }
    return 0;
}
