// The tables of a run's analysis in the forms a person takes them away in.
//
// A table is the noun rows, the word rows or the ambiguous words of a
// RunAnalysis, filtered and ordered (SelectRows), written as:
// - text: the report's lines ("word count", LF), in cp1253; with forms, each
//   noun's line is followed by one "  form count" line per form (two spaces).
//   The nouns in byte order without forms or filters are exactly the report.
//   Ambiguous words: "word count noun noun...", the nouns in byte order.
// - tsv: UTF-8, a header row, then one row per entry, fields cut by a tab, lines
//   by LF; no field holds a tab or a line end (words never do).
// - csv: UTF-8 with a byte-order mark (so that spreadsheets read it as UTF-8),
//   per RFC 4180: CRLF line ends, a field quoted when it holds a comma, a quote
//   or a line end, quotes doubled inside.
// - json: UTF-8, one object (RFC 8259): "table", "rows" (objects), "statistics".
// Columns of the noun table: rank, noun, count, sure count, per million, files
// (when counted), forms (when asked: "form count; form count"). Of the word
// table: rank, word, count, per million, files, nouns ("noun; noun"). Of the
// ambiguous words: rank, word, count, per million, files, nouns. Ranks count
// from 1 in the order written; per million has two decimals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/run_analysis.h"

namespace tavro {

enum class TableKind { kNouns, kWords, kAmbiguous };
enum class TableFormat { kText, kTsv, kCsv, kJson };
// Byte order (the report's), higher counts first (ties in byte order), or
// Greek dictionary order (greek_order.h).
enum class RowOrder { kBytes, kFrequency, kGreek };

struct RowFilter {
    Count minCount = 1;   // rows of a lower count are left out (zero counts always are)
    std::size_t top = 0;  // when not 0: only the `top` most frequent rows (ties in byte order)
};

struct TableRequest {
    TableKind kind = TableKind::kNouns;
    TableFormat format = TableFormat::kText;
    RowOrder order = RowOrder::kBytes;
    RowFilter filter;
    bool forms = false;  // the forms of each noun (noun table only)
};

// The rows of the table `kind` that pass `filter`, in `order`: indexes into
// Nouns() or Words() (for kAmbiguous, into Words() as well).
std::vector<std::uint32_t> SelectRows(const RunAnalysis& analysis, TableKind kind, RowOrder order,
                                      const RowFilter& filter);

// The table as bytes: cp1253 for text, UTF-8 for the others.
std::string WriteTable(const RunAnalysis& analysis, const TableRequest& request);

// The table of `request` (its kind, format and forms) with exactly `rows`, in
// their order (indexes as SelectRows gives them; its order and filter are not
// looked at): what a caller that chose and ordered the rows itself writes.
std::string WriteRows(const RunAnalysis& analysis, const TableRequest& request,
                      const std::vector<std::uint32_t>& rows);

// The figures of a run: text is FormatStats; tsv and csv a "figure, value"
// header and one row per figure by its JSON name, a figure the run has not got
// left empty; json an object whose "statistics" is the JSON output's section.
std::string WriteStats(const CorpusStats& stats, TableFormat format);

// A field as CSV writes it (RFC 4180): quoted when it holds a comma, a quote, a
// CR or an LF, with each quote doubled.
std::string CsvField(std::string_view field);
// UTF-8 text as a JSON string (RFC 8259): quote, backslash and control
// characters escaped; everything else as it is.
std::string JsonString(std::string_view utf8);

// "text", "tsv", "csv", "json"; nothing for another name. Likewise the orders
// "bytes", "frequency", "greek".
std::optional<TableFormat> ParseTableFormat(std::string_view name);
std::optional<RowOrder> ParseRowOrder(std::string_view name);

}  // namespace tavro
