// How long the desktop view freezes while it takes in a report of a million
// lines: a real run over a generated corpus of that many distinct words (Show
// All Words), then the view's update on its own, a repaint and a jump to the
// end. Prints its figures; asserts nothing.
//
// Usage: tavro_view_bench LEXICON CONJUGATION [LINES]   (QT_QPA_PLATFORM=offscreen)

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "app/framework_ids.h"
#include "app/main_frame.h"
#include "app/native_path.h"
#include "app/tavro_app.h"
#include "app/tavro_view.h"

using namespace tavro;

namespace {

// The i-th word: five or more Greek small letters (cp1253 0xE1..0xF9, final
// sigma left out), all distinct.
std::string WordFor(long i) {
    std::string word;
    for (int k = 0; k < 5 || i > 0; ++k) {
        int letter = static_cast<int>(i % 24);
        i /= 24;
        unsigned char byte = static_cast<unsigned char>(0xE1 + letter);
        if (byte >= 0xF2) ++byte;  // skip final sigma
        word += static_cast<char>(byte);
    }
    return word;
}

double Ms(QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tavro_view_bench LEXICON CONJUGATION [LINES]\n");
        return 2;
    }
    const long lines = args.size() > 3 ? args[3].toLong() : 1'000'000;

    QTemporaryDir dir;
    const QString corpus = dir.filePath(QStringLiteral("corpus.txt"));
    {
        std::string text;
        for (long i = 0; i < lines; ++i) text += WordFor(i) + (i % 12 == 11 ? "\n" : " ");
        QFile file(corpus);
        if (!file.open(QIODevice::WriteOnly)) return 1;
        file.write(text.data(), static_cast<qint64>(text.size()));
    }

    ShellHooks hooks = DefaultShellHooks();
    hooks.showMessage = [](QWidget*, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    };
    SetApplicationNames();
    CTavroApp app(hooks);
    if (!app.InitInstance({}, {args[1].toStdString(), args[2].toStdString()})) return 1;
    CTavroView* view = app.MainFrame()->GetActiveView();
    app.MainFrame()->RouteCommand(ID_VIEW_SHOW_ALL_WORDS);
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    const Status run = app.Document()->OpenInputFiles({NativePath(corpus)});
    const double runMs = Ms(timer);
    if (!run.ok()) return 1;
    const std::size_t reportBytes = app.Document()->ReportText().size();

    timer.restart();
    view->OnUpdate();
    const double updateMs = Ms(timer);
    timer.restart();
    view->repaint();
    QApplication::processEvents();
    const double paintMs = Ms(timer);
    timer.restart();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->repaint();
    QApplication::processEvents();
    const double endMs = Ms(timer);

    std::printf("report: %ld lines asked, %d lines shown, %zu bytes\n", lines,
                view->LineCount() - 1, reportBytes);
    std::printf("run with view update: %.0f ms\n", runMs);
    std::printf("view update alone:    %.0f ms\n", updateMs);
    std::printf("first repaint:        %.0f ms\n", paintMs);
    std::printf("jump to end, repaint: %.0f ms\n", endMs);
    return 0;
}
