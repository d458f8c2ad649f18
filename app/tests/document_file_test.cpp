// The document's file: Save and its name prompt, the exact bytes saved, the
// "Save changes to ...?" prompt on New and on close, and a failed save.

#include <QAction>
#include <QListWidget>
#include <QTest>

#include "app/document_session.h"
#include "app/main_frame.h"
#include "app/tavro_view.h"
#include "app/tests/gui_test_support.h"
#include "corpus/select_files_dlg.h"

using namespace tavro;
using namespace tavro::testing;

class DocumentFileTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_settings;
    std::unique_ptr<TestData> m_data;
    ScriptedHooks m_hooks;
    std::unique_ptr<CTavroApp> m_app;

    QAction* Act(const char* name) {
        return FindAction(m_app->MainFrame(), QString::fromLatin1(name));
    }

  private slots:
    void init() {
        UseTemporarySettings(m_settings.path());
        m_data = std::make_unique<TestData>();
        m_hooks = ScriptedHooks();
        m_app = StartApp(m_hooks, m_data->Files());
        QVERIFY(m_app != nullptr);
    }
    void cleanup() { m_app.reset(); }

    void savingANeverProcessedDocumentWritesNothing() {
        const QString target = m_data->Path(QStringLiteral("empty"));
        m_hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(FileBytes(target), std::string());
        // The name is taken as typed: no extension is added.
        QCOMPARE(m_app->MainFrame()->windowTitle(), QStringLiteral("empty - Tavro"));
    }

    void saveAsksForANameOnceThenWritesTheReportBytes() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        QVERIFY(m_app->Session()->IsModified());
        const QString target = m_data->Path(QStringLiteral("report.out"));
        m_hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        const std::string report(m_app->Document()->ReportText());
        QVERIFY(!report.empty());
        QCOMPARE(FileBytes(target), report);
        QVERIFY(!m_app->Session()->IsModified());
        QCOMPARE(m_app->MainFrame()->windowTitle(), QStringLiteral("report.out - Tavro"));

        // A changed report goes to the same file without asking again.
        Act("ID_VIEW_SORT_BY_FREQUENCY")->trigger();
        QVERIFY(m_app->Session()->IsModified());
        Act("ID_FILE_SAVE")->trigger();
        QVERIFY(m_hooks.saveNames.empty());
        QCOMPARE(FileBytes(target), std::string(m_app->Document()->ReportText()));
    }

    void cancelledSaveChangesNothing() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        Act("ID_FILE_SAVE")->trigger();  // no name given: cancelled
        QCOMPARE(m_app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
        QVERIFY(m_app->Session()->IsModified());
    }

    void failedSaveIsReportedAndKeepsTheDocumentUnsaved() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        m_hooks.saveNames.push_back(m_data->Path(QStringLiteral("no such folder/report.txt")));
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(m_hooks.messages, QStringList({"Failed to save document."}));
        QVERIFY(m_app->Session()->IsModified());
        QCOMPARE(m_app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
    }

    void newWithYesSavesFirst() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        const std::string report(m_app->Document()->ReportText());
        const QString target = m_data->Path(QStringLiteral("kept.txt"));
        m_hooks.saveAnswers.push_back(QMessageBox::Yes);
        m_hooks.saveNames.push_back(target);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(FileBytes(target), report);
        QVERIFY(m_app->Document()->ReportText().empty());
        QCOMPARE(m_app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
    }

    void newWithCancelKeepsTheReport() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        const std::string report(m_app->Document()->ReportText());
        m_hooks.saveAnswers.push_back(QMessageBox::Cancel);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(std::string(m_app->Document()->ReportText()), report);
        QCOMPARE(ViewBytes(*m_app), report);
    }

    void savedDocumentIsNamedByItsPathInThePrompt() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        const QString target = m_data->Path(QStringLiteral("named.txt"));
        m_hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        m_hooks.saveAnswers.push_back(QMessageBox::No);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(m_hooks.saveAnswersAsked, QStringList({"Save changes to " + target + "?"}));
    }

    void unchangedDocumentIsNotPrompted() {
        Act("ID_FILE_NEW")->trigger();
        Act("ID_APP_EXIT")->trigger();
        QVERIFY(m_hooks.saveAnswersAsked.isEmpty());
        QVERIFY(!m_app->MainFrame()->isVisible());
    }

    // OK on an empty list used to leave the previous report on screen while the
    // document's report (and so the saved file) was empty.
    void emptyListRunShowsTheEmptyReport() {
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
        QVERIFY(!ViewBytes(*m_app).empty());
        OnNext<CSelectFilesDlg>([](CSelectFilesDlg* dlg) {
            dlg->findChild<QListWidget*>(QStringLiteral("IDC_FILE_LIST"))->selectAll();
            dlg->OnRemoveFiles();
            dlg->OnSelectOk();
        });
        Act("ID_FILE_OPEN_INPUT_FILES")->trigger();
        QCOMPARE(m_hooks.messages, QStringList({"No Input Files have been Selected.\n"}));
        QVERIFY(m_app->Document()->InputFiles().empty());
        QVERIFY(m_app->Document()->ReportText().empty());
        QCOMPARE(ViewBytes(*m_app), std::string());
        const QString target = m_data->Path(QStringLiteral("after-empty.txt"));
        m_hooks.saveNames.push_back(target);
        Act("ID_FILE_SAVE")->trigger();
        QCOMPARE(FileBytes(target), ViewBytes(*m_app));
    }
};

QTEST_MAIN(DocumentFileTest)
#include "document_file_test.moc"
