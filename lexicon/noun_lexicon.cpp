#include "lexicon/noun_lexicon.h"

#include "platform/text_encoding.h"

namespace tavro {

std::vector<std::string> SplitLexiconLines(std::string_view contents) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < contents.size()) {
        const char c = contents[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(contents.substr(start, i - start));
            i += c == '\r' ? 2 : 1;  // a CR swallows the byte after it
            start = i;
        } else {
            ++i;
        }
    }
    if (start < contents.size()) lines.emplace_back(contents.substr(start));
    return lines;
}

std::vector<WordEntry> LexiconEntries(std::string_view contents) {
    std::vector<WordEntry> entries;
    for (const std::string& line : SplitLexiconLines(contents)) entries.emplace_back(line, 0);
    return entries;
}

Status LoadNounLexicon(FileSystem& files, const std::string& fileName, WordTable& nouns) {
    OpenedSource opened = files.OpenForRead(fileName);
    if (opened.file == nullptr) {
        return Status::NoDocument({"Error: File could not be opened", ""});
    }
    const std::optional<std::string> contents = ReadAll(*opened.file);
    if (!contents) return Status::NoDocument({});
    const DecodedText decoded = DecodeText(*contents);
    if (!decoded.clean()) {
        return Status::NoDocument(
            {"Error: " + DecodingProblem(decoded, *contents) + ", in file ", fileName});
    }
    nouns = WordTable::FromEntries(LexiconEntries(decoded.text));
    return Status::Ok();
}

}  // namespace tavro
