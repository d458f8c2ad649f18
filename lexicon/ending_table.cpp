#include "lexicon/ending_table.h"

#include "corpus/text_mode.h"
#include "platform/text_encoding.h"

namespace tavro {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t'; }

int ShiftDigit(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

}  // namespace

EndingGroup ParseConjugationLine(std::string_view line) {
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);

    EndingGroup group;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        if (i == line.size()) break;
        EndingToken token;
        while (i < line.size() && !IsSeparator(line[i])) {
            if (line[i] == '-') {
                // The marker takes the next byte whatever it is, a separator included.
                token.accentShift = i + 1 < line.size() ? ShiftDigit(line[i + 1]) : 0;
                i += 2;
            } else {
                token.text += line[i++];
            }
        }
        group.push_back(std::move(token));
        if (i > line.size()) break;  // a marker that ended the line
    }
    return group;
}

std::vector<EndingGroup> ParseConjugationText(std::string_view text) {
    std::vector<EndingGroup> table;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            table.push_back(ParseConjugationLine(text.substr(start)));
            return table;
        }
        table.push_back(ParseConjugationLine(text.substr(start, end - start)));
        start = end + 1;
    }
}

Status LoadConjugationTable(FileSystem& files, const std::string& fileName,
                            std::vector<EndingGroup>& table) {
    OpenedSource opened = files.OpenForRead(fileName);
    if (opened.file == nullptr) {
        return Status::Fatal({"Error while opening file ", fileName}, opened.problem);
    }
    const std::optional<std::string> raw = ReadAll(*opened.file);
    if (!raw) return Status::Fatal({"Error while reading file ", ""}, opened.file->Problem());
    const std::string text = TextModeContents(*raw);
    const DecodedText decoded = DecodeText(text);
    if (!decoded.clean()) {
        return Status::Fatal({"Error: " + DecodingProblem(decoded, text) + ", in file ", fileName});
    }
    for (EndingGroup& group : ParseConjugationText(decoded.text)) {
        table.push_back(std::move(group));
    }
    return Status::Ok();
}

}  // namespace tavro
