// How long the analysis window takes to show a table of a million rows: a real
// run over a generated corpus of that many distinct words, the run's analysis
// built by the engine, then the window switched to all words (the model filled
// in frequency order and the table painted), the other orders, a filter and a
// jump to the end. Prints its figures; asserts nothing.
//
// Usage: tavro_analysis_bench LEXICON CONJUGATION [WORDS]   (QT_QPA_PLATFORM=offscreen)

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <string>

#include "app/analysis_view.h"
#include "app/main_frame.h"
#include "app/native_path.h"
#include "app/tavro_app.h"

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

double Ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// Paints the table now, as it would be on screen.
void Paint(QTableView* table) {
    table->viewport()->repaint();
    QApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: tavro_analysis_bench LEXICON CONJUGATION [WORDS]\n");
        return 2;
    }
    const long words = args.size() > 3 ? args[3].toLong() : 1'000'000;

    QTemporaryDir dir;
    const QString corpus = dir.filePath(QStringLiteral("corpus.txt"));
    {
        // Counts that differ, so that the frequency order has work to do.
        std::string text;
        for (long i = 0; i < words; ++i) {
            const std::string word = WordFor(i);
            for (long n = 0; n < 1 + (i * 7919) % 3; ++n) text.append(word).append(" ");
            if (i % 12 == 11) text += '\n';
        }
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
    CMainFrame* frame = app.MainFrame();
    frame->resize(1100, 720);
    CAnalysisView* view = frame->AnalysisView();
    QTableView* table = view->Table();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    if (!app.Document()->OpenInputFiles({NativePath(corpus)}).ok()) return 1;
    const double runMs = Ms(timer);

    timer.restart();
    const RunAnalysis* analysis = app.Document()->Analysis();
    const double buildMs = Ms(timer);

    // The window shows the nouns first; then the user asks for all words.
    view->OnRunChanged();
    frame->ShowAnalysis(true);
    view->Refresh();
    Paint(table);
    auto* content = view->findChild<QComboBox*>(QStringLiteral("analysisContent"));
    auto* order = view->findChild<QComboBox*>(QStringLiteral("analysisOrder"));
    timer.restart();
    content->setCurrentIndex(content->findText(QStringLiteral("All words")));
    Paint(table);
    const double showMs = Ms(timer);
    const int rows = view->Model()->rowCount();

    const auto timed = [&](auto&& action) {
        timer.restart();
        action();
        Paint(table);
        return Ms(timer);
    };
    const double greekMs = timed(
        [&] { order->setCurrentIndex(order->findText(QStringLiteral("Greek dictionary order"))); });
    const double bytesMs =
        timed([&] { order->setCurrentIndex(order->findText(QStringLiteral("Byte order"))); });
    const double backMs =
        timed([&] { order->setCurrentIndex(order->findText(QStringLiteral("Frequency"))); });
    const double filterMs = timed([&] { view->Model()->SetTextFilter(QStringLiteral("αβ")); });
    const int filtered = view->Model()->rowCount();
    const double clearMs = timed([&] { view->Model()->SetTextFilter(QString()); });
    const double endMs =
        timed([&] { table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum()); });

    std::printf("analysis window, %d rows of all words (%zu distinct words in the run)\n", rows,
                analysis->Words().size());
    std::printf("  run (counting, crediting, report): %8.1f ms\n", runMs);
    std::printf("  analysis built by the engine:      %8.1f ms\n", buildMs);
    std::printf("  table shown (frequency order):     %8.1f ms\n", showMs);
    std::printf("  Greek dictionary order, first time:%8.1f ms\n", greekMs);
    std::printf("  byte order, first time:            %8.1f ms\n", bytesMs);
    std::printf("  back to frequency (kept):          %8.1f ms\n", backMs);
    std::printf("  filter \"αβ\" (%d rows):            %8.1f ms\n", filtered, filterMs);
    std::printf("  filter cleared:                    %8.1f ms\n", clearMs);
    std::printf("  jump to the last row:              %8.1f ms\n", endMs);
    return 0;
}
