// AnalysisModel: the analysis window's table, a Qt model over the analysis of
// the document's last run (report/run_analysis.h), which it reads and never
// changes; it lives no longer than that analysis.
//
// It shows one of the analysis's tables: the nouns (noun, count, sure count,
// per million, files), the words or the ambiguous words (word, count, per
// million, files, the nouns it credits). It holds nothing per row but the
// row's index into the analysis, in the order shown, so a million rows cost
// four megabytes and the view asks only for the rows in sight. The orders
// come from the engine (byte, frequency, Greek dictionary order), each worked
// out once per table and kept; the sure-count and file orders are the
// frequency order sorted again, stably, by that column. The filters keep the
// rows of at least a count and whose word holds the filter text, compared
// without regard to case, accents or final sigma.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "report/run_analysis.h"
#include "report/table_export.h"

namespace tavro {

// What the rows are put in order by.
enum class SortKey { kGreek, kBytes, kCount, kSureCount, kFiles };

class AnalysisModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit AnalysisModel(QObject* parent = nullptr);

    // Shows `analysis` (null: nothing); the order and filters stay.
    void SetAnalysis(const RunAnalysis* analysis);
    const RunAnalysis* Analysis() const { return m_analysis; }

    void SetKind(TableKind kind);
    TableKind Kind() const { return m_kind; }
    // The Greek and byte orders run from alpha up, the others from the highest
    // figure down; `reversed` turns the order round.
    void SetSortKey(SortKey key, bool reversed = false);
    SortKey Key() const { return m_key; }
    bool Reversed() const { return m_reversed; }
    void SetTextFilter(const QString& text);
    void SetMinCount(Count minCount);

    // The columns of the current table; what each shows.
    enum class Column { kWord, kCount, kSureCount, kPerMillion, kFiles, kNouns };
    Column ColumnAt(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A click on a header: the word column sorts in the alphabetical order last
    // chosen, the count and per-million columns by count, the others by their figure.
    void sort(int column, Qt::SortOrder order) override;

    // The rows shown, in order: indexes into the analysis's Nouns() (noun
    // table) or Words() (the others).
    const std::vector<std::uint32_t>& Rows() const { return m_rows; }
    // The rows of the table before the filters.
    std::size_t TableSize() const;
    // The cp1253 word of a shown row.
    const std::string& WordOf(int row) const;
    Count CountOf(int row) const;

    // The first `n` rows shown in frequency order (the chart's bars).
    std::vector<std::uint32_t> MostFrequent(std::size_t n);

    // The index into Words() of `word`, or -1 when the run has no such word.
    long long FindWord(const std::string& word) const;

  private:
    const std::vector<std::uint32_t>& Ordered(TableKind kind, SortKey key);
    bool Passes(std::uint32_t index) const;
    void Rebuild();
    QString NounsOf(const WordRow& row) const;

    const RunAnalysis* m_analysis = nullptr;
    TableKind m_kind = TableKind::kNouns;
    SortKey m_key = SortKey::kCount;
    SortKey m_alphabetical = SortKey::kGreek;
    bool m_reversed = false;
    std::string m_filter;  // folded, see FilterFold
    Count m_minCount = 1;
    std::map<std::pair<TableKind, SortKey>, std::vector<std::uint32_t>> m_orders;
    std::vector<std::uint32_t> m_rows;
};

// The byte a filter compares for a cp1253 byte: lower case, no accent, final
// sigma as sigma.
unsigned char FilterFold(unsigned char byte);

// Figures as the analysis window shows them: numbers with thousands separators,
// per million with two decimals.
QString FormatCount(long long value);
QString FormatPerMillion(double value);

}  // namespace tavro
