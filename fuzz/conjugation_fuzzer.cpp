// libFuzzer target: parsing any bytes as the inflection table.
//
// Checks: the table parsed from the bytes equals the table of a plain parser
// written here from the line format (one byte at a time); loading the bytes as
// a file succeeds exactly when their text-mode contents decode cleanly, and then
// gives the table of the decoded text; a failed load leaves the table as it was.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/text_mode.h"
#include "fuzz/fuzz_support.h"
#include "lexicon/ending_table.h"
#include "platform/memory_file_system.h"
#include "platform/text_encoding.h"

namespace {

using tavro::EndingGroup;
using tavro::EndingToken;

EndingGroup PlainLine(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    EndingGroup group;
    EndingToken token;
    bool inToken = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t') {
            if (inToken) group.push_back(token);
            token = {};
            inToken = false;
            continue;
        }
        inToken = true;
        if (c != '-') {
            token.text += c;
        } else if (i + 1 < line.size()) {
            const char marked = line[++i];
            token.accentShift = marked >= '0' && marked <= '9' ? marked - '0' : 0;
        } else {
            token.accentShift = 0;
        }
    }
    if (inToken) group.push_back(token);
    return group;
}

std::vector<EndingGroup> PlainTable(std::string_view text) {
    std::vector<EndingGroup> table;
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            table.push_back(PlainLine(line));
            line.clear();
        } else {
            line += c;
        }
    }
    table.push_back(PlainLine(line));
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavro;
    using fuzz::Check;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Check(ParseConjugationText(bytes) == PlainTable(bytes));

    MemoryFileSystem files;
    files.Add("conjugation.txt", bytes);
    const std::vector<EndingGroup> before = {{{"x", 1}}};
    std::vector<EndingGroup> table = before;
    const Status status = LoadConjugationTable(files, "conjugation.txt", table);
    const DecodedText decoded = DecodeText(TextModeContents(bytes));
    Check(status.ok() == decoded.clean());
    if (!status.ok()) {
        Check(table == before);
        return 0;
    }
    std::vector<EndingGroup> expected = before;
    for (EndingGroup& group : PlainTable(decoded.text)) expected.push_back(std::move(group));
    Check(table == expected);
    return 0;
}
