// libFuzzer target: loading any bytes as the noun lexicon.
//
// Checks: loading never crashes; it fails exactly when the bytes do not decode
// cleanly; a loaded table holds, in strictly ascending order, exactly the
// distinct folded lines of the decoded text, split here byte by byte as the
// lexicon's lines are defined (LF, or CR and the byte after it), each found
// where it stands, all with count 0.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "corpus/char_classes.h"
#include "fuzz/fuzz_support.h"
#include "lexicon/noun_lexicon.h"
#include "platform/memory_file_system.h"
#include "platform/text_encoding.h"

namespace {

std::set<std::string> FoldedLines(std::string_view text) {
    std::set<std::string> lines;
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.insert(line);
            line.clear();
            open = false;
            if (c == '\r') ++i;
        } else {
            line += tavro::ToLowerGreek(c);
            open = true;
        }
    }
    if (open) lines.insert(line);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavro;
    using fuzz::Check;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MemoryFileSystem files;
    files.Add("finalList.txt", bytes);
    WordTable nouns;
    const Status status = LoadNounLexicon(files, "finalList.txt", nouns);
    const DecodedText decoded = DecodeText(bytes);
    Check(status.ok() == decoded.clean());
    if (!status.ok()) return 0;

    const std::set<std::string> expected = FoldedLines(decoded.text);
    Check(nouns.size() == expected.size());
    std::size_t position = 0;
    for (const std::string& word : expected) {
        Check(nouns[position].word == word);
        Check(nouns[position].count == 0);
        Check(nouns.Find(word) == position);
        ++position;
    }
    Check(nouns.Find(std::string(1, '\xFF').append(bytes)) == WordTable::kNotFound ||
          expected.count(std::string(1, '\xFF').append(bytes)) != 0);
    return 0;
}
