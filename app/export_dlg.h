// CExportDlg: the modal "Export" dialog of File > Export...: what to write
// (the analysis window's table as it is shown, or the statistics of the run),
// in which format (tab-separated or comma-separated values, or JSON), and for
// the noun table whether each noun's forms go with it. OK hands the choice
// back; Cancel and Escape leave it as it was handed in.
#pragma once

#include <QDialog>

#include "report/table_export.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace tavro {

struct ExportChoice {
    bool statistics = false;  // the statistics rather than the table
    TableFormat format = TableFormat::kTsv;
    bool forms = false;  // the forms of each noun (noun table only)
    bool operator==(const ExportChoice&) const = default;
};

class CExportDlg : public QDialog {
    Q_OBJECT

  public:
    // `nounTable`: whether the table shown is the nouns' (forms can go with it);
    // `rows`: how many rows it shows, for the caption of the choice.
    CExportDlg(QWidget* parent, const ExportChoice& choice, bool nounTable, std::size_t rows);

    ExportChoice Choice() const;

  private:
    void UpdateForms();

    QRadioButton* m_table;
    QRadioButton* m_statistics;
    QComboBox* m_format;
    QCheckBox* m_forms;
    bool m_nounTable;
};

// The usual file-name suffix of a format ("tsv", "csv", "json").
QString ExportSuffix(TableFormat format);
// The chooser's filter for a format ("Tab-separated values (*.tsv)").
QString ExportFilter(TableFormat format);

}  // namespace tavro
