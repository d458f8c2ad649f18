#include "app/analysis_view.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <limits>
#include <new>

#include "app/greek_text.h"
#include "app/native_path.h"
#include "app/noun_chart.h"
#include "platform/save_file.h"

namespace tavro {
namespace {

constexpr int kFilterDelayMs = 150;

struct KindItem {
    const char* text;
    TableKind kind;
};
constexpr KindItem kKinds[] = {
    {"Nouns", TableKind::kNouns},
    {"All words", TableKind::kWords},
    {"Ambiguous words", TableKind::kAmbiguous},
};

struct OrderItem {
    const char* text;
    SortKey key;
};
constexpr OrderItem kOrders[] = {
    {"Frequency", SortKey::kCount},  {"Greek dictionary order", SortKey::kGreek},
    {"Byte order", SortKey::kBytes}, {"Sure count", SortKey::kSureCount},
    {"Files", SortKey::kFiles},
};

// The statistics pane's values: objectName and label.
struct StatItem {
    const char* name;
    const char* label;
};
constexpr StatItem kStats[] = {
    {"statFiles", "Files:"},
    {"statBytes", "Bytes:"},
    {"statTokens", "Tokens:"},
    {"statTypes", "Types:"},
    {"statTtr", "Type/token ratio:"},
    {"statSttr", "STTR (1,000 tokens):"},
    {"statNounsCredited", "Nouns credited:"},
    {"statShareCredited", "Tokens credited:"},
    {"statAmbiguous", "Ambiguous words:"},
    {"statDerived", "Nouns derived:"},
};

QString Ratio(double value) { return QString::number(value, 'f', 4); }

// The wait cursor while the analysis is built.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

CAnalysisView::CAnalysisView(CTavroDoc& doc, FileSystem& files, const ShellHooks& hooks,
                             QWidget* parent)
    : QWidget(parent),
      m_doc(doc),
      m_files(files),
      m_hooks(hooks),
      m_model(new AnalysisModel(this)) {
    setObjectName(QStringLiteral("CAnalysisView"));

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("analysisTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSortingEnabled(true);
    // Turning sorting on sorts by the header's first column: the view opens by frequency.
    m_model->SetSortKey(SortKey::kCount);
    m_table->setWordWrap(false);
    m_table->setAlternatingRowColors(true);
    // Fixed row heights: the view never measures a million rows.
    QHeaderView* rows = m_table->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    rows->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QHeaderView* columns = m_table->horizontalHeader();
    columns->setSortIndicatorShown(true);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(true);
    columns->setDefaultSectionSize(m_table->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 11);
    m_table->setColumnWidth(0, m_table->fontMetrics().horizontalAdvance(QLatin1Char('m')) * 14);

    m_detailsTitle = new QLabel(this);
    m_detailsTitle->setObjectName(QStringLiteral("analysisDetailsTitle"));
    m_detailsTitle->setWordWrap(true);
    m_details = new QTreeWidget(this);
    m_details->setObjectName(QStringLiteral("analysisDetails"));
    m_details->setRootIsDecorated(false);
    m_details->setAlternatingRowColors(true);
    m_details->setUniformRowHeights(true);
    auto* detailsPane = new QWidget(this);
    auto* detailsLayout = new QVBoxLayout(detailsPane);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->addWidget(m_detailsTitle);
    detailsLayout->addWidget(m_details, 1);

    m_chart = new NounChart(this);
    m_chart->choosePngName = [this](const QString& startName) {
        return m_hooks.chooseExportName(this, QStringLiteral("Export Chart"),
                                        QDir::current().filePath(startName),
                                        QStringLiteral("PNG image (*.png)"));
    };
    m_chart->showProblem = [this](const QString& text) { m_hooks.showMessage(this, text); };
    m_chart->setMinimumHeight(240);
    connect(m_chart, &NounChart::topCountChanged, this, &CAnalysisView::ShowChart);

    // The table and the forms of its selected row above; the statistics and
    // the chart below.
    auto* upper = new QSplitter(Qt::Horizontal, this);
    upper->setObjectName(QStringLiteral("analysisSplitter"));
    upper->addWidget(m_table);
    upper->addWidget(detailsPane);
    upper->setSizes({620, 380});
    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->setObjectName(QStringLiteral("analysisLowerSplitter"));
    lower->addWidget(CreateStatistics());
    lower->addWidget(m_chart);
    lower->setSizes({270, 730});
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(QStringLiteral("analysisChartSplitter"));
    split->addWidget(upper);
    split->addWidget(lower);
    split->setSizes({500, 420});
    split->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(CreateControls());
    layout->addWidget(split, 1);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CAnalysisView::ShowDetails);
    connect(columns, &QHeaderView::sortIndicatorChanged, this, [this] {
        // The model sorted itself; the Order choice follows it.
        const QSignalBlocker block(m_order);
        for (int i = 0; i < m_order->count(); ++i) {
            if (static_cast<SortKey>(m_order->itemData(i).toInt()) == m_model->Key())
                m_order->setCurrentIndex(i);
        }
        AfterRowsChanged();
    });
    ShowSortIndicator();
    AfterRowsChanged();
}

QWidget* CAnalysisView::CreateControls() {
    auto* bar = new QWidget(this);
    m_content = new QComboBox(bar);
    m_content->setObjectName(QStringLiteral("analysisContent"));
    for (const KindItem& item : kKinds)
        m_content->addItem(QString::fromLatin1(item.text), static_cast<int>(item.kind));
    m_order = new QComboBox(bar);
    m_order->setObjectName(QStringLiteral("analysisOrder"));
    for (const OrderItem& item : kOrders)
        m_order->addItem(QString::fromLatin1(item.text), static_cast<int>(item.key));
    m_filter = new QLineEdit(bar);
    m_filter->setObjectName(QStringLiteral("analysisFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Words that contain..."));
    m_filter->setClearButtonEnabled(true);
    m_filter->setToolTip(QStringLiteral(
        "Shows the rows whose word holds this text (case and accents do not matter)"));
    m_minCount = new QSpinBox(bar);
    m_minCount->setObjectName(QStringLiteral("analysisMinCount"));
    m_minCount->setRange(1, std::numeric_limits<int>::max());
    m_minCount->setToolTip(QStringLiteral("Shows the rows of at least this count"));
    m_rowCount = new QLabel(bar);
    m_rowCount->setObjectName(QStringLiteral("analysisRowCount"));
    m_filterTimer = new QTimer(this);
    m_filterTimer->setSingleShot(true);
    m_filterTimer->setInterval(kFilterDelayMs);

    auto label = [bar](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, bar);
        l->setBuddy(buddy);
        return l;
    };
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label(QStringLiteral("&Show:"), m_content));
    layout->addWidget(m_content);
    layout->addWidget(label(QStringLiteral("O&rder:"), m_order));
    layout->addWidget(m_order);
    layout->addWidget(label(QStringLiteral("F&ilter:"), m_filter));
    layout->addWidget(m_filter, 1);
    layout->addWidget(label(QStringLiteral("&Least count:"), m_minCount));
    layout->addWidget(m_minCount);
    layout->addWidget(m_rowCount);

    connect(m_content, &QComboBox::currentIndexChanged, this, &CAnalysisView::ApplyKind);
    connect(m_order, &QComboBox::currentIndexChanged, this, &CAnalysisView::ApplyOrder);
    connect(m_filter, &QLineEdit::textChanged, m_filterTimer, qOverload<>(&QTimer::start));
    connect(m_filterTimer, &QTimer::timeout, this, [this] {
        m_model->SetTextFilter(m_filter->text());
        AfterRowsChanged();
    });
    connect(m_minCount, &QSpinBox::valueChanged, this, [this](int value) {
        m_model->SetMinCount(value);
        AfterRowsChanged();
    });
    return bar;
}

QWidget* CAnalysisView::CreateStatistics() {
    auto* box = new QGroupBox(QStringLiteral("Statistics"), this);
    box->setObjectName(QStringLiteral("analysisStatistics"));
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignLeft);
    for (const StatItem& item : kStats) {
        auto* value = new QLabel(box);
        value->setObjectName(QString::fromLatin1(item.name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(QString::fromLatin1(item.label), value);
    }
    m_statistics = box;
    return box;
}

void CAnalysisView::OnRunStarting() {
    m_stale = true;
    m_model->SetAnalysis(nullptr);
    ShowStatistics();
    AfterRowsChanged();
}

void CAnalysisView::OnRunChanged() {
    m_stale = true;
    if (isVisible()) Refresh();
}

void CAnalysisView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // After the window is on screen, so that switching to the view answers at once.
    if (m_stale) QTimer::singleShot(0, this, &CAnalysisView::Refresh);
}

void CAnalysisView::Refresh() {
    if (!m_stale) return;
    m_stale = false;
    const WaitCursor wait;
    const RunAnalysis* analysis = nullptr;
    try {
        analysis = m_doc.Analysis();
    } catch (const std::bad_alloc&) {
        m_hooks.showMessage(this, QStringLiteral("There is not enough memory to analyse the run."));
    }
    m_model->SetAnalysis(analysis);
    ShowStatistics();
    AfterRowsChanged();
}

void CAnalysisView::ApplyKind() {
    m_model->SetKind(static_cast<TableKind>(m_content->currentData().toInt()));
    ShowSortIndicator();
    AfterRowsChanged();
}

void CAnalysisView::ApplyOrder() {
    m_model->SetSortKey(static_cast<SortKey>(m_order->currentData().toInt()));
    ShowSortIndicator();
    AfterRowsChanged();
}

void CAnalysisView::ShowSortIndicator() {
    // The header shows the model's order; it must not sort again for it.
    int column = -1;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const AnalysisModel::Column shown = m_model->ColumnAt(c);
        switch (m_model->Key()) {
            case SortKey::kGreek:
            case SortKey::kBytes:
                if (shown == AnalysisModel::Column::kWord) column = c;
                break;
            case SortKey::kCount:
                if (shown == AnalysisModel::Column::kCount) column = c;
                break;
            case SortKey::kSureCount:
                if (shown == AnalysisModel::Column::kSureCount) column = c;
                break;
            case SortKey::kFiles:
                if (shown == AnalysisModel::Column::kFiles) column = c;
                break;
        }
    }
    const bool alphabetical =
        m_model->Key() == SortKey::kGreek || m_model->Key() == SortKey::kBytes;
    const Qt::SortOrder order =
        alphabetical == m_model->Reversed() ? Qt::DescendingOrder : Qt::AscendingOrder;
    QHeaderView* header = m_table->horizontalHeader();
    const QSignalBlocker block(header);
    header->setSortIndicator(column, order);
    header->viewport()->update();
}

void CAnalysisView::AfterRowsChanged() {
    ShowRowCount();
    ShowDetails();
    ShowChart();
}

void CAnalysisView::ShowRowCount() {
    static const char* const kNames[] = {"nouns", "words", "ambiguous words"};
    const char* name = kNames[static_cast<int>(m_model->Kind())];
    m_rowCount->setText(QStringLiteral("%1 of %2 %3")
                            .arg(FormatCount(static_cast<long long>(m_model->Rows().size())),
                                 FormatCount(static_cast<long long>(m_model->TableSize())),
                                 QString::fromLatin1(name)));
}

void CAnalysisView::ShowDetails() {
    m_details->clear();
    const RunAnalysis* analysis = m_model->Analysis();
    const int row = m_table->currentIndex().row();
    const bool nouns = m_model->Kind() == TableKind::kNouns;
    m_details->setHeaderLabels(nouns ? QStringList{QStringLiteral("Form"), QStringLiteral("Count"),
                                                   QStringLiteral("Also credits")}
                                     : QStringList{QStringLiteral("Noun"), QStringLiteral("Count"),
                                                   QStringLiteral("Sure count")});
    if (analysis == nullptr || row < 0 || row >= m_model->rowCount()) {
        m_detailsTitle->setText(analysis == nullptr
                                    ? QStringLiteral("No run has been made yet.")
                                    : QStringLiteral("Select a row to see what makes its count."));
        return;
    }
    const std::uint32_t index = m_model->Rows()[static_cast<std::size_t>(row)];
    auto numberItem = [](QTreeWidgetItem* item, int column, long long value) {
        item->setText(column, FormatCount(value));
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    };
    if (nouns) {
        const NounRow& noun = analysis->Nouns()[index];
        m_detailsTitle->setText(QStringLiteral("Forms of %1 (%2):")
                                    .arg(Cp1253ToQString(noun.noun))
                                    .arg(noun.forms.size()));
        for (const FormCount& form : noun.forms) {
            auto* item = new QTreeWidgetItem(m_details);
            item->setText(0, Cp1253ToQString(form.word));
            numberItem(item, 1, form.count);
            QStringList others;
            const long long word = m_model->FindWord(form.word);
            if (word >= 0) {
                for (const std::uint32_t other :
                     analysis->Words()[static_cast<std::size_t>(word)].nouns) {
                    if (other != index)
                        others.append(Cp1253ToQString(analysis->Nouns()[other].noun));
                }
            }
            item->setText(2, others.join(QStringLiteral(", ")));
        }
    } else {
        const WordRow& word = analysis->Words()[index];
        m_detailsTitle->setText(
            word.nouns.empty()
                ? QStringLiteral("%1 credits no noun.").arg(Cp1253ToQString(word.word))
                : QStringLiteral("Nouns that %1 credits (%2):")
                      .arg(Cp1253ToQString(word.word))
                      .arg(word.nouns.size()));
        for (const std::uint32_t n : word.nouns) {
            const NounRow& noun = analysis->Nouns()[n];
            auto* item = new QTreeWidgetItem(m_details);
            item->setText(0, Cp1253ToQString(noun.noun));
            numberItem(item, 1, noun.count);
            numberItem(item, 2, noun.sureCount);
        }
    }
    m_details->resizeColumnToContents(0);
    m_details->resizeColumnToContents(1);
}

void CAnalysisView::ShowStatistics() {
    const RunAnalysis* analysis = m_model->Analysis();
    const auto set = [this](const char* name, const QString& text) {
        if (auto* label = m_statistics->findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(text);
    };
    if (analysis == nullptr) {
        for (const StatItem& item : kStats) set(item.name, QStringLiteral("–"));
        return;
    }
    const CorpusStats& stats = analysis->Stats();
    const auto whole = [](std::uint64_t value) {
        return FormatCount(static_cast<long long>(value));
    };
    const auto counted = [&whole](std::uint64_t value, const char* one, const char* many) {
        return whole(value) + QLatin1Char(' ') + QLatin1String(value == 1 ? one : many);
    };
    set("statFiles", whole(stats.files));
    set("statBytes", whole(stats.bytes));
    set("statTokens", whole(stats.tokens));
    set("statTypes", whole(stats.types));
    set("statTtr", Ratio(stats.typeTokenRatio));
    set("statSttr", stats.sttr
                        ? QStringLiteral("%1 (%2)").arg(
                              Ratio(*stats.sttr), counted(stats.sttrWindows, "window", "windows"))
                        : QStringLiteral("– (under 1,000 tokens)"));
    set("statNounsCredited", whole(stats.nounsCredited));
    set("statShareCredited", QStringLiteral("%1 (%2%)")
                                 .arg(whole(stats.nounTokens))
                                 .arg(QString::number(100 * stats.nounTokenShare, 'f', 1)));
    set("statAmbiguous",
        QStringLiteral("%1 (%2)").arg(whole(stats.ambiguousWords),
                                      counted(stats.ambiguousTokens, "token", "tokens")));
    set("statDerived", stats.derivedNouns ? QStringLiteral("%1 (%2)").arg(
                                                whole(*stats.derivedNouns),
                                                counted(stats.derivedTokens, "token", "tokens"))
                                          : QStringLiteral("– (Tools > Derive Nouns is off)"));
}

void CAnalysisView::ShowChart() {
    static const char* const kNames[] = {"nouns", "words", "ambiguous words"};
    std::vector<ChartBar> bars;
    const RunAnalysis* analysis = m_model->Analysis();
    const auto top = m_model->MostFrequent(static_cast<std::size_t>(m_chart->TopCount()));
    for (const std::uint32_t index : top) {
        if (m_model->Kind() == TableKind::kNouns) {
            const NounRow& row = analysis->Nouns()[index];
            bars.push_back({Cp1253ToQString(row.noun), row.count});
        } else {
            const WordRow& row = analysis->Words()[index];
            bars.push_back({Cp1253ToQString(row.word), row.count});
        }
    }
    const QString title =
        bars.empty() ? QString()
                     : QStringLiteral("The %1 most frequent %2")
                           .arg(bars.size())
                           .arg(QString::fromLatin1(kNames[static_cast<int>(m_model->Kind())]));
    m_chart->SetBars(bars, title);
}

QString CAnalysisView::StatText(const QString& name) const {
    const auto* label = m_statistics->findChild<QLabel*>(name);
    return label == nullptr ? QString() : label->text();
}

bool CAnalysisView::HasSelection() const {
    return m_table->selectionModel() != nullptr && m_table->selectionModel()->hasSelection();
}

QString CAnalysisView::SelectedRowsText() const {
    QString text;
    if (!HasSelection()) return text;
    QModelIndexList selected = m_table->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : selected) {
        QStringList cells;
        for (int c = 0; c < m_model->columnCount(); ++c)
            cells.append(m_model->index(index.row(), c).data().toString());
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

std::string CAnalysisView::ExportBytes(const ExportChoice& choice) const {
    const RunAnalysis* analysis = m_model->Analysis();
    if (analysis == nullptr) return {};
    if (choice.statistics) return WriteStats(analysis->Stats(), choice.format);
    TableRequest request;
    request.kind = m_model->Kind();
    request.format = choice.format;
    request.forms = choice.forms && request.kind == TableKind::kNouns;
    return WriteRows(*analysis, request, m_model->Rows());
}

QString CAnalysisView::Export(const ExportChoice& choice, const QString& path) {
    const std::string problem = SaveFile(m_files, NativePath(path), ExportBytes(choice));
    return problem.empty() ? QString() : PathForDisplay(problem);
}

void CAnalysisView::OnFileExport() {
    m_stale = m_stale || m_model->Analysis() == nullptr;
    Refresh();
    if (m_model->Analysis() == nullptr) {
        m_hooks.showMessage(this,
                            QStringLiteral("There is nothing to export: no run has been made."));
        return;
    }
    CExportDlg dlg(this, m_lastExport, m_model->Kind() == TableKind::kNouns,
                   m_model->Rows().size());
    if (dlg.exec() != QDialog::Accepted) return;
    const ExportChoice choice = dlg.Choice();
    m_lastExport = choice;
    static const char* const kNames[] = {"nouns", "words", "ambiguous"};
    const QString startName =
        (choice.statistics ? QStringLiteral("statistics")
                           : QString::fromLatin1(kNames[static_cast<int>(m_model->Kind())])) +
        QLatin1Char('.') + ExportSuffix(choice.format);
    const QString path =
        m_hooks.chooseExportName(this, QStringLiteral("Export As"),
                                 QDir::current().filePath(startName), ExportFilter(choice.format));
    if (path.isEmpty()) return;
    const QString problem = Export(choice, path);
    if (!problem.isEmpty())
        m_hooks.showMessage(this, QStringLiteral("Failed to export.\n\n") + problem);
}

}  // namespace tavro
