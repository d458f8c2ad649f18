#include "lexicon/noun_lexicon.h"

#include "corpus/shuffle.h"

namespace tavro {
namespace {

constexpr std::uint32_t kShuffleSeed = 3144;
constexpr int kShuffleSwaps = 100000;

}  // namespace

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
    CRandom random(kShuffleSeed);
    ShuffleEntries(entries, kShuffleSwaps, random);
    return entries;
}

Status LoadNounLexicon(const std::string& fileName, WordNode*& root, Platform& platform) {
    if (platform.Files().OpenForRead(fileName) == nullptr) {
        platform.ShowMessage({"Error: File could not be opened", ""});
        return Status::NoDocument();
    }
    std::unique_ptr<ByteSource> file = platform.Files().OpenForRead(fileName);
    if (file == nullptr) return Status::NoDocument();
    const std::optional<std::string> contents = ReadAll(*file);
    if (!contents) return Status::NoDocument();
    InsertEntries(LexiconEntries(*contents), root);
    return Status::Ok();
}

}  // namespace tavro
