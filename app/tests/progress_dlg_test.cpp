// The "Please Wait" window: its texts, that it cannot be closed, its bar, and
// what it shows while a real run reads its files.

#include "corpus/qt/progress_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
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

}  // namespace

class ProgressDlgTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_settings;

  private slots:
    void init() { UseTemporarySettings(m_settings.path()); }

    void textsAndNoCloseBox() {
        CProgressDlg dlg;
        dlg.Create();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Please Wait"));
        QVERIFY(!dlg.isModal());
        QVERIFY(!(dlg.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("processingLabel"))->text() ==
                QStringLiteral("Processing Input Files"));
        dlg.close();
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isVisible());
    }

    void oneFileFillsTheBar() {
        CProgressDlg dlg;
        dlg.Create();
        dlg.SetRange(1, 2);
        dlg.SetStep(1);
        dlg.SetPos(1);
        auto* bar = dlg.findChild<QProgressBar*>(QStringLiteral("m_ctlProgress"));
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 2);
        QCOMPARE(bar->value(), 1);
        dlg.SetFileName("/data/one.txt");
        QCOMPARE(dlg.findChild<QLabel*>(QStringLiteral("m_ctlFileName"))->text(),
                 QStringLiteral("/data/one.txt"));
        dlg.StepIt();
        QCOMPARE(bar->value(), 2);
    }

    // The bar's range used to be cut to 16 bits; any count of files fits now.
    void rangesBeyondAnIntStillShowTheShare() {
        CProgressDlg dlg;
        const std::int64_t files = std::int64_t{5} << 32;
        dlg.SetRange(1, files + 1);
        dlg.SetStep(1);
        dlg.SetPos(1 + files / 2);
        auto* bar = dlg.findChild<QProgressBar*>(QStringLiteral("m_ctlProgress"));
        const double share =
            double(bar->value() - bar->minimum()) / double(bar->maximum() - bar->minimum());
        QVERIFY2(share > 0.49 && share < 0.51, qPrintable(QString::number(share)));
        dlg.SetRange(1, 70001);
        dlg.SetPos(70001);
        QCOMPARE(bar->maximum(), 70001);
        QCOMPARE(bar->value(), 70001);
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

    void unreadableFileEndsTheProcess() {
        TestData data;
        ScriptedHooks hooks;
        CTavroApp app(hooks.Make());
        QVERIFY(app.InitInstance({}, data.Files()));
        const QString missing = data.Path(QStringLiteral("gone.txt"));
        RunOnFiles(app, hooks, {missing});
        QCOMPARE(hooks.messages, QStringList({"Error while opening file " + missing}));
        QCOMPARE(hooks.endedWith, std::optional<int>(255));
    }
};

QTEST_MAIN(ProgressDlgTest)
#include "progress_dlg_test.moc"
