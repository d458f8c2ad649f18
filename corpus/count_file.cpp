#include "corpus/count_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/text_encoding.h"

namespace tavro {
namespace {

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// A word in UTF-8; a byte that cp1253 leaves undefined (and so UTF-8 cannot
// carry) as \xHH. No word holds a backslash, a space or a line end.
void AppendWord(std::string& out, std::string_view word) {
    for (std::size_t i = 0; i < word.size(); ++i) {
        const std::string_view one = word.substr(i, 1);
        const std::string utf8 = EncodeCp1253(one, TextEncoding::kUtf8);
        const std::optional<std::string> back = Utf8ToCp1253(utf8);
        if (back && *back == one) {
            out += utf8;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(word[i]));
            out += escaped;
        }
    }
}

std::optional<std::string> ParseWord(std::string_view text) {
    std::string word;
    while (!text.empty()) {
        const std::size_t escape = text.find('\\');
        const std::optional<std::string> plain = Utf8ToCp1253(text.substr(0, escape));
        if (!plain || EncodeCp1253(*plain, TextEncoding::kUtf8) != text.substr(0, escape)) {
            return std::nullopt;
        }
        word += *plain;
        if (escape == std::string_view::npos) break;
        unsigned value = 0;
        if (text.size() < escape + 4 || text[escape + 1] != 'x' ||
            std::from_chars(text.data() + escape + 2, text.data() + escape + 4, value, 16).ptr !=
                text.data() + escape + 4) {
            return std::nullopt;
        }
        word += static_cast<char>(value);
        text.remove_prefix(escape + 4);
    }
    if (word.empty()) return std::nullopt;
    return word;
}

void AppendNumber(std::string& out, std::uint64_t value) {
    char digits[24];
    out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Ascending files as numbers and ranges: 0-3,7,9-10.
void AppendFiles(std::string& out, std::span<const std::uint32_t> files) {
    for (std::size_t i = 0; i < files.size();) {
        std::size_t j = i;
        while (j + 1 < files.size() && files[j + 1] == files[j] + 1) ++j;
        if (i != 0) out += ',';
        AppendNumber(out, files[i]);
        if (j > i) {
            out += '-';
            AppendNumber(out, files[j]);
        }
        i = j + 1;
    }
}

std::optional<std::uint64_t> ParseNumber(std::string_view text) {
    std::uint64_t value = 0;
    if (text.empty() || text.size() > 19) return std::nullopt;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

// Reads "files" fields into `files`, checking they ascend and stay below `limit`.
bool ParseFiles(std::string_view text, std::uint64_t limit, std::vector<std::uint32_t>& files) {
    std::int64_t last = -1;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        const std::optional<std::uint64_t> from = ParseNumber(item.substr(0, dash));
        const std::optional<std::uint64_t> to =
            dash == std::string_view::npos ? from : ParseNumber(item.substr(dash + 1));
        if (!from || !to || *to < *from || *to >= limit ||
            static_cast<std::int64_t>(*from) <= last) {
            return false;
        }
        for (std::uint64_t f = *from; f <= *to; ++f) files.push_back(static_cast<std::uint32_t>(f));
        last = static_cast<std::int64_t>(*to);
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
}

class Refusal {
  public:
    explicit Refusal(const std::string& path) : m_path(path) {}
    LoadedCounts operator()(const char* kind, std::size_t line, const std::string& why) const {
        std::string text = kind;
        text.append(" (line ").append(std::to_string(line)).append(": ").append(why).append("): ");
        return {Status::Fatal({text, m_path}, why), {}};
    }

  private:
    const std::string& m_path;
};

}  // namespace

std::string RenderCountFile(const WordCounts& counts) {
    std::string out;
    out.reserve(counts.words.size() * 24 + 128);
    std::uint64_t tokens = 0;
    for (const WordEntry& entry : counts.words) tokens += static_cast<std::uint64_t>(entry.count);
    const std::pair<const char*, std::uint64_t> header[] = {{"files", counts.fileCount},
                                                            {"bytes", counts.bytes},
                                                            {"bad-sequences", counts.badSequences},
                                                            {"tokens", tokens},
                                                            {"words", counts.words.size()}};
    out.append(kCountFileMagic).append("\n");
    for (const auto& [name, value] : header) {
        out.append(name).append(" ");
        AppendNumber(out, value);
        out += '\n';
    }
    for (std::size_t w = 0; w < counts.words.size(); ++w) {
        AppendWord(out, counts.words[w].word);
        out += ' ';
        AppendNumber(out, static_cast<std::uint64_t>(counts.words[w].count));
        out += ' ';
        if (counts.files.empty() || counts.files.CountOf(w) == 0) {
            out += '-';
        } else {
            AppendFiles(out, counts.files.Of(w));
        }
        out += '\n';
    }
    char end[32];
    std::snprintf(end, sizeof end, "end %016llx\n", static_cast<unsigned long long>(Fnv1a(out)));
    return out.append(end);
}

LoadedCounts ParseCountFile(std::string_view bytes, const std::string& path) {
    const Refusal refuse(path);
    constexpr const char* kOther = "Not a count file of this version";
    constexpr const char* kTruncated = "Truncated count file";
    constexpr const char* kCorrupted = "Corrupted count file";
    LoadedCounts loaded;
    WordCounts& counts = loaded.counts;
    std::size_t at = 0;
    std::size_t lineNumber = 0;
    // The next whole line, without its LF; nothing at the end of the bytes.
    const auto nextLine = [&]() -> std::optional<std::string_view> {
        if (at >= bytes.size()) return std::nullopt;
        const std::size_t lf = bytes.find('\n', at);
        if (lf == std::string_view::npos) return std::nullopt;
        const std::string_view line = bytes.substr(at, lf - at);
        at = lf + 1;
        ++lineNumber;
        return line;
    };
    const std::optional<std::string_view> magic = nextLine();
    if (!magic || *magic != kCountFileMagic) {
        return refuse(kOther, 1, std::string("the first line is not \"") + kCountFileMagic + "\"");
    }
    const char* names[] = {"files", "bytes", "bad-sequences", "tokens", "words"};
    std::uint64_t values[5] = {};
    for (int i = 0; i < 5; ++i) {
        const std::optional<std::string_view> line = nextLine();
        if (!line) return refuse(kTruncated, lineNumber + 1, "the file ends before its end line");
        const std::string prefix = std::string(names[i]) + " ";
        const std::optional<std::uint64_t> value =
            line->starts_with(prefix) ? ParseNumber(line->substr(prefix.size())) : std::nullopt;
        if (!value) return refuse(kCorrupted, lineNumber, "expected \"" + prefix + "NUMBER\"");
        values[i] = *value;
    }
    counts.fileCount = values[0];
    counts.bytes = values[1];
    counts.badSequences = values[2];
    if (counts.fileCount > 0xFFFFFFFFu) return refuse(kCorrupted, 2, "too many files");
    std::vector<std::uint64_t> offsets{0};
    std::vector<std::uint32_t> files;
    std::uint64_t tokens = 0;
    bool anyFiles = false;
    for (std::uint64_t w = 0; w < values[4]; ++w) {
        const std::optional<std::string_view> line = nextLine();
        if (!line) return refuse(kTruncated, lineNumber + 1, "the file ends before its end line");
        const std::size_t space1 = line->find(' ');
        const std::size_t space2 =
            space1 == std::string_view::npos ? space1 : line->find(' ', space1 + 1);
        if (space2 == std::string_view::npos) {
            return refuse(kCorrupted, lineNumber, "expected \"WORD COUNT FILES\"");
        }
        const std::optional<std::string> word = ParseWord(line->substr(0, space1));
        const std::optional<std::uint64_t> count =
            ParseNumber(line->substr(space1 + 1, space2 - space1 - 1));
        if (!word) return refuse(kCorrupted, lineNumber, "the word is not valid");
        if (!count || *count == 0 || *count > static_cast<std::uint64_t>(INT64_MAX) - tokens) {
            return refuse(kCorrupted, lineNumber, "the count is not a number from 1 up");
        }
        if (!counts.words.empty() && !(counts.words.back().word < *word)) {
            return refuse(kCorrupted, lineNumber, "the words are not in ascending order");
        }
        const std::string_view fileText = line->substr(space2 + 1);
        if (fileText != "-") {
            anyFiles = true;
            if (!ParseFiles(fileText, counts.fileCount, files)) {
                return refuse(kCorrupted, lineNumber, "the files are not ascending file numbers");
            }
        }
        offsets.push_back(files.size());
        WordEntry entry;
        entry.word = std::move(*word);
        entry.count = static_cast<Count>(*count);
        counts.words.push_back(std::move(entry));
        tokens += *count;
    }
    const std::size_t endAt = at;
    const std::optional<std::string_view> end = nextLine();
    if (!end) return refuse(kTruncated, lineNumber + 1, "the file ends before its end line");
    if (!end->starts_with("end ")) {
        return refuse(kCorrupted, lineNumber, "expected the end line after the words");
    }
    char expected[32];
    std::snprintf(expected, sizeof expected, "end %016llx",
                  static_cast<unsigned long long>(Fnv1a(bytes.substr(0, endAt))));
    if (*end != expected) return refuse(kCorrupted, lineNumber, "the checksum does not match");
    if (at != bytes.size()) return refuse(kCorrupted, lineNumber + 1, "bytes after the end line");
    if (tokens != values[3]) return refuse(kCorrupted, 5, "the tokens are not the counts' sum");
    if (anyFiles) counts.files = WordFiles(std::move(offsets), std::move(files));
    return loaded;
}

LoadedCounts ReadCountFile(FileSystem& files, const std::string& path) {
    OpenedSource opened = files.OpenForRead(path);
    if (opened.file == nullptr) {
        return {Status::Fatal({"Error while opening file ", path}, opened.problem), {}};
    }
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const std::optional<std::size_t> got = opened.file->Read(buffer, sizeof buffer);
        if (!got) {
            return {Status::Fatal({"Error while reading file ", path}, opened.file->Problem()), {}};
        }
        if (*got == 0) break;
        bytes.append(buffer, *got);
    }
    return ParseCountFile(bytes, path);
}

WordCounts AddCounts(WordCounts a, const WordCounts& b) {
    const bool filesA = a.words.empty() || !a.files.empty();
    const bool filesB = b.words.empty() || !b.files.empty();
    const bool keepFiles = filesA && filesB && !(a.files.empty() && b.files.empty());
    const auto offset = static_cast<std::uint32_t>(a.fileCount);
    WordCounts sum;
    sum.fileCount = a.fileCount + b.fileCount;
    sum.bytes = a.bytes + b.bytes;
    sum.badSequences = a.badSequences + b.badSequences;
    sum.words.reserve(std::max(a.words.size(), b.words.size()));
    std::vector<std::uint64_t> offsets{0};
    std::vector<std::uint32_t> files;
    const auto filesOf = [](const WordCounts& counts, std::size_t w) {
        return counts.files.empty() ? std::span<const std::uint32_t>() : counts.files.Of(w);
    };
    std::size_t i = 0, j = 0;
    while (i < a.words.size() || j < b.words.size()) {
        const bool takeA =
            j == b.words.size() || (i < a.words.size() && a.words[i].word <= b.words[j].word);
        const bool takeB =
            i == a.words.size() || (j < b.words.size() && b.words[j].word <= a.words[i].word);
        WordEntry entry = takeA ? std::move(a.words[i]) : b.words[j];
        if (takeA && takeB) entry.count += b.words[j].count;
        if (keepFiles) {
            if (takeA) {
                const auto of = filesOf(a, i);
                files.insert(files.end(), of.begin(), of.end());
            }
            if (takeB) {
                for (const std::uint32_t file : filesOf(b, j)) files.push_back(file + offset);
            }
            offsets.push_back(files.size());
        }
        sum.words.push_back(std::move(entry));
        i += takeA;
        j += takeB;
    }
    if (keepFiles) sum.files = WordFiles(std::move(offsets), std::move(files));
    return sum;
}

}  // namespace tavro
