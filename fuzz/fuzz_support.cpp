#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "lexicon/noun_lexicon.h"
#include "platform/posix_file_system.h"

namespace tavro::fuzz {
namespace {

std::string DataFile(const char* name) {
    return std::string(TAVRO_SOURCE_DIR "/data/").append(name);
}

void Require(const Status& status, const char* what) {
    if (status.ok()) return;
    std::fprintf(stderr, "fuzz: cannot load %s\n", what);
    std::abort();
}

}  // namespace

void Check(bool condition) {
    if (!condition) std::abort();
}

const std::string& BundledFile(const std::string& name) {
    static std::map<std::string, std::string> files;
    const auto known = files.find(name);
    if (known != files.end()) return known->second;
    PosixFileSystem disk;
    OpenedSource opened = disk.OpenForRead(DataFile(name.c_str()));
    std::optional<std::string> bytes;
    if (opened.file != nullptr) bytes = ReadAll(*opened.file);
    if (!bytes) {
        std::fprintf(stderr, "fuzz: cannot read %s\n", name.c_str());
        std::abort();
    }
    return files[name] = std::move(*bytes);
}

const WordTable& BundledNouns() {
    static const WordTable nouns = [] {
        PosixFileSystem files;
        WordTable table;
        Require(LoadNounLexicon(files, DataFile("finalList.txt"), table), "finalList.txt");
        return table;
    }();
    return nouns;
}

const std::vector<EndingGroup>& BundledTable() {
    static const std::vector<EndingGroup> table = [] {
        PosixFileSystem files;
        std::vector<EndingGroup> groups;
        Require(LoadConjugationTable(files, DataFile("conjugation.txt"), groups),
                "conjugation.txt");
        return groups;
    }();
    return table;
}

std::vector<std::string> SplitAt(std::string_view bytes, char separator) {
    std::vector<std::string> pieces(1);
    for (const char c : bytes) {
        if (c == separator) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

}  // namespace tavro::fuzz
