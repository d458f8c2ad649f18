// The analysis window: switching to it leaves the report and the View marks as
// they were; its table holds the report's nouns and orders and filters them;
// the forms and other nouns of the selected row; the statistics; File >
// Export... writes the rows shown or the statistics, atomically; the chart and
// its PNG.

#include "app/analysis_view.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include "app/export_dlg.h"
#include "app/main_frame.h"
#include "app/noun_chart.h"
#include "app/tavro_view.h"
#include "app/tests/gui_test_support.h"

using namespace tavro;
using namespace tavro::testing;

class AnalysisViewTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_settings;
    std::unique_ptr<TestData> m_data;
    ScriptedHooks m_hooks;
    std::unique_ptr<CTavroApp> m_app;

    CMainFrame* Frame() { return m_app->MainFrame(); }
    CAnalysisView* View() { return Frame()->AnalysisView(); }
    AnalysisModel* Model() { return View()->Model(); }
    QAction* Act(const char* name) { return FindAction(Frame(), QString::fromLatin1(name)); }
    template <class T>
    T* Control(const char* name) {
        return View()->findChild<T*>(QString::fromLatin1(name));
    }
    // The words of the rows shown, as text, in order.
    QStringList Words() {
        QStringList words;
        for (int row = 0; row < Model()->rowCount(); ++row)
            words.append(Model()->index(row, 0).data().toString());
        return words;
    }
    void ChooseOrder(const char* text) {
        auto* order = Control<QComboBox>("analysisOrder");
        order->setCurrentIndex(order->findText(QString::fromLatin1(text)));
    }
    void ShowAnalysis() {
        Act("ID_VIEW_ANALYSIS")->trigger();
        QTRY_VERIFY(Model()->Analysis() != nullptr);
    }
    // File > Export... with `choice`, saved under `path`.
    void ExportThroughTheDialog(const ExportChoice& choice, const QString& path) {
        m_hooks.exportNames.push_back(path);
        OnNext<CExportDlg>([choice](CExportDlg* dlg) {
            QVERIFY(dlg != nullptr);
            dlg->findChild<QRadioButton*>(choice.statistics ? "exportStatistics" : "exportTable")
                ->setChecked(true);
            auto* format = dlg->findChild<QComboBox*>("exportFormat");
            format->setCurrentIndex(format->findData(static_cast<int>(choice.format)));
            dlg->findChild<QCheckBox*>("exportForms")->setChecked(choice.forms);
            QVERIFY(dlg->Choice() == choice);
            dlg->findChild<QPushButton*>("exportOk")->click();
        });
        Act("ID_FILE_EXPORT")->trigger();
    }

  private slots:
    void init() {
        UseTemporarySettings(m_settings.path());
        m_data = std::make_unique<TestData>();
        // δρόμου credits δρόμος and δρόμο: an ambiguous word.
        m_data->Write("finalList.txt", Greek("λόγος\nδρόμος\nδρόμο\nθάλασσα\nπόλη\nέργο\n"));
        m_data->Write("conjugation.txt", Greek("ου ος\nου ο\nοι ος\nων ος\nας α\nες α\nεις η\n"));
        m_data->Write("d.txt", Greek("έργο\n"));
        m_hooks = ScriptedHooks();
        m_app = StartApp(m_hooks, m_data->Files());
        QVERIFY(m_app != nullptr);
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles() << m_data->Path("d.txt"));
        QVERIFY(m_hooks.messages.isEmpty());
    }
    void cleanup() { m_app.reset(); }

    void switchingLeavesTheReportAndTheMarks() {
        const std::string report(m_app->Document()->ReportText());
        auto* tabs = Frame()->findChild<QTabWidget*>("viewTabs");
        QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(Frame()->GetActiveView()));
        ShowAnalysis();
        QVERIFY(Frame()->IsAnalysisShown());
        QVERIFY(Act("ID_VIEW_ANALYSIS")->isChecked());
        QVERIFY(Act("ID_VIEW_SORT_ALPHABETICALLY")->isChecked());
        QVERIFY(Act("ID_VIEW_SHOW_NOUNS")->isChecked());
        QVERIFY(!Act("ID_VIEW_SORT_BY_FREQUENCY")->isChecked());
        Act("ID_VIEW_REPORT")->trigger();
        QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(Frame()->GetActiveView()));
        QCOMPARE(ViewBytes(*m_app), report);
        // The tab bar switches too, and the menu follows it.
        tabs->setCurrentIndex(1);
        QVERIFY(Act("ID_VIEW_ANALYSIS")->isChecked());
    }

    void tableHoldsTheNounsOfTheReport() {
        ShowAnalysis();
        ChooseOrder("Byte order");
        QString lines;
        for (int row = 0; row < Model()->rowCount(); ++row) {
            lines += Model()->index(row, 0).data().toString() + QLatin1Char(' ') +
                     Model()->index(row, 1).data().toString() + QLatin1Char('\n');
        }
        QCOMPARE(lines, FromGreek(m_app->Document()->ReportText()));
        QCOMPARE(Control<QLabel>("analysisRowCount")->text(), QStringLiteral("6 of 6 nouns"));
    }

    void ordersAndFiltersTheRows() {
        ShowAnalysis();
        struct Case {
            const char* order;
            const char* words;
        };
        const Case cases[] = {
            {"Frequency", "λόγος δρόμος θάλασσα πόλη έργο δρόμο"},
            {"Greek dictionary order", "δρόμο δρόμος έργο θάλασσα λόγος πόλη"},
            {"Byte order", "έργο δρόμο δρόμος θάλασσα λόγος πόλη"},
            {"Sure count", "λόγος θάλασσα δρόμος πόλη έργο δρόμο"},
        };
        for (const Case& c : cases) {
            ChooseOrder(c.order);
            QCOMPARE(Words().join(' '), QString::fromUtf8(c.words));
        }
        // A click on a header: the count column from the highest count down.
        QHeaderView* header = View()->Table()->horizontalHeader();
        header->setSortIndicator(1, Qt::DescendingOrder);
        QCOMPARE(Words().first(), QStringLiteral("λόγος"));
        QCOMPARE(Control<QComboBox>("analysisOrder")->currentText(), QStringLiteral("Frequency"));
        // The word column: the alphabetical order last chosen (bytes, above).
        header->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(Words().first(), QStringLiteral("πόλη"));
        QCOMPARE(Words().last(), QStringLiteral("έργο"));
        QCOMPARE(Control<QComboBox>("analysisOrder")->currentText(), QStringLiteral("Byte order"));
        header->setSortIndicator(1, Qt::AscendingOrder);
        QCOMPARE(Words().last(), QStringLiteral("λόγος"));

        ChooseOrder("Greek dictionary order");
        // Capitals without accents find the words with them.
        Control<QLineEdit>("analysisFilter")->setText(QStringLiteral("ΔΡΟΜ"));
        QTRY_COMPARE(Words().join(' '), QStringLiteral("δρόμο δρόμος"));
        QCOMPARE(Control<QLabel>("analysisRowCount")->text(), QStringLiteral("2 of 6 nouns"));
        Control<QLineEdit>("analysisFilter")->clear();
        Control<QSpinBox>("analysisMinCount")->setValue(3);
        QTRY_COMPARE(Words().join(' '), QStringLiteral("δρόμος θάλασσα λόγος"));
    }

    void aSelectedNounListsItsFormsAndTheirOtherNouns() {
        ShowAnalysis();
        ChooseOrder("Greek dictionary order");
        View()->Table()->selectRow(1);  // δρόμος
        QTreeWidget* details = View()->Details();
        QStringList rows;
        for (int i = 0; i < details->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = details->topLevelItem(i);
            rows.append(item->text(0) + ' ' + item->text(1) + ' ' + item->text(2));
        }
        QCOMPARE(rows, QStringList({"δρόμοι 1 ", "δρόμος 1 ", "δρόμου 1 δρόμο"}));
        QCOMPARE(Model()->index(1, 2).data().toString(), QStringLiteral("2"));  // sure count

        // A word lists the nouns it credits.
        auto* content = Control<QComboBox>("analysisContent");
        content->setCurrentIndex(content->findText("Ambiguous words"));
        QCOMPARE(Words(), QStringList({"δρόμου"}));
        View()->Table()->selectRow(0);
        QCOMPARE(details->topLevelItemCount(), 2);
        QCOMPARE(details->topLevelItem(0)->text(0), QStringLiteral("δρόμο"));
        QCOMPARE(details->topLevelItem(1)->text(0), QStringLiteral("δρόμος"));
        QCOMPARE(Model()->index(0, 4).data().toString(), QStringLiteral("δρόμο, δρόμος"));
    }

    void statisticsShowTheRunsFigures() {
        ShowAnalysis();
        const CorpusStats& stats = m_app->Document()->Analysis()->Stats();
        QCOMPARE(stats.tokens, 21u);
        QCOMPARE(View()->StatText("statTokens"), QStringLiteral("21"));
        QCOMPARE(View()->StatText("statFiles"), QStringLiteral("4"));
        QCOMPARE(View()->StatText("statTypes"), QString::number(stats.types));
        QCOMPARE(View()->StatText("statNounsCredited"), QStringLiteral("6"));
        QCOMPARE(View()->StatText("statAmbiguous"), QStringLiteral("1 (1 token)"));
        QVERIFY(View()->StatText("statSttr").startsWith("–"));  // under 1,000 tokens
        QCOMPARE(View()->StatText("statShareCredited"),
                 QStringLiteral("%1 (%2%)")
                     .arg(stats.nounTokens)
                     .arg(QString::number(100 * stats.nounTokenShare, 'f', 1)));
    }

    // A noun the lexicon lacks, derived in the run, stands out and is counted.
    void derivedNounsStandOutInTheTableAndTheFigures() {
        ShowAnalysis();
        QCOMPARE(View()->StatText("statDerived"),
                 QStringLiteral("– (Tools > Derive Nouns is off)"));
        m_data->Write("derived.txt", Greek("υποθάλασσας υποθάλασσας λόγου"));
        Act("ID_TOOLS_DERIVED_NOUNS")->trigger();
        QVERIFY(Frame()->Runs().Run({m_data->Path("derived.txt")}, Frame()).ok());
        ChooseOrder("Byte order");
        QTRY_COMPARE(Words(), QStringList({"λόγος", "υποθάλασσα"}));
        QVERIFY(!Model()->index(0, 0).data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(Model()->index(1, 0).data(Qt::FontRole).value<QFont>().italic());
        QVERIFY(
            Model()->index(1, 0).data(Qt::ToolTipRole).toString().contains("not in the lexicon"));
        QCOMPARE(View()->StatText("statDerived"), QStringLiteral("1 (2 tokens)"));
    }

    void exportWritesTheRowsShownAndSaveKeepsTheReport() {
        ShowAnalysis();
        ChooseOrder("Frequency");
        Control<QLineEdit>("analysisFilter")->setText(QStringLiteral("δρομ"));
        QTRY_COMPARE(Model()->rowCount(), 2);
        const QString tsv = m_data->Path("nouns.tsv");
        ExportThroughTheDialog({false, TableFormat::kTsv, false}, tsv);
        QCOMPARE(m_hooks.exportFilters, QStringList({"Tab-separated values (*.tsv)"}));
        QCOMPARE(QString::fromStdString(FileBytes(tsv)),
                 QStringLiteral("rank\tnoun\tcount\tsure count\tper million\tfiles\n"
                                "1\tδρόμος\t3\t2\t142857.14\t2\n"
                                "2\tδρόμο\t1\t0\t47619.05\t1\n"));

        const QString csv = m_data->Path("nouns.csv");
        ExportThroughTheDialog({false, TableFormat::kCsv, true}, csv);
        const std::string csvBytes = FileBytes(csv);
        QVERIFY(csvBytes.starts_with(
            "\xEF\xBB\xBFrank,noun,count,sure count,per million,files,forms\r\n"));
        QVERIFY(csvBytes.ends_with("\r\n"));
        QCOMPARE(QString::fromStdString(csvBytes).count("\r\n"), 3);

        const QString stats = m_data->Path("statistics.tsv");
        ExportThroughTheDialog({true, TableFormat::kTsv, false}, stats);
        QVERIFY(FileBytes(stats).starts_with("figure\tvalue\nfiles\t4\n"));
        QVERIFY(FileBytes(stats).find("\ntokens\t21\n") != std::string::npos);
        QVERIFY(m_hooks.messages.isEmpty());

        // Save writes the report's bytes, whatever was exported.
        m_hooks.saveNames.push_back(m_data->Path("report.txt"));
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(FileBytes(m_data->Path("report.txt")),
                 std::string(m_app->Document()->ReportText()));
    }

    void exportThatFailsSaysSoAndLeavesTheFile() {
        const QString target = m_data->Path("kept.tsv");
        m_data->Write("kept.tsv", "old");
        // A folder where the file should go.
        QVERIFY(QDir(m_data->Dir()).mkdir("folder.tsv"));
        ExportThroughTheDialog({false, TableFormat::kTsv, false}, m_data->Path("folder.tsv"));
        QCOMPARE(m_hooks.messages.size(), 1);
        QVERIFY2(m_hooks.messages[0].startsWith("Failed to export."),
                 qPrintable(m_hooks.messages[0]));
        QCOMPARE(FileBytes(target), std::string("old"));
        // Cancelling the dialog writes nothing and asks for no name.
        OnNext<CExportDlg>([](CExportDlg* dlg) { dlg->reject(); });
        Act("ID_FILE_EXPORT")->trigger();
        QCOMPARE(m_hooks.exportFilters.size(), 1);
    }

    void exportBeforeAnyRunSaysThereIsNothing() {
        m_hooks.saveAnswers.push_back(QMessageBox::No);
        m_app->OnFileNew();
        QVERIFY(m_app->Document()->WordTree() == nullptr);
        Act("ID_FILE_EXPORT")->trigger();
        QCOMPARE(m_hooks.messages,
                 QStringList({"There is nothing to export: no run has been made."}));
        QCOMPARE(Model()->rowCount(), 0);
    }

    void aNewRunReplacesTheRowsShown() {
        ShowAnalysis();
        QCOMPARE(Model()->rowCount(), 6);
        QVERIFY(Frame()->Runs().Run({m_data->Path("d.txt")}, Frame()).ok());
        QTRY_COMPARE(Words(), QStringList({"έργο"}));
    }

    // A run over no files drops the last run's results before its message
    // box, whose event loop could paint the table: the view must have let go.
    void analysisIsLetGoOfBeforeARunDropsIt() {
        ShowAnalysis();
        QList<bool> heldDuringMessage;
        m_app->Hooks().showMessage = [&](QWidget*, const QString&) {
            heldDuringMessage.append(Model()->Analysis() != nullptr);
        };
        QVERIFY(Frame()->Runs().Run({}, Frame()).ok());
        QCOMPARE(heldDuringMessage, QList<bool>({false}));
        QTRY_COMPARE(Model()->rowCount(), 0);
    }

    void aFailedRunKeepsTheRowsShown() {
        ShowAnalysis();
        QVERIFY(!Frame()->Runs().Run({m_data->Path("missing.txt")}, Frame()).ok());
        QTRY_COMPARE(Model()->rowCount(), 6);
        QCOMPARE(View()->StatText("statTokens"), QStringLiteral("21"));
    }

    void chartShowsTheMostFrequentAndSavesAPng() {
        ShowAnalysis();
        NounChart* chart = View()->Chart();
        chart->SetTopCount(3);
        QCOMPARE(chart->Labels(), QStringList({"λόγος", "δρόμος", "θάλασσα"}));
        Control<QLineEdit>("analysisFilter")->setText(QStringLiteral("π"));
        QTRY_COMPARE(chart->Labels(), QStringList({"πόλη"}));

        const QString png = m_data->Path("chart.png");
        m_hooks.exportNames.push_back(png);
        chart->findChild<QPushButton*>("chartExportPng")->click();
        QCOMPARE(m_hooks.exportFilters.last(), QStringLiteral("PNG image (*.png)"));
        QVERIFY(FileBytes(png).starts_with("\x89PNG\r\n"));
        QImage image(png);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 100 && image.height() > 100);

        m_hooks.exportNames.push_back(m_data->Path("no/such/folder/chart.png"));
        chart->findChild<QPushButton*>("chartExportPng")->click();
        QCOMPARE(m_hooks.messages.size(), 1);
        QVERIFY(m_hooks.messages[0].startsWith("Failed to export the chart."));
    }

    void copyTakesTheSelectedRowsWhileTheAnalysisIsShown() {
        ShowAnalysis();
        ChooseOrder("Frequency");
        View()->Table()->selectRow(0);
        QVERIFY(Act("ID_EDIT_COPY")->isEnabled());
        Act("ID_EDIT_COPY")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("λόγος\t6\t6\t285,714.29\t3\n"));
        QStringList menu;
        for (QAction* action : View()->Table()->actions())
            menu.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(menu, QStringList({"ID_EDIT_COPY", "ID_EDIT_SELECT_ALL", "-", "ID_FILE_EXPORT"}));
        Act("ID_EDIT_SELECT_ALL")->trigger();
        QCOMPARE(View()->SelectedRowsText().count('\n'), 6);
    }
};

QTEST_MAIN(AnalysisViewTest)
#include "analysis_view_test.moc"
