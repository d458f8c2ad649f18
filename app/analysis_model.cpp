#include "app/analysis_model.h"

#include <QApplication>
#include <QFont>
#include <QLocale>
#include <algorithm>

#include "app/greek_text.h"
#include "corpus/char_classes.h"
#include "lexicon/accent_restoring.h"

namespace tavro {
namespace {

constexpr unsigned char kFinalSigma = 0xF2;  // ς
constexpr unsigned char kSigma = 0xF3;       // σ

std::array<unsigned char, 256> MakeFilterFolds() {
    std::array<unsigned char, 256> folds{};
    for (int b = 0; b < 256; ++b) {
        const std::string lower(1, ToLowerGreek(static_cast<char>(b)));
        const std::string plain = WithoutAccents(lower);
        auto folded = static_cast<unsigned char>(plain.empty() ? lower[0] : plain[0]);
        if (folded == kFinalSigma) folded = kSigma;
        folds[static_cast<std::size_t>(b)] = folded;
    }
    return folds;
}

const std::array<unsigned char, 256>& FilterFolds() {
    static const std::array<unsigned char, 256> folds = MakeFilterFolds();
    return folds;
}

// Whether `word`, folded, holds `folded` (already folded).
bool HoldsFolded(const std::string& word, const std::string& folded) {
    if (folded.size() > word.size()) return false;
    const auto& folds = FilterFolds();
    const std::size_t last = word.size() - folded.size();
    for (std::size_t start = 0; start <= last; ++start) {
        std::size_t i = 0;
        while (i < folded.size() && folds[static_cast<unsigned char>(word[start + i])] ==
                                        static_cast<unsigned char>(folded[i])) {
            ++i;
        }
        if (i == folded.size()) return true;
    }
    return false;
}

}  // namespace

unsigned char FilterFold(unsigned char byte) { return FilterFolds()[byte]; }

QString FormatCount(long long value) { return QLocale(QLocale::English).toString(value); }

QString FormatPerMillion(double value) { return QLocale(QLocale::English).toString(value, 'f', 2); }

AnalysisModel::AnalysisModel(QObject* parent) : QAbstractTableModel(parent) {
    setObjectName(QStringLiteral("analysisModel"));
}

void AnalysisModel::SetAnalysis(const RunAnalysis* analysis) {
    m_analysis = analysis;
    m_orders.clear();
    Rebuild();
}

void AnalysisModel::SetKind(TableKind kind) {
    if (kind == m_kind) return;
    m_kind = kind;
    // The sure count is a column of the noun table only.
    if (m_kind != TableKind::kNouns && m_key == SortKey::kSureCount) m_key = SortKey::kCount;
    Rebuild();
}

void AnalysisModel::SetSortKey(SortKey key, bool reversed) {
    if (m_kind != TableKind::kNouns && key == SortKey::kSureCount) key = SortKey::kCount;
    if (key == SortKey::kGreek || key == SortKey::kBytes) m_alphabetical = key;
    if (key == m_key && reversed == m_reversed) return;
    m_key = key;
    m_reversed = reversed;
    Rebuild();
}

void AnalysisModel::SetTextFilter(const QString& text) {
    std::string folded = QStringToCp1253(text.trimmed());
    for (char& c : folded) c = static_cast<char>(FilterFold(static_cast<unsigned char>(c)));
    if (folded == m_filter) return;
    m_filter = std::move(folded);
    Rebuild();
}

void AnalysisModel::SetMinCount(Count minCount) {
    minCount = std::max<Count>(minCount, 1);
    if (minCount == m_minCount) return;
    m_minCount = minCount;
    Rebuild();
}

const std::vector<std::uint32_t>& AnalysisModel::Ordered(TableKind kind, SortKey key) {
    const auto found = m_orders.find({kind, key});
    if (found != m_orders.end()) return found->second;
    // The Greek order of a million words takes a moment the first time.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<std::uint32_t> order;
    switch (key) {
        case SortKey::kGreek:
            order = SelectRows(*m_analysis, kind, RowOrder::kGreek, {});
            break;
        case SortKey::kBytes:
            order = SelectRows(*m_analysis, kind, RowOrder::kBytes, {});
            break;
        case SortKey::kCount:
            order = SelectRows(*m_analysis, kind, RowOrder::kFrequency, {});
            break;
        case SortKey::kSureCount: {
            order = Ordered(kind, SortKey::kCount);
            const auto& nouns = m_analysis->Nouns();
            std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
                return nouns[a].sureCount > nouns[b].sureCount;
            });
            break;
        }
        case SortKey::kFiles: {
            order = Ordered(kind, SortKey::kCount);
            auto files = [&](std::uint32_t i) {
                const auto& f = kind == TableKind::kNouns ? m_analysis->Nouns()[i].files
                                                          : m_analysis->Words()[i].files;
                return f.value_or(0);
            };
            std::stable_sort(order.begin(), order.end(),
                             [&](std::uint32_t a, std::uint32_t b) { return files(a) > files(b); });
            break;
        }
    }
    QApplication::restoreOverrideCursor();
    return m_orders.emplace(std::make_pair(kind, key), std::move(order)).first->second;
}

bool AnalysisModel::Passes(std::uint32_t index) const {
    const bool noun = m_kind == TableKind::kNouns;
    const Count count = noun ? m_analysis->Nouns()[index].count : m_analysis->Words()[index].count;
    if (count < m_minCount) return false;
    if (m_filter.empty()) return true;
    return HoldsFolded(noun ? m_analysis->Nouns()[index].noun : m_analysis->Words()[index].word,
                       m_filter);
}

void AnalysisModel::Rebuild() {
    beginResetModel();
    m_rows.clear();
    if (m_analysis != nullptr) {
        const std::vector<std::uint32_t>& order = Ordered(m_kind, m_key);
        if (m_filter.empty() && m_minCount <= 1) {
            m_rows = order;
        } else {
            for (const std::uint32_t index : order) {
                if (Passes(index)) m_rows.push_back(index);
            }
        }
        if (m_reversed) std::reverse(m_rows.begin(), m_rows.end());
    }
    endResetModel();
}

std::vector<std::uint32_t> AnalysisModel::MostFrequent(std::size_t n) {
    std::vector<std::uint32_t> top;
    if (m_analysis == nullptr) return top;
    for (const std::uint32_t index : Ordered(m_kind, SortKey::kCount)) {
        if (top.size() >= n) break;
        if (Passes(index)) top.push_back(index);
    }
    return top;
}

std::size_t AnalysisModel::TableSize() const {
    if (m_analysis == nullptr) return 0;
    switch (m_kind) {
        case TableKind::kNouns:
            return m_analysis->Nouns().size();
        case TableKind::kAmbiguous:
            return m_analysis->Ambiguous().size();
        case TableKind::kWords:
            break;
    }
    std::size_t counted = 0;
    for (const WordRow& row : m_analysis->Words()) counted += row.count > 0 ? 1 : 0;
    return counted;
}

const std::string& AnalysisModel::WordOf(int row) const {
    const std::uint32_t index = m_rows[static_cast<std::size_t>(row)];
    return m_kind == TableKind::kNouns ? m_analysis->Nouns()[index].noun
                                       : m_analysis->Words()[index].word;
}

Count AnalysisModel::CountOf(int row) const {
    const std::uint32_t index = m_rows[static_cast<std::size_t>(row)];
    return m_kind == TableKind::kNouns ? m_analysis->Nouns()[index].count
                                       : m_analysis->Words()[index].count;
}

long long AnalysisModel::FindWord(const std::string& word) const {
    if (m_analysis == nullptr) return -1;
    const auto& words = m_analysis->Words();
    const auto found = std::lower_bound(
        words.begin(), words.end(), word,
        [](const WordRow& row, const std::string& w) { return CompareWords(row.word, w) < 0; });
    if (found == words.end() || found->word != word) return -1;
    return found - words.begin();
}

AnalysisModel::Column AnalysisModel::ColumnAt(int column) const {
    static constexpr Column kNounColumns[] = {Column::kWord, Column::kCount, Column::kSureCount,
                                              Column::kPerMillion, Column::kFiles};
    static constexpr Column kWordColumns[] = {Column::kWord, Column::kCount, Column::kPerMillion,
                                              Column::kFiles, Column::kNouns};
    return m_kind == TableKind::kNouns ? kNounColumns[column] : kWordColumns[column];
}

int AnalysisModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int AnalysisModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

QString AnalysisModel::NounsOf(const WordRow& row) const {
    QStringList nouns;
    for (const std::uint32_t noun : row.nouns)
        nouns.append(Cp1253ToQString(m_analysis->Nouns()[noun].noun));
    return nouns.join(QStringLiteral(", "));
}

QVariant AnalysisModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Column column = ColumnAt(index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool text = column == Column::kWord || column == Column::kNouns;
        return QVariant::fromValue(Qt::Alignment(text ? Qt::AlignLeft | Qt::AlignVCenter
                                                      : Qt::AlignRight | Qt::AlignVCenter));
    }
    const std::uint32_t i = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::FontRole || (role == Qt::ToolTipRole && column == Column::kWord)) {
        // A noun the run derived, which the lexicon lacks, stands out in italics.
        const bool derived = m_kind == TableKind::kNouns && column == Column::kWord &&
                             m_analysis->Nouns()[i].derived;
        if (!derived) return role == Qt::FontRole ? QVariant() : data(index, Qt::DisplayRole);
        if (role == Qt::ToolTipRole) {
            return QStringLiteral("%1: not in the lexicon, made from its prefix or suffix")
                .arg(Cp1253ToQString(m_analysis->Nouns()[i].noun));
        }
        QFont font;
        font.setItalic(true);
        return font;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    if (m_kind == TableKind::kNouns) {
        const NounRow& row = m_analysis->Nouns()[i];
        switch (column) {
            case Column::kWord:
                return Cp1253ToQString(row.noun);
            case Column::kCount:
                return FormatCount(row.count);
            case Column::kSureCount:
                return FormatCount(row.sureCount);
            case Column::kPerMillion:
                return FormatPerMillion(row.perMillion);
            case Column::kFiles:
                return row.files ? FormatCount(*row.files) : QStringLiteral("–");
            case Column::kNouns:
                return {};
        }
    }
    const WordRow& row = m_analysis->Words()[i];
    switch (column) {
        case Column::kWord:
            return Cp1253ToQString(row.word);
        case Column::kCount:
            return FormatCount(row.count);
        case Column::kPerMillion:
            return FormatPerMillion(row.perMillion);
        case Column::kFiles:
            return row.files ? FormatCount(*row.files) : QStringLiteral("–");
        case Column::kNouns:
            return NounsOf(row);
        case Column::kSureCount:
            return {};
    }
    return {};
}

QVariant AnalysisModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Vertical) return section + 1;
    switch (ColumnAt(section)) {
        case Column::kWord:
            return m_kind == TableKind::kNouns ? QStringLiteral("Noun") : QStringLiteral("Word");
        case Column::kCount:
            return QStringLiteral("Count");
        case Column::kSureCount:
            return QStringLiteral("Sure count");
        case Column::kPerMillion:
            return QStringLiteral("Per million");
        case Column::kFiles:
            return QStringLiteral("Files");
        case Column::kNouns:
            return QStringLiteral("Nouns it credits");
    }
    return {};
}

void AnalysisModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) return;
    const bool ascending = order == Qt::AscendingOrder;
    switch (ColumnAt(column)) {
        case Column::kWord:
            SetSortKey(m_alphabetical, !ascending);
            break;
        case Column::kCount:
        case Column::kPerMillion:
        case Column::kNouns:
            SetSortKey(SortKey::kCount, ascending);
            break;
        case Column::kSureCount:
            SetSortKey(SortKey::kSureCount, ascending);
            break;
        case Column::kFiles:
            SetSortKey(SortKey::kFiles, ascending);
            break;
    }
}

}  // namespace tavro
