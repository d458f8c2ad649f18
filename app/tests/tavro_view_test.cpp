// The view: Greek text from cp1253 bytes, read-only yet selectable and
// copyable, the Find dialog with Ctrl+F and F3, the context menu, and printing
// with half-inch margins to a PDF.

#include "app/tavro_view.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <optional>

#include "app/find_text_dlg.h"
#include "app/main_frame.h"
#include "app/tests/gui_test_support.h"

using namespace tavro;
using namespace tavro::testing;

class TavroViewTest : public QObject {
    Q_OBJECT

  private:
    RunningApp m_run;

    // The text pdftotext reads from `pdf` with `options`, or nothing without it.
    static std::optional<QString> PdfText(const QString& pdf, const QStringList& options) {
        QProcess process;
        process.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            return std::nullopt;
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    CTavroView* View() { return m_run.app->MainFrame()->GetActiveView(); }
    QAction* Act(const char* name) { return m_run.Act(name); }
    QString Selected() { return View()->SelectedText(); }
    bool HasSelection() { return View()->SelectionStart() != View()->SelectionEnd(); }

  private slots:
    void init() {
        QVERIFY(m_run.Start());
        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
    }
    void cleanup() { m_run.Stop(); }

    void showsTheReportAsGreekText() {
        const std::string report(m_run.app->Document()->ReportText());
        QVERIFY(report.find(Greek("λόγων 3\n")) != std::string::npos);
        QVERIFY(View()->Text().contains(QString::fromUtf8("λόγων 3\n")));
        QCOMPARE(ViewBytes(*m_run.app), report);
    }

    void editingChangesNothing() {
        const QString before = View()->Text();
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
        View()->SelectAll();
        for (const char* name : {"ID_EDIT_PASTE", "ID_EDIT_CUT", "ID_EDIT_UNDO"})
            Act(name)->trigger();
        View()->setFocus();
        QTest::keyClicks(View(), QStringLiteral("typed"));
        QTest::keyClick(View(), Qt::Key_Delete);
        QTest::keyClick(View(), Qt::Key_Backspace);
        QTest::keyClick(View(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(View(), Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(View()->Text(), before);
    }

    void copyPutsTheSelectionOnTheClipboard() {
        QVERIFY(!Act("ID_EDIT_COPY")->isEnabled());
        QVERIFY(View()->FindText(QString::fromUtf8("λόγων"), FindOptions{}));
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
        QVERIFY(!HasSelection());
        wholeWord->setChecked(false);
        next->click();
        QCOMPARE(Selected(), QString::fromUtf8("λόγο"));
        const qsizetype first = View()->SelectionStart();

        // Case: the report is folded to lower case, so capitals match only without it.
        what->setText(QString::fromUtf8("ΛΌΓΟ"));
        matchCase->setChecked(true);
        View()->SetSelection(0, 0);
        next->click();
        QVERIFY(!HasSelection());
        matchCase->setChecked(false);
        next->click();
        QCOMPARE(View()->SelectionStart(), first);

        // Down finds the next one; Up goes back; the search goes round the text.
        next->click();
        const qsizetype second = View()->SelectionStart();
        QVERIFY(second > first);
        up->setChecked(true);
        next->click();
        QCOMPARE(View()->SelectionStart(), first);
        next->click();
        QVERIFY(View()->SelectionStart() >= second);
    }

    void ctrlFOpensFindAndF3FindsAgain() {
        m_run.app->MainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_run.app->MainFrame()));
        // F3 before any search opens Find, as Ctrl+F does.
        QTest::keyClick(View(), Qt::Key_F3);
        FindTextDlg* dlg = View()->FindDialog();
        QVERIFY(dlg != nullptr && dlg->isVisible());
        dlg->hide();
        QTest::keyClick(View(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(dlg->isVisible());
        QCOMPARE(Act("ID_EDIT_FIND")->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
        dlg->findChild<QLineEdit*>(QStringLiteral("findWhat"))->setText(QString::fromUtf8("λόγ"));
        dlg->findChild<QPushButton*>(QStringLiteral("findNext"))->click();
        const qsizetype first = View()->SelectionStart();
        dlg->hide();
        m_run.app->MainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_run.app->MainFrame()));
        QTest::keyClick(View(), Qt::Key_F3);
        QCOMPARE(Selected(), QString::fromUtf8("λόγ"));
        QVERIFY(View()->SelectionStart() > first);
        QVERIFY(!dlg->isVisible());
    }

    void contextMenuCopiesSelectsAllAndFinds() {
        std::unique_ptr<QMenu> menu(View()->CreateContextMenu());
        QStringList items;
        for (QAction* action : menu->actions())
            items.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(items, QStringList({"ID_EDIT_COPY", "ID_EDIT_SELECT_ALL", "-", "ID_EDIT_FIND",
                                     "ID_EDIT_REPEAT"}));
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) QVERIFY(!action->icon().isNull());
        }
        menu->actions()[1]->trigger();
        QCOMPARE(Selected(), View()->Text());
        QVERIFY(menu->actions()[0]->isEnabled());
    }

    void keyboardAndMouseSelect() {
        View()->setFocus();
        View()->SetSelection(0, 0);
        QTest::keyClick(View(), Qt::Key_End, Qt::ShiftModifier);
        const QString firstLine = View()->Text().section(QLatin1Char('\n'), 0, 0);
        QCOMPARE(Selected(), firstLine);
        QTest::keyClick(View(), Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(Selected().startsWith(firstLine + QLatin1Char('\n')));
        QTest::keyClick(View(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(Selected(), View()->Text());
        QTest::keyClick(View(), Qt::Key_Home, Qt::ControlModifier);
        QVERIFY(!HasSelection());
        // A drag over the first line from its start selects from there.
        QWidget* area = View()->viewport();
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(1, 2));
        QMouseEvent move(QEvent::MouseMove, QPointF(area->width() - 2, 2),
                         area->mapToGlobal(QPointF(area->width() - 2, 2)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(area, &move);
        QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(area->width() - 2, 2));
        QCOMPARE(View()->SelectionStart(), qsizetype(0));
        QCOMPARE(Selected(), firstLine);
    }

    // A report longer than a rich-edit control's text limit is shown whole.
    void aHugeReportIsShownWhole() {
        // 1,300,000 distinct words of twelve Greek letters, one a line.
        std::string many;
        for (int i = 0; i < 1'300'000; ++i) {
            many += Greek("ωωωωωωω");
            for (int k = 0, n = i; k < 5; ++k, n /= 24)
                many += static_cast<char>(0xE1 + n % 24 + (n % 24 >= 17));
            many += '\n';
        }
        m_run.data->Write(QStringLiteral("many.txt"), many);
        RunOnFiles(*m_run.app, m_run.hooks, {m_run.data->Path(QStringLiteral("many.txt"))});
        QVERIFY(View()->LineCount() > 1'300'000);  // and the earlier files' words
        QVERIFY(View()->Text().size() > 0xFFFFFF);
        QCOMPARE(ViewBytes(*m_run.app), std::string(m_run.app->Document()->ReportText()));
        QTest::keyClick(View(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(View()->SelectionStart(), View()->Text().size());
        QVERIFY(View()->TopLine() > 1'000'000);
    }

    // The printed pages, read back from the PDF: every line of the report once,
    // in order, over several pages, and nothing inside the half-inch margins.
    void printsEveryLineOnPagesWithHalfInchMargins() {
        std::string words;
        for (int i = 0; i < 300; ++i)
            words.append("w").append(std::to_string(1000 + i)).append(" ");
        m_run.data->Write(QStringLiteral("lines.txt"), words);
        RunOnFiles(*m_run.app, m_run.hooks, {m_run.data->Path(QStringLiteral("lines.txt"))});
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_run.data->Path(QStringLiteral("report.pdf"));
        printer.setOutputFileName(pdf);
        View()->PrintTo(printer);
        QCOMPARE(printer.pageLayout().margins(QPageLayout::Inch), QMarginsF(0.5, 0.5, 0.5, 0.5));

        const std::optional<QString> text = PdfText(pdf, {QStringLiteral("-layout")});
        if (!text) QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList printed;
        for (const QString& line : text->split(QLatin1Char('\n'))) {
            const QString kept = QString(line).remove(QLatin1Char('\f')).trimmed();
            if (!kept.isEmpty()) printed << kept;
        }
        // pdftotext may drop the space of a narrow gap: compare without spaces.
        QStringList report = FromGreek(ViewBytes(*m_run.app)).trimmed().split(QLatin1Char('\n'));
        for (QStringList* lines : {&printed, &report}) {
            for (QString& line : *lines) line.remove(QLatin1Char(' '));
        }
        QCOMPARE(printed, report);
        QVERIFY(text->count(QLatin1Char('\f')) >= 2);  // several pages

        // Word boxes in points: half an inch is 36.
        const QString boxes = PdfText(pdf, {QStringLiteral("-bbox")}).value();
        const QRegularExpression page(
            QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
        const QRegularExpression word(QStringLiteral(
            "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\""));
        const QRegularExpressionMatch size = page.match(boxes);
        QVERIFY(size.hasMatch());
        const double width = size.captured(1).toDouble(), height = size.captured(2).toDouble();
        double left = width, top = height, right = 0, bottom = 0;
        for (auto it = word.globalMatch(boxes); it.hasNext();) {
            const QRegularExpressionMatch box = it.next();
            left = std::min(left, box.captured(1).toDouble());
            top = std::min(top, box.captured(2).toDouble());
            right = std::max(right, box.captured(3).toDouble());
            bottom = std::max(bottom, box.captured(4).toDouble());
        }
        QVERIFY2(left >= 35.5 && left <= 40, qPrintable(QString::number(left)));
        QVERIFY2(top >= 35.5, qPrintable(QString::number(top)));
        QVERIFY(right <= width - 35.5);
        QVERIFY(bottom <= height - 35.5);
    }

    void ctrlPOpensThePrintDialogOnly() {
        Act("ID_FILE_PRINT")->trigger();
        QCOMPARE(m_run.hooks.printDialogs, 1);
    }
};

QTEST_MAIN(TavroViewTest)
#include "tavro_view_test.moc"
