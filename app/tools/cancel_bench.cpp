// How soon a run stops after Cancel, and how the Please Wait bar moves within
// one big file: a real run of the desktop program over CORPUS (one file), once
// to its end while the bar is sampled, then again with Cancel pressed after a
// while. Prints its figures; asserts nothing.
//
// Usage: tavro_cancel_bench LEXICON CONJUGATION CORPUS [CANCEL_AFTER_S]
//        (QT_QPA_PLATFORM=offscreen, or on a display)

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/main_frame.h"
#include "app/tavro_app.h"
#include "corpus/qt/progress_dlg.h"

using namespace tavro;

namespace {

CProgressDlg* VisibleProgressDlg() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dlg = qobject_cast<CProgressDlg*>(widget); dlg != nullptr && dlg->isVisible())
            return dlg;
    }
    return nullptr;
}

// What the bar showed while a run worked, sampled every few milliseconds.
struct BarSamples {
    std::vector<double> shares;
    qint64 longestStillMs = 0;  // the longest time the bar did not move
    QString lastSpeed;
};

// Samples the bar every `everyMs` while `active` holds; each sample schedules
// the next one afresh.
void SampleBar(BarSamples& samples, QElapsedTimer& clock, int everyMs, const bool& active,
               qint64 lastMove = 0, bool first = true) {
    QTimer::singleShot(first ? 0 : everyMs, [&samples, &clock, everyMs, &active, lastMove] {
        if (!active) return;
        qint64 moved = lastMove;
        if (CProgressDlg* dlg = VisibleProgressDlg()) {
            const double share = dlg->BarShare();
            if (samples.shares.empty() || share != samples.shares.back()) {
                samples.longestStillMs = std::max(samples.longestStillMs, clock.elapsed() - moved);
                moved = clock.elapsed();
                samples.shares.push_back(share);
            }
            samples.lastSpeed = dlg->SpeedText();
        }
        SampleBar(samples, clock, everyMs, active, moved, false);
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: tavro_cancel_bench LEXICON CONJUGATION CORPUS [CANCEL_S]\n");
        return 2;
    }
    const double cancelAfter = args.size() > 4 ? args[4].toDouble() : 0.5;

    // Settings of its own, so that a user's remembered choices do not count.
    QTemporaryDir settings;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ShellHooks hooks = DefaultShellHooks();
    hooks.showMessage = [](QWidget*, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    CTavroApp app(hooks);
    if (!app.InitInstance({}, {args[1].toStdString(), args[2].toStdString()})) return 1;
    InputRun& runs = app.MainFrame()->Runs();
    QApplication::processEvents();

    // To the end, with the bar sampled.
    QElapsedTimer clock;
    BarSamples bar;
    bool sampling = true;
    clock.start();
    SampleBar(bar, clock, 5, sampling);
    if (!runs.Run({args[3]}, app.MainFrame()).ok()) return 1;
    const qint64 wholeMs = clock.elapsed();
    sampling = false;

    // Again, with Cancel pressed after a while.
    qint64 pressedAtNs = 0;
    QTimer::singleShot(static_cast<int>(cancelAfter * 1000), [&] {
        if (CProgressDlg* dlg = VisibleProgressDlg()) {
            pressedAtNs = clock.nsecsElapsed();
            dlg->findChild<QPushButton*>(QStringLiteral("IDCANCEL"))->click();
        }
    });
    clock.restart();
    const Status cancelled = runs.Run({args[3]}, app.MainFrame());
    const qint64 returnedAtNs = clock.nsecsElapsed();

    std::printf("whole run:             %lld ms (%s at the end)\n", static_cast<long long>(wholeMs),
                qPrintable(bar.lastSpeed));
    std::printf("bar positions seen:    %zu, longest still: %lld ms\n", bar.shares.size(),
                static_cast<long long>(bar.longestStillMs));
    if (pressedAtNs == 0 || cancelled.kind() != Status::Kind::kCancelled) {
        std::printf("cancel: the run ended before Cancel was pressed\n");
        return 0;
    }
    std::printf("cancel pressed after:  %.0f ms\n", static_cast<double>(pressedAtNs) / 1e6);
    std::printf("run returned after:    %.1f ms more (report kept: %s)\n",
                static_cast<double>(returnedAtNs - pressedAtNs) / 1e6,
                app.Document()->ReportText().empty() ? "no" : "yes");
    return 0;
}
