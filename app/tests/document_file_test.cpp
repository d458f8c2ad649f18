// The document's file: Save and its name prompt, the exact bytes saved, the
// "Save changes to ...?" prompt on New and on close, and a failed save.

#include <QAction>
#include <QListWidget>
#include <QTest>

#include "app/document_session.h"
#include "app/main_frame.h"
#include "app/tavro_view.h"
#include "app/tests/gui_test_support.h"
#include "corpus/qt/select_files_dlg.h"

using namespace tavro;
using namespace tavro::testing;

class DocumentFileTest : public QObject {
    Q_OBJECT

  private:
    RunningApp m_run;

    QAction* Act(const char* name) { return m_run.Act(name); }

  private slots:
    void init() { QVERIFY(m_run.Start()); }
    void cleanup() { m_run.Stop(); }

    void savingANeverProcessedDocumentWritesNothing() {
        const QString target = m_run.data->Path(QStringLiteral("empty"));
        m_run.hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(FileBytes(target), std::string());
        // The name is taken as typed: no extension is added.
        QCOMPARE(m_run.app->MainFrame()->windowTitle(), QStringLiteral("empty - Tavro"));
    }

    void saveAsksForANameOnceThenWritesTheReportBytes() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        QVERIFY(m_run.app->Session()->IsModified());
        const QString target = m_run.data->Path(QStringLiteral("report.out"));
        m_run.hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        const std::string report(m_run.app->Document()->ReportText());
        QVERIFY(!report.empty());
        QCOMPARE(FileBytes(target), report);
        QVERIFY(!m_run.app->Session()->IsModified());
        QCOMPARE(m_run.app->MainFrame()->windowTitle(), QStringLiteral("report.out - Tavro"));

        // A changed report goes to the same file without asking again.
        Act("ID_VIEW_SORT_BY_FREQUENCY")->trigger();
        QVERIFY(m_run.app->Session()->IsModified());
        Act("ID_FILE_SAVE")->trigger();
        QVERIFY(m_run.hooks.saveNames.empty());
        QCOMPARE(FileBytes(target), std::string(m_run.app->Document()->ReportText()));
    }

    // A file opened as the document may be anything (a corpus handed over by a
    // file manager): Save used to empty it without asking.
    void saveAsksBeforeWritingOverAnOpenedFile() {
        m_run.Stop();
        const QString opened = m_run.data->Path(QStringLiteral("c.txt"));
        const std::string corpus = FileBytes(opened);
        m_run.app = StartApp(m_run.hooks, m_run.data->Files(), {opened});
        QVERIFY(m_run.app != nullptr);
        QCOMPARE(m_run.app->Session()->PathName(), opened);
        Act("ID_FILE_SAVE")->trigger();  // Save As comes up: cancelled
        QCOMPARE(FileBytes(opened), corpus);

        // Once the user chose a name, Save writes there without asking again.
        RunOnFiles(*m_run.app, m_run.hooks, {m_run.data->Path(QStringLiteral("a.txt"))});
        const QString chosen = m_run.data->Path(QStringLiteral("chosen.txt"));
        m_run.hooks.saveNames.push_back(chosen);
        Act("ID_FILE_SAVE")->trigger();
        Act("ID_VIEW_SORT_BY_FREQUENCY")->trigger();
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(FileBytes(chosen), std::string(m_run.app->Document()->ReportText()));
        QCOMPARE(FileBytes(opened), corpus);
    }

    void cancelledSaveChangesNothing() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        Act("ID_FILE_SAVE")->trigger();  // no name given: cancelled
        QCOMPARE(m_run.app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
        QVERIFY(m_run.app->Session()->IsModified());
    }

    void failedSaveIsReportedAndKeepsTheDocumentUnsaved() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        const QString target = m_run.data->Path(QStringLiteral("no such folder/report.txt"));
        m_run.hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        // The message names the file and the problem.
        QCOMPARE(m_run.hooks.messages, QStringList({"Failed to save document.\n\n" + target +
                                                    ": No such file or directory"}));
        QVERIFY(m_run.app->Session()->IsModified());
        QCOMPARE(m_run.app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
    }

    void newWithYesSavesFirst() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        const std::string report(m_run.app->Document()->ReportText());
        const QString target = m_run.data->Path(QStringLiteral("kept.txt"));
        m_run.hooks.saveAnswers.push_back(QMessageBox::Yes);
        m_run.hooks.saveNames.push_back(target);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(FileBytes(target), report);
        QVERIFY(m_run.app->Document()->ReportText().empty());
        QCOMPARE(m_run.app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
    }

    void newWithCancelKeepsTheReport() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        const std::string report(m_run.app->Document()->ReportText());
        m_run.hooks.saveAnswers.push_back(QMessageBox::Cancel);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(std::string(m_run.app->Document()->ReportText()), report);
        QCOMPARE(ViewBytes(*m_run.app), report);
    }

    void savedDocumentIsNamedByItsPathInThePrompt() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        const QString target = m_run.data->Path(QStringLiteral("named.txt"));
        m_run.hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        m_run.hooks.saveAnswers.push_back(QMessageBox::No);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(m_run.hooks.saveAnswersAsked, QStringList({"Save changes to " + target + "?"}));
    }

    void unchangedDocumentIsNotPrompted() {
        Act("ID_FILE_NEW")->trigger();
        Act("ID_APP_EXIT")->trigger();
        QVERIFY(m_run.hooks.saveAnswersAsked.isEmpty());
        QVERIFY(!m_run.app->MainFrame()->isVisible());
    }

    // OK on an empty list used to leave the previous report on screen while the
    // document's report (and so the saved file) was empty.
    void emptyListRunShowsTheEmptyReport() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        QVERIFY(!ViewBytes(*m_run.app).empty());
        OnNext<CSelectFilesDlg>([](CSelectFilesDlg* dlg) {
            dlg->findChild<QListWidget*>(QStringLiteral("IDC_FILE_LIST"))->selectAll();
            dlg->OnRemoveFiles();
            dlg->OnSelectOk();
        });
        Act("ID_FILE_OPEN_INPUT_FILES")->trigger();
        QCOMPARE(m_run.hooks.messages, QStringList({"No Input Files have been Selected.\n"}));
        QVERIFY(m_run.app->Document()->InputFiles().empty());
        QVERIFY(m_run.app->Document()->ReportText().empty());
        QCOMPARE(ViewBytes(*m_run.app), std::string());
        const QString target = m_run.data->Path(QStringLiteral("after-empty.txt"));
        m_run.hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(FileBytes(target), ViewBytes(*m_run.app));
    }
};

QTEST_MAIN(DocumentFileTest)
#include "document_file_test.moc"
