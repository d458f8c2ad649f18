// How runs start and end: files handed over by the desktop entry or --input,
// files dropped on the window, and a run that fails on an input file.

#include "app/input_run.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "app/document_session.h"
#include "app/main_frame.h"
#include "app/tests/gui_test_support.h"
#include "corpus/qt/select_files_dlg.h"

using namespace tavro;
using namespace tavro::testing;

namespace {

// The arguments a file manager passes when it opens `files` with the program,
// following the Exec line of the desktop entry.
QStringList DesktopEntryArguments(const QStringList& files) {
    QFile entry(QStringLiteral(TAVRO_SOURCE_DIR "/app/tavro.desktop"));
    if (!entry.open(QIODevice::ReadOnly)) return {QStringLiteral("<no desktop entry>")};
    QStringList arguments;
    for (const QByteArray& line : entry.readAll().split('\n')) {
        if (!line.startsWith("Exec=")) continue;
        const QStringList words = QString::fromUtf8(line.mid(5)).split(QLatin1Char(' '));
        for (const QString& word : words.mid(1)) {
            if (word == QLatin1String("%F")) {
                arguments += files;
            } else if (word == QLatin1String("%f")) {
                arguments += files.first();
            } else {
                arguments += word;
            }
        }
    }
    return arguments;
}

// Drops `files` on `target` as a file manager would.
void DropFiles(QWidget* target, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& file : files) urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
}

}  // namespace

class InputRunTest : public QObject {
    Q_OBJECT

  private:
    RunningApp m_run;

    CTavroDoc* Doc() { return m_run.app->Document(); }
    std::vector<std::string> Paths(const QStringList& files) {
        std::vector<std::string> paths;
        for (const QString& file : files) paths.push_back(file.toStdString());
        return paths;
    }

  private slots:
    void init() { QVERIFY(m_run.Start()); }
    void cleanup() { m_run.Stop(); }

    // A missing or unreadable input file used to end the program, and the
    // report on screen with it.
    void aFailedRunLeavesTheReportAndTheProgramGoesOn_data() {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QStringLiteral("gone.txt")
                                 << QStringLiteral(
                                        "Error while opening file %1\n\n"
                                        "No such file or directory");
        QTest::newRow("a folder") << QStringLiteral("folder")
                                  << QStringLiteral(
                                         "Error while opening file %1\n\n"
                                         "Is a directory");
    }
    void aFailedRunLeavesTheReportAndTheProgramGoesOn() {
        QFETCH(QString, bad);
        QFETCH(QString, message);
        QDir(m_run.data->Dir()).mkdir(QStringLiteral("folder"));
        const QStringList corpus = m_run.data->CorpusFiles();
        RunOnFiles(*m_run.app, m_run.hooks, corpus);
        const std::string report(Doc()->ReportText());

        const QString badPath = m_run.data->Path(bad);
        RunOnFiles(*m_run.app, m_run.hooks, {badPath});
        QCOMPARE(m_run.hooks.messages, QStringList({message.arg(badPath)}));
        QVERIFY(!m_run.hooks.endedWith.has_value());
        QCOMPARE(std::string(Doc()->ReportText()), report);
        QCOMPARE(ViewBytes(*m_run.app), report);
        QCOMPARE(Doc()->InputFiles(), Paths(corpus));
        QVERIFY(m_run.app->MainFrame()->isVisible());

        // The next Select Files starts from the list that failed, to be mended.
        QStringList offered;
        OnNext<CSelectFilesDlg>([&offered](CSelectFilesDlg* dlg) {
            offered = dlg->ListedFiles();
            dlg->OnSelectCancel();
        });
        m_run.Act("ID_FILE_OPEN_INPUT_FILES")->trigger();
        QCOMPARE(offered.size(), corpus.size() + 1);
        QVERIFY(offered.contains(badPath));
    }

    void aNewDocumentForgetsTheListOfAFailedRun() {
        RunOnFiles(*m_run.app, m_run.hooks, {m_run.data->Path(QStringLiteral("gone.txt"))});
        m_run.Act("ID_FILE_NEW")->trigger();
        QVERIFY(m_run.app->MainFrame()->Runs().ListToEdit().isEmpty());
    }

    // "Open With" used to make a corpus the document, which Save then emptied.
    void openWithRunsOnTheFilesAndNeverOverwritesThem() {
        m_run.Stop();
        const QStringList corpus = m_run.data->CorpusFiles();
        const std::string firstBytes = FileBytes(corpus[0]);
        m_run.app = StartApp(m_run.hooks, m_run.data->Files(), DesktopEntryArguments(corpus));
        QVERIFY(m_run.app != nullptr);
        QTRY_VERIFY(!Doc()->ReportText().empty());
        // The files are the run's input in the order given, not the document.
        QCOMPARE(Doc()->InputFiles(), Paths(corpus));
        QCOMPARE(m_run.app->Session()->PathName(), QString());
        QCOMPARE(m_run.app->MainFrame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
        m_run.Act("ID_FILE_SAVE")->trigger();  // Save As comes up and is cancelled
        QCOMPARE(FileBytes(corpus[0]), firstBytes);
        QVERIFY(m_run.hooks.messages.isEmpty());
    }

    void inputArgumentsMayBeRelativeOrUrls() {
        m_run.Stop();
        const QStringList corpus = m_run.data->CorpusFiles();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_run.data->Dir());
        m_run.app = StartApp(m_run.hooks, m_run.data->Files(),
                             {QStringLiteral("--input"), QStringLiteral("a.txt"),
                              QUrl::fromLocalFile(corpus[2]).toString()});
        QDir::setCurrent(previous);
        QVERIFY(m_run.app != nullptr);
        QTRY_VERIFY(!Doc()->ReportText().empty());
        QCOMPARE(Doc()->InputFiles(), Paths({corpus[0], corpus[2]}));
    }

    void aMissingFileAtStartIsReportedAndTheProgramGoesOn() {
        m_run.Stop();
        const QString missing = m_run.data->Path(QStringLiteral("gone.txt"));
        m_run.app =
            StartApp(m_run.hooks, m_run.data->Files(), {QStringLiteral("--input"), missing});
        QVERIFY(m_run.app != nullptr);
        QTRY_COMPARE(m_run.hooks.messages.size(), 1);
        QVERIFY(m_run.hooks.messages[0].startsWith("Error while opening file " + missing));
        QVERIFY(!m_run.hooks.endedWith.has_value());
        QVERIFY(m_run.app->MainFrame()->isVisible());
    }

    void filesDroppedOnTheWindowGoIntoSelectFiles() {
        const QStringList corpus = m_run.data->CorpusFiles();
        RunOnFiles(*m_run.app, m_run.hooks, {corpus[0]});
        QStringList offered;
        OnNext<CSelectFilesDlg>([&offered](CSelectFilesDlg* dlg) {
            offered = dlg->ListedFiles();
            dlg->OnSelectOk();
        });
        DropFiles(m_run.app->MainFrame(), {corpus[1], corpus[2]});
        // The list so far and the dropped files; OK runs over them all.
        QTRY_COMPARE(offered, corpus);
        QTRY_COMPARE(Doc()->InputFiles(), Paths(corpus));
    }
};

QTEST_MAIN(InputRunTest)
#include "input_run_test.moc"
