#include "report/table_export.h"

namespace tavro {

std::vector<std::uint32_t> SelectRows(const RunAnalysis&, TableKind, RowOrder, const RowFilter&) {
    return {};
}

std::string WriteTable(const RunAnalysis&, const TableRequest&) { return {}; }

std::optional<TableFormat> ParseTableFormat(std::string_view) { return std::nullopt; }
std::optional<RowOrder> ParseRowOrder(std::string_view) { return std::nullopt; }

}  // namespace tavro
