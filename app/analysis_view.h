// CAnalysisView: the analysis window, the second view of the document beside
// the report (which it leaves as it is). It shows the analysis of the last run
// (report/run_analysis.h): a table of the nouns, the words or the ambiguous
// words (AnalysisModel) that the user orders (the Order choice or a click on a
// column's header) and filters (text, least count); beside it the forms of the
// selected noun, each with the other nouns it credits (or, for a word, the
// nouns it credits), the statistics of the run, and a bar chart of the most
// frequent rows.
//
// The analysis is built when the view is first shown after a run (a run costs
// nothing more while the view stays hidden) and kept until the next run; while
// a run works the view shows nothing, since the document may drop the last
// run's results at any point of it.
// File > Export... writes what the table shows, in its order, or the
// statistics, through the export chooser; the file is replaced whole or not at
// all. Every control has an objectName.
#pragma once

#include <QWidget>

#include "app/analysis_model.h"
#include "app/export_dlg.h"
#include "app/shell_hooks.h"
#include "document/tavro_doc.h"
#include "platform/file_system.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;
class QTimer;
class QTreeWidget;

namespace tavro {

class NounChart;

class CAnalysisView : public QWidget {
    Q_OBJECT

  public:
    CAnalysisView(CTavroDoc& doc, FileSystem& files, const ShellHooks& hooks,
                  QWidget* parent = nullptr);

    // A run starts: the analysis shown may go at any moment, so the view
    // lets go of it and shows nothing until the run ends.
    void OnRunStarting();
    // A run ended or the document was reset: the analysis shown is out of date.
    void OnRunChanged();
    // Shows the document's analysis now if it is out of date.
    void Refresh();

    // File > Export...: the dialog, the chooser, then the file.
    void OnFileExport();
    // Writes the choice to `path`; an empty string on success, else the problem.
    QString Export(const ExportChoice& choice, const QString& path);
    // What Export writes for `choice`.
    std::string ExportBytes(const ExportChoice& choice) const;

    // The selected rows, as the table shows them, a line each, cells cut by tabs.
    QString SelectedRowsText() const;
    bool HasSelection() const;

    AnalysisModel* Model() const { return m_model; }
    QTableView* Table() const { return m_table; }
    NounChart* Chart() const { return m_chart; }
    QTreeWidget* Details() const { return m_details; }
    // The text of the statistics pane's value `name` ("statTokens", ...).
    QString StatText(const QString& name) const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* CreateControls();
    QWidget* CreateStatistics();
    void ApplyKind();
    void ApplyOrder();
    void ShowSortIndicator();
    void ShowRowCount();
    void ShowDetails();
    void ShowStatistics();
    void ShowChart();
    void AfterRowsChanged();

    CTavroDoc& m_doc;
    FileSystem& m_files;
    const ShellHooks& m_hooks;
    bool m_stale = true;
    ExportChoice m_lastExport;

    AnalysisModel* m_model;
    QComboBox* m_content = nullptr;
    QComboBox* m_order = nullptr;
    QLineEdit* m_filter = nullptr;
    QSpinBox* m_minCount = nullptr;
    QLabel* m_rowCount = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_detailsTitle = nullptr;
    QTreeWidget* m_details = nullptr;
    QWidget* m_statistics = nullptr;
    NounChart* m_chart = nullptr;
    QTimer* m_filterTimer = nullptr;
};

}  // namespace tavro
