// The view: Greek text from cp1253 bytes, read-only yet selectable and
// copyable, the Find dialog, and printing with half-inch margins to a PDF.

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/find_text_dlg.h"
#include "app/main_frame.h"
#include "app/tavro_view.h"
#include "app/tests/gui_test_support.h"

using namespace tavro;
using namespace tavro::testing;

class TavroViewTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_settings;
    std::unique_ptr<TestData> m_data;
    ScriptedHooks m_hooks;
    std::unique_ptr<CTavroApp> m_app;

    CTavroView* View() { return m_app->MainFrame()->GetActiveView(); }
    QAction* Act(const char* name) { return FindAction(m_app->MainFrame(), QString::fromLatin1(name)); }
    QString Selected() { return View()->textCursor().selectedText(); }

private slots:
    void init() {
        UseTemporarySettings(m_settings.path());
        m_data = std::make_unique<TestData>();
        m_hooks = ScriptedHooks();
        m_app = StartApp(m_hooks, m_data->Files());
        QVERIFY(m_app != nullptr);
        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        RunOnFiles(*m_app, m_hooks, m_data->CorpusFiles());
    }
    void cleanup() { m_app.reset(); }

    void showsTheReportAsGreekText() {
        const std::string report(m_app->Document()->ReportText());
        QVERIFY(report.find(Greek("λόγων 3\n")) != std::string::npos);
        QVERIFY(View()->toPlainText().contains(QString::fromUtf8("λόγων 3\n")));
        QCOMPARE(ViewBytes(*m_app), report);
    }

    void editingChangesNothing() {
        const QString before = View()->toPlainText();
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        View()->selectAll();
        for (const char* name : {"ID_EDIT_PASTE", "ID_EDIT_CUT", "ID_EDIT_UNDO"}) Act(name)->trigger();
        View()->setFocus();
        QTest::keyClicks(View(), QStringLiteral("typed"));
        QTest::keyClick(View(), Qt::Key_Delete);
        QTest::keyClick(View(), Qt::Key_Backspace);
        QTest::keyClick(View(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(View(), Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(View()->toPlainText(), before);
    }

    void copyPutsTheSelectionOnTheClipboard() {
        QVERIFY(!Act("ID_EDIT_COPY")->isEnabled());
        QVERIFY(View()->FindText(QString::fromUtf8("λόγων"), {}));
        QVERIFY(Act("ID_EDIT_COPY")->isEnabled());
        QGuiApplication::clipboard()->clear();
        Act("ID_EDIT_COPY")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromUtf8("λόγων"));
    }

    void findDialogSearchesWithItsChoices() {
        Act("ID_EDIT_FIND")->trigger();
        FindTextDlg* dlg = View()->FindDialog();
        QVERIFY(dlg != nullptr && dlg->isVisible());
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Find"));
        auto* what = dlg->findChild<QLineEdit*>(QStringLiteral("findWhat"));
        auto* next = dlg->findChild<QPushButton*>(QStringLiteral("findNext"));
        auto* matchCase = dlg->findChild<QCheckBox*>(QStringLiteral("matchCase"));
        auto* wholeWord = dlg->findChild<QCheckBox*>(QStringLiteral("matchWholeWord"));
        auto* up = dlg->findChild<QRadioButton*>(QStringLiteral("directionUp"));

        // Whole words only: "λόγο" is no word of the report.
        what->setText(QString::fromUtf8("λόγο"));
        wholeWord->setChecked(true);
        next->click();
        QVERIFY(!View()->textCursor().hasSelection());
        wholeWord->setChecked(false);
        next->click();
        QCOMPARE(Selected(), QString::fromUtf8("λόγο"));
        const int first = View()->textCursor().selectionStart();

        // Case: the report is folded to lower case, so capitals match only without it.
        what->setText(QString::fromUtf8("ΛΌΓΟ"));
        matchCase->setChecked(true);
        View()->moveCursor(QTextCursor::Start);
        next->click();
        QVERIFY(!View()->textCursor().hasSelection());
        matchCase->setChecked(false);
        next->click();
        QCOMPARE(View()->textCursor().selectionStart(), first);

        // Down finds the next one; Up goes back; the search goes round the text.
        next->click();
        const int second = View()->textCursor().selectionStart();
        QVERIFY(second > first);
        up->setChecked(true);
        next->click();
        QCOMPARE(View()->textCursor().selectionStart(), first);
        next->click();
        QVERIFY(View()->textCursor().selectionStart() >= second);
    }

    void printsToAPdfWithHalfInchMargins() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_data->Path(QStringLiteral("report.pdf"));
        printer.setOutputFileName(pdf);
        View()->PrintTo(printer);
        const QMarginsF margins = printer.pageLayout().margins(QPageLayout::Inch);
        QCOMPARE(margins, QMarginsF(0.5, 0.5, 0.5, 0.5));
        const std::string bytes = FileBytes(pdf);
        QVERIFY(bytes.rfind("%PDF", 0) == 0);
        QVERIFY(bytes.size() > 1000);
    }

    void ctrlPOpensThePrintDialogOnly() {
        Act("ID_FILE_PRINT")->trigger();
        QCOMPARE(m_hooks.printDialogs, 1);
    }
};

QTEST_MAIN(TavroViewTest)
#include "tavro_view_test.moc"
