// The "Please Wait" window: its texts, its Cancel button, its bar within and
// across files, what it shows while a real run reads its files, and that the
// rest of the program takes no input while it is there.

#include "corpus/qt/progress_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <functional>

#include "app/main_frame.h"
#include "app/tavro_app.h"
#include "app/tests/gui_test_support.h"
#include "platform/posix_file_system.h"

using namespace tavro;
using namespace tavro::testing;

namespace {

// Reads the operating system's files and notes, at each opening, what the
// progress window shows.
class WatchingFileSystem : public PosixFileSystem {
  public:
    OpenedSource OpenForRead(const std::string& path) override {
        if (duringRead) duringRead();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dlg = qobject_cast<CProgressDlg*>(widget);
                dlg != nullptr && dlg->isVisible()) {
                seen.append(QStringLiteral("%1..%2 at %3 showing '%4'")
                                .arg(dlg->Low())
                                .arg(dlg->High())
                                .arg(dlg->Pos())
                                .arg(dlg->FileName()));
            }
        }
        return PosixFileSystem::OpenForRead(path);
    }
    QStringList seen;
    std::function<void()> duringRead;
};

// The program started on test data, reading through a watching file system.
struct WatchedApp {
    TestData data;
    WatchingFileSystem files;
    ScriptedHooks hooks;
    CTavroApp app{hooks.Make(), &files};
};

CProgressDlg* VisibleProgressDlg() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dlg = qobject_cast<CProgressDlg*>(widget); dlg != nullptr && dlg->isVisible())
            return dlg;
    }
    return nullptr;
}

// Calls `act` with the run's window when the run opens its `n`-th file (from 1).
void AtOpening(WatchingFileSystem& files, int n, std::function<void(CProgressDlg*)> act) {
    auto opened = std::make_shared<int>(0);
    files.duringRead = [opened, n, act] {
        if (++*opened == n) act(VisibleProgressDlg());
    };
}

}  // namespace

class ProgressDlgTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_settings;

  private slots:
    void init() { UseTemporarySettings(m_settings.path()); }

    void textsCancelButtonAndNoCloseBox() {
        CProgressDlg dlg;
        dlg.Create();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Please Wait"));
        QVERIFY(!dlg.isModal());
        QVERIFY(!(dlg.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("processingLabel"))->text() ==
                QStringLiteral("Processing Input Files"));
        auto* cancel = dlg.findChild<QPushButton*>(QStringLiteral("IDCANCEL"));
        QVERIFY(cancel != nullptr);
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QVERIFY(!dlg.CancelRequested());
        QVERIFY(dlg.SpeedText().endsWith(QStringLiteral("elapsed")));
    }

    void cancelEscapeAndCloseAskToStop_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Cancel button") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close request") << 2;
    }
    void cancelEscapeAndCloseAskToStop() {
        QFETCH(int, way);
        CProgressDlg dlg;
        dlg.Create();
        if (way == 0)
            QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("IDCANCEL")),
                              Qt::LeftButton);
        if (way == 1) QTest::keyClick(&dlg, Qt::Key_Escape);
        if (way == 2) dlg.close();
        QVERIFY(dlg.CancelRequested());
        // The run destroys the window: until then it stays.
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->isEnabled());
    }

    void oneFileFillsTheBar() {
        CProgressDlg dlg;
        dlg.Create();
        dlg.SetRange(1, 2);
        dlg.SetStep(1);
        dlg.SetPos(1);
        QCOMPARE(dlg.Low(), 1);
        QCOMPARE(dlg.High(), 2);
        QCOMPARE(dlg.Pos(), 1);
        QCOMPARE(dlg.BarShare(), 0.0);
        dlg.SetFileName("/data/one.txt");
        QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("m_ctlFileName"))->text(),
                 QStringLiteral("/data/one.txt"));
        dlg.StepIt();
        QCOMPARE(dlg.Pos(), 2);
        QCOMPARE(dlg.BarShare(), 1.0);
    }

    // The bar used to step once per file: one big file left it still until the end.
    void barMovesWithinOneFileAndShowsTheSpeed() {
        CProgressDlg dlg;
        dlg.Create();
        dlg.SetRange(1, 3);  // two files
        dlg.SetStep(1);
        dlg.SetPos(1);
        dlg.SetFileName("/data/big.txt");
        QTest::qWait(300);
        dlg.ShowBytesRead(500'000'000, 1'000'000'000);
        QCOMPARE(dlg.BarShare(), 0.25);
        QVERIFY2(dlg.SpeedText().contains(QStringLiteral(" MB/s")), qPrintable(dlg.SpeedText()));
        QTest::qWait(60);
        dlg.ShowBytesRead(1'000'000'000, 1'000'000'000);
        QCOMPARE(dlg.BarShare(), 0.5);
        dlg.StepIt();
        QCOMPARE(dlg.BarShare(), 0.5);
        // A file of unknown size moves the bar once it is read.
        dlg.SetFileName("-");
        QTest::qWait(60);
        dlg.ShowBytesRead(4'000'000, std::nullopt);
        QCOMPARE(dlg.BarShare(), 0.5);
        dlg.StepIt();
        QCOMPARE(dlg.BarShare(), 1.0);
    }

    // The bar's range used to be cut to 16 bits; any count of files fits now.
    void rangesBeyondAnIntStillShowTheShare() {
        CProgressDlg dlg;
        const std::int64_t files = std::int64_t{5} << 32;
        dlg.SetRange(1, files + 1);
        dlg.SetStep(1);
        dlg.SetPos(1 + files / 2);
        QVERIFY2(dlg.BarShare() > 0.49 && dlg.BarShare() < 0.51,
                 qPrintable(QString::number(dlg.BarShare())));
        dlg.SetRange(1, 70001);
        dlg.SetPos(70001);
        QCOMPARE(dlg.BarShare(), 1.0);
    }

    void aRunShowsEachFileAndStepsOncePerFile() {
        WatchedApp watched;
        auto& [data, files, hooks, app] = watched;
        QVERIFY(app.InitInstance({}, data.Files()));
        files.seen.clear();
        RunOnFiles(app, hooks, data.CorpusFiles());
        const QStringList paths = data.CorpusFiles();
        QCOMPARE(files.seen, QStringList({
                                 QStringLiteral("1..4 at 1 showing ''"),
                                 QStringLiteral("1..4 at 2 showing '%1'").arg(paths[0]),
                                 QStringLiteral("1..4 at 3 showing '%1'").arg(paths[1]),
                             }));
        // The window is gone with the run.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            QVERIFY(qobject_cast<CProgressDlg*>(widget) == nullptr || !widget->isVisible());
        }
    }

    void aCloseRequestDuringARunIsDropped() {
        WatchedApp watched;
        auto& [data, files, hooks, app] = watched;
        QVERIFY(app.InitInstance({}, data.Files()));
        bool closed = true;
        files.duringRead = [&] { closed = app.MainFrame()->close(); };
        RunOnFiles(app, hooks, data.CorpusFiles());
        QVERIFY(!closed);
        QVERIFY(app.MainFrame()->isVisible());
        QVERIFY(hooks.saveAnswersAsked.isEmpty());
        QVERIFY(!app.Document()->ReportText().empty());
    }

    void noWindowForAnEmptyList() {
        WatchedApp watched;
        auto& [data, files, hooks, app] = watched;
        QVERIFY(app.InitInstance({}, data.Files()));
        files.seen.clear();
        RunOnFiles(app, hooks, {});
        QVERIFY(files.seen.isEmpty());
        QCOMPARE(hooks.messages, QStringList({"No Input Files have been Selected.\n"}));
    }

    // A run could not be stopped: it had no Cancel button and took no input.
    void cancelledRunKeepsThePreviousReport_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelledRunKeepsThePreviousReport() {
        QFETCH(bool, escape);
        WatchedApp watched;
        auto& [data, files, hooks, app] = watched;
        QVERIFY(app.InitInstance({}, data.Files()));
        RunOnFiles(app, hooks, {data.CorpusFiles()[0]});
        const std::string report(app.Document()->ReportText());
        QVERIFY(!report.empty());

        AtOpening(files, 2, [escape](CProgressDlg* dlg) {
            QVERIFY(dlg != nullptr);
            if (escape) {
                QTest::keyClick(dlg, Qt::Key_Escape);
            } else {
                QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("IDCANCEL")),
                                  Qt::LeftButton);
            }
        });
        RunOnFiles(app, hooks, data.CorpusFiles());
        // Stopped before the third file; nothing of it shows, nothing is said.
        QCOMPARE(files.seen.size(), 1 + 2);
        QCOMPARE(std::string(app.Document()->ReportText()), report);
        QCOMPARE(ViewBytes(app), report);
        QCOMPARE(app.Document()->InputFiles().size(), std::size_t{1});
        QVERIFY(hooks.messages.isEmpty());
        QVERIFY(!hooks.endedWith.has_value());
        QVERIFY(VisibleProgressDlg() == nullptr);
        QVERIFY(app.MainFrame()->isVisible());
    }

    // A click on Save during a run opened Save As once the run had ended.
    void inputToTheMainWindowDuringARunIsDropped() {
        WatchedApp watched;
        auto& [data, files, hooks, app] = watched;
        QVERIFY(app.InitInstance({}, data.Files()));
        const QString target = data.Path(QStringLiteral("not saved.txt"));
        hooks.saveNames.push_back(target);
        CMainFrame* frame = app.MainFrame();
        AtOpening(files, 2, [frame](CProgressDlg*) {
            auto* bar = frame->findChild<QToolBar*>(QStringLiteral("m_wndToolBar"));
            QWidget* save = bar->widgetForAction(FindAction(frame, QStringLiteral("ID_FILE_SAVE")));
            QTest::mouseClick(save, Qt::LeftButton);
            // Keys reach shortcuts only in the active window.
            frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(frame));
            QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
            QTest::keyClick(frame, Qt::Key_O, Qt::ControlModifier);
        });
        RunOnFiles(app, hooks, data.CorpusFiles());
        QVERIFY(!app.Document()->ReportText().empty());
        QTest::qWait(50);
        QCOMPARE(hooks.saveNames.size(), std::size_t{1});
        QVERIFY(!QFile::exists(target));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        // Once the run is over, the window answers again.
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(hooks.saveNames.empty());
        QCOMPARE(FileBytes(target), std::string(app.Document()->ReportText()));
    }
};

QTEST_MAIN(ProgressDlgTest)
#include "progress_dlg_test.moc"
