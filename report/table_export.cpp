#include "report/table_export.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <numeric>

#include "platform/text_encoding.h"
#include "report/greek_order.h"

namespace tavro {
namespace {

const std::string& NameOf(const RunAnalysis& analysis, TableKind kind, std::uint32_t row) {
    return kind == TableKind::kNouns ? analysis.Nouns()[row].noun : analysis.Words()[row].word;
}

Count CountOf(const RunAnalysis& analysis, TableKind kind, std::uint32_t row) {
    return kind == TableKind::kNouns ? analysis.Nouns()[row].count : analysis.Words()[row].count;
}

std::string Number(Count value) {
    char digits[24];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Utf8(std::string_view cp1253) { return EncodeCp1253(cp1253, TextEncoding::kUtf8); }

// One table as rows of fields (UTF-8), the header row first.
std::vector<std::vector<std::string>> Cells(const RunAnalysis& analysis,
                                            const TableRequest& request,
                                            const std::vector<std::uint32_t>& rows) {
    const bool nouns = request.kind == TableKind::kNouns;
    const bool files = analysis.HasFiles();
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> header = {"rank", nouns ? "noun" : "word", "count"};
    if (nouns) header.push_back("sure count");
    header.push_back("per million");
    if (files) header.push_back("files");
    if (nouns && request.forms) header.push_back("forms");
    if (!nouns) header.push_back("nouns");
    cells.push_back(std::move(header));
    std::size_t rank = 0;
    for (const std::uint32_t row : rows) {
        std::vector<std::string> line = {Number(static_cast<Count>(++rank))};
        if (nouns) {
            const NounRow& noun = analysis.Nouns()[row];
            line.push_back(Utf8(noun.noun));
            line.push_back(Number(noun.count));
            line.push_back(Number(noun.sureCount));
            line.push_back(Fixed(noun.perMillion, 2));
            if (files) line.push_back(Number(noun.files.value_or(0)));
            if (request.forms) {
                std::string forms;
                for (const FormCount& form : noun.forms) {
                    if (!forms.empty()) forms += "; ";
                    forms.append(Utf8(form.word)).append(" ").append(Number(form.count));
                }
                line.push_back(std::move(forms));
            }
        } else {
            const WordRow& word = analysis.Words()[row];
            line.push_back(Utf8(word.word));
            line.push_back(Number(word.count));
            line.push_back(Fixed(word.perMillion, 2));
            if (files) line.push_back(Number(word.files.value_or(0)));
            std::string credited;
            for (const std::uint32_t noun : word.nouns) {
                if (!credited.empty()) credited += "; ";
                credited += Utf8(analysis.Nouns()[noun].noun);
            }
            line.push_back(std::move(credited));
        }
        cells.push_back(std::move(line));
    }
    return cells;
}

std::string Tsv(const std::vector<std::vector<std::string>>& cells) {
    std::string out;
    for (const std::vector<std::string>& line : cells) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i != 0) out += '\t';
            out += line[i];
        }
        out += '\n';
    }
    return out;
}

}  // namespace

std::string CsvField(std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return std::string(field);
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

namespace {

std::string Csv(const std::vector<std::vector<std::string>>& cells) {
    std::string out = "\xEF\xBB\xBF";
    for (const std::vector<std::string>& line : cells) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i != 0) out += ',';
            out += CsvField(line[i]);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

namespace {

// The figures by their names in the JSON and tabular outputs, in order; a
// figure the run has not got (the STTR) is "null".
std::vector<std::pair<const char*, std::string>> StatFields(const CorpusStats& stats) {
    const auto whole = [](std::uint64_t value) { return Number(static_cast<Count>(value)); };
    return {
        {"files", whole(stats.files)},
        {"bytes", whole(stats.bytes)},
        {"tokens", whole(stats.tokens)},
        {"types", whole(stats.types)},
        {"type_token_ratio", Fixed(stats.typeTokenRatio, 6)},
        {"sttr", stats.sttr ? Fixed(*stats.sttr, 6) : std::string("null")},
        {"sttr_windows", whole(stats.sttrWindows)},
        {"sttr_window_tokens", Number(kWindowTokens)},
        {"noun_tokens", whole(stats.nounTokens)},
        {"noun_types", whole(stats.nounTypes)},
        {"noun_token_share", Fixed(stats.nounTokenShare, 6)},
        {"nouns_credited", whole(stats.nounsCredited)},
        {"ambiguous_words", whole(stats.ambiguousWords)},
        {"ambiguous_tokens", whole(stats.ambiguousTokens)},
        {"bad_sequences", whole(stats.badSequences)},
        {"nouns_derived", stats.derivedNouns ? whole(*stats.derivedNouns) : std::string("null")},
        {"derived_noun_tokens",
         stats.derivedNouns ? whole(stats.derivedTokens) : std::string("null")},
    };
}

std::string JsonStats(const CorpusStats& stats) {
    std::string out = "{";
    for (const auto& [name, value] : StatFields(stats)) {
        if (out.size() > 1) out += ", ";
        out.append(JsonString(name)).append(": ").append(value);
    }
    return out + "}";
}

std::string Json(const RunAnalysis& analysis, const TableRequest& request,
                 const std::vector<std::uint32_t>& rows) {
    static const char* const kKinds[] = {"nouns", "words", "ambiguous"};
    std::string out = "{\n  \"table\": ";
    out.append(JsonString(kKinds[static_cast<int>(request.kind)])).append(",\n  \"rows\": [");
    std::size_t rank = 0;
    for (const std::uint32_t row : rows) {
        out.append(rank == 0 ? "\n    {" : ",\n    {");
        out.append("\"rank\": ").append(Number(static_cast<Count>(++rank)));
        const auto files = [&](const std::optional<std::uint32_t>& inFiles) {
            if (inFiles) out.append(", \"files\": ").append(Number(*inFiles));
        };
        if (request.kind == TableKind::kNouns) {
            const NounRow& noun = analysis.Nouns()[row];
            out.append(", \"noun\": ").append(JsonString(Utf8(noun.noun)));
            out.append(", \"count\": ").append(Number(noun.count));
            out.append(", \"sure_count\": ").append(Number(noun.sureCount));
            out.append(", \"per_million\": ").append(Fixed(noun.perMillion, 2));
            files(noun.files);
            if (noun.derived) out.append(", \"derived\": true");
            if (request.forms) {
                out.append(", \"forms\": [");
                for (std::size_t f = 0; f < noun.forms.size(); ++f) {
                    if (f != 0) out += ", ";
                    out.append("{\"form\": ").append(JsonString(Utf8(noun.forms[f].word)));
                    out.append(", \"count\": ").append(Number(noun.forms[f].count)).append("}");
                }
                out += ']';
            }
        } else {
            const WordRow& word = analysis.Words()[row];
            out.append(", \"word\": ").append(JsonString(Utf8(word.word)));
            out.append(", \"count\": ").append(Number(word.count));
            out.append(", \"per_million\": ").append(Fixed(word.perMillion, 2));
            files(word.files);
            out.append(", \"nouns\": [");
            for (std::size_t n = 0; n < word.nouns.size(); ++n) {
                if (n != 0) out += ", ";
                out += JsonString(Utf8(analysis.Nouns()[word.nouns[n]].noun));
            }
            out += ']';
        }
        out += '}';
    }
    out.append(rank == 0 ? "],\n" : "\n  ],\n");
    out.append("  \"statistics\": ").append(JsonStats(analysis.Stats())).append("\n}\n");
    return out;
}

std::string Text(const RunAnalysis& analysis, const TableRequest& request,
                 const std::vector<std::uint32_t>& rows) {
    std::string out;
    for (const std::uint32_t row : rows) {
        if (request.kind == TableKind::kNouns) {
            const NounRow& noun = analysis.Nouns()[row];
            out.append(noun.noun).append(" ").append(Number(noun.count)).append("\n");
            if (!request.forms) continue;
            for (const FormCount& form : noun.forms) {
                out.append("  ").append(form.word).append(" ").append(Number(form.count));
                out += '\n';
            }
        } else {
            const WordRow& word = analysis.Words()[row];
            out.append(word.word).append(" ").append(Number(word.count));
            if (request.kind == TableKind::kAmbiguous) {
                for (const std::uint32_t noun : word.nouns) {
                    out.append(" ").append(analysis.Nouns()[noun].noun);
                }
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace

std::vector<std::uint32_t> SelectRows(const RunAnalysis& analysis, TableKind kind, RowOrder order,
                                      const RowFilter& filter) {
    std::vector<std::uint32_t> rows;
    const Count minCount = std::max<Count>(filter.minCount, 1);
    if (kind == TableKind::kAmbiguous) {
        for (const std::uint32_t w : analysis.Ambiguous()) {
            if (analysis.Words()[w].count >= minCount) rows.push_back(w);
        }
    } else {
        const std::size_t size =
            kind == TableKind::kNouns ? analysis.Nouns().size() : analysis.Words().size();
        for (std::uint32_t r = 0; r < size; ++r) {
            if (CountOf(analysis, kind, r) >= minCount) rows.push_back(r);
        }
    }
    const auto byFrequency = [&](std::uint32_t a, std::uint32_t b) {
        return CountOf(analysis, kind, a) > CountOf(analysis, kind, b);
    };
    // Rows are in byte order here; the stable sorts keep it among equal counts.
    if (filter.top != 0 && rows.size() > filter.top) {
        std::stable_sort(rows.begin(), rows.end(), byFrequency);
        rows.resize(filter.top);
        if (order != RowOrder::kFrequency) std::sort(rows.begin(), rows.end());
    }
    const TableKind nameKind = kind == TableKind::kNouns ? kind : TableKind::kWords;
    switch (order) {
        case RowOrder::kBytes:
            break;
        case RowOrder::kFrequency:
            std::stable_sort(rows.begin(), rows.end(), byFrequency);
            break;
        case RowOrder::kGreek: {
            std::vector<std::string_view> names;
            names.reserve(rows.size());
            for (const std::uint32_t row : rows) names.push_back(NameOf(analysis, nameKind, row));
            std::vector<std::uint32_t> ordered;
            ordered.reserve(rows.size());
            for (const std::uint32_t i : GreekOrder(names)) ordered.push_back(rows[i]);
            rows = std::move(ordered);
            break;
        }
    }
    return rows;
}

std::string WriteTable(const RunAnalysis& analysis, const TableRequest& request) {
    return WriteRows(analysis, request,
                     SelectRows(analysis, request.kind, request.order, request.filter));
}

std::string WriteRows(const RunAnalysis& analysis, const TableRequest& request,
                      const std::vector<std::uint32_t>& rows) {
    switch (request.format) {
        case TableFormat::kText:
            return Text(analysis, request, rows);
        case TableFormat::kTsv:
            return Tsv(Cells(analysis, request, rows));
        case TableFormat::kCsv:
            return Csv(Cells(analysis, request, rows));
        case TableFormat::kJson:
            return Json(analysis, request, rows);
    }
    return {};
}

std::string WriteStats(const CorpusStats& stats, TableFormat format) {
    if (format == TableFormat::kText) return FormatStats(stats);
    if (format == TableFormat::kJson) return "{\n  \"statistics\": " + JsonStats(stats) + "\n}\n";
    std::vector<std::vector<std::string>> cells = {{"figure", "value"}};
    for (auto& [name, value] : StatFields(stats)) {
        // A figure the run has not got is an empty field in a table.
        cells.push_back({name, value == "null" ? std::string() : std::move(value)});
    }
    return format == TableFormat::kCsv ? Csv(cells) : Tsv(cells);
}

std::optional<TableFormat> ParseTableFormat(std::string_view name) {
    if (name == "text") return TableFormat::kText;
    if (name == "tsv") return TableFormat::kTsv;
    if (name == "csv") return TableFormat::kCsv;
    if (name == "json") return TableFormat::kJson;
    return std::nullopt;
}

std::optional<RowOrder> ParseRowOrder(std::string_view name) {
    if (name == "bytes") return RowOrder::kBytes;
    if (name == "frequency") return RowOrder::kFrequency;
    if (name == "greek") return RowOrder::kGreek;
    return std::nullopt;
}

}  // namespace tavro
