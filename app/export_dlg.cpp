#include "app/export_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/analysis_model.h"

namespace tavro {
namespace {

constexpr TableFormat kFormats[] = {TableFormat::kTsv, TableFormat::kCsv, TableFormat::kJson};

}  // namespace

QString ExportSuffix(TableFormat format) {
    switch (format) {
        case TableFormat::kCsv:
            return QStringLiteral("csv");
        case TableFormat::kJson:
            return QStringLiteral("json");
        case TableFormat::kText:
            return QStringLiteral("txt");
        case TableFormat::kTsv:
            break;
    }
    return QStringLiteral("tsv");
}

QString ExportFilter(TableFormat format) {
    switch (format) {
        case TableFormat::kCsv:
            return QStringLiteral("Comma-separated values (*.csv)");
        case TableFormat::kJson:
            return QStringLiteral("JSON (*.json)");
        case TableFormat::kText:
            return QStringLiteral("Text (*.txt)");
        case TableFormat::kTsv:
            break;
    }
    return QStringLiteral("Tab-separated values (*.tsv)");
}

CExportDlg::CExportDlg(QWidget* parent, const ExportChoice& choice, bool nounTable,
                       std::size_t rows)
    : QDialog(parent),
      m_table(new QRadioButton(QStringLiteral("The &table as shown (%1 rows)")
                                   .arg(FormatCount(static_cast<long long>(rows))),
                               this)),
      m_statistics(new QRadioButton(QStringLiteral("The &statistics of the run"), this)),
      m_format(new QComboBox(this)),
      m_forms(new QCheckBox(QStringLiteral("With the &forms of each noun"), this)),
      m_nounTable(nounTable) {
    setObjectName(QStringLiteral("CExportDlg"));
    setWindowTitle(QStringLiteral("Export"));
    m_table->setObjectName(QStringLiteral("exportTable"));
    m_statistics->setObjectName(QStringLiteral("exportStatistics"));
    m_format->setObjectName(QStringLiteral("exportFormat"));
    m_forms->setObjectName(QStringLiteral("exportForms"));
    for (const TableFormat format : kFormats)
        m_format->addItem(ExportFilter(format), static_cast<int>(format));

    (choice.statistics ? m_statistics : m_table)->setChecked(true);
    m_format->setCurrentIndex(std::max(0, m_format->findData(static_cast<int>(choice.format))));
    m_forms->setChecked(choice.forms);

    auto* what = new QGroupBox(QStringLiteral("Export"), this);
    auto* whatLayout = new QVBoxLayout(what);
    whatLayout->addWidget(m_table);
    whatLayout->addWidget(m_forms);
    whatLayout->addWidget(m_statistics);
    m_forms->setContentsMargins(20, 0, 0, 0);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("F&ormat:"), m_format);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("exportOk"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Export..."));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("exportCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_table, &QRadioButton::toggled, this, &CExportDlg::UpdateForms);
    UpdateForms();
}

void CExportDlg::UpdateForms() { m_forms->setEnabled(m_nounTable && m_table->isChecked()); }

ExportChoice CExportDlg::Choice() const {
    ExportChoice choice;
    choice.statistics = m_statistics->isChecked();
    choice.format = static_cast<TableFormat>(m_format->currentData().toInt());
    choice.forms = m_forms->isChecked();
    return choice;
}

}  // namespace tavro
