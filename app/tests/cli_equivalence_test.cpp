// The report that the desktop program saves equals the one tavro-cli writes
// for the same data, input files and View choices.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <sstream>

#include "app/main_frame.h"
#include "app/tests/gui_test_support.h"
#include "cli/cli.h"
#include "platform/cp1253.h"

using namespace tavro;
using namespace tavro::testing;

class CliEquivalenceTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_settings;

  private slots:
    void init() { UseTemporarySettings(m_settings.path()); }

    void savedReportEqualsTheCommandLines_data() {
        QTest::addColumn<bool>("allWords");
        QTest::addColumn<bool>("byFrequency");
        QTest::newRow("nouns, alphabetical") << false << false;
        QTest::newRow("nouns, by frequency") << false << true;
        QTest::newRow("all words, alphabetical") << true << false;
        QTest::newRow("all words, by frequency") << true << true;
    }
    void savedReportEqualsTheCommandLines() {
        QFETCH(bool, allWords);
        QFETCH(bool, byFrequency);
        const QDir source(QStringLiteral(TAVRO_SOURCE_DIR));
        const DataFiles data{source.filePath(QStringLiteral("data/finalList.txt")).toStdString(),
                             source.filePath(QStringLiteral("data/conjugation.txt")).toStdString()};
        QStringList corpus;
        for (const QString& name :
             QDir(source.filePath(QStringLiteral("data/corpus")))
                 .entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
            corpus.append(source.filePath(QStringLiteral("data/corpus/") + name));
        }
        QVERIFY(!corpus.isEmpty());

        ScriptedHooks hooks;
        auto app = StartApp(hooks, data);
        QVERIFY(app != nullptr);
        if (allWords)
            FindAction(app->MainFrame(), QStringLiteral("ID_VIEW_SHOW_ALL_WORDS"))->trigger();
        if (byFrequency)
            FindAction(app->MainFrame(), QStringLiteral("ID_VIEW_SORT_BY_FREQUENCY"))->trigger();
        RunOnFiles(*app, hooks, corpus);
        QTemporaryDir out;
        const QString saved = out.filePath(QStringLiteral("desktop report"));
        hooks.saveNames.push_back(saved);
        FindAction(app->MainFrame(), QStringLiteral("ID_FILE_SAVE"))->trigger();

        std::vector<std::string> args = {"--lexicon=" + data.lexicon,
                                         "--conjugation=" + data.conjugation};
        if (allWords) args.push_back("--all-words");
        if (byFrequency) args.push_back("--by-frequency");
        for (const QString& path : corpus) args.push_back(path.toStdString());
        std::ostringstream cliOut;
        std::ostringstream cliErr;
        PosixFileSystem files;
        QCOMPARE(RunCli(args, cliOut, cliErr, files, false), 0);

        const std::string desktop = FileBytes(saved);
        QVERIFY(desktop.size() > 100);
        QVERIFY2(desktop == cliOut.str(), "the desktop report differs from tavro-cli's");
        QCOMPARE(ViewBytes(*app), desktop);
    }

    // A corpus in UTF-8, read as Automatic chooses, gives the report of the same
    // corpus in cp1253; a file that does not decode cleanly is named in one
    // message after the run.
    void utf8CorpusGivesTheSameReportAndOneWarning() {
        TestData data;
        QStringList cp1253 = data.CorpusFiles();
        QStringList utf8;
        for (const QString& path : cp1253) {
            const QString copy = path + QStringLiteral(".utf8");
            data.Write(QFileInfo(copy).fileName(), Cp1253ToUtf8(FileBytes(path)));
            utf8.append(copy);
        }
        data.Write(QStringLiteral("bad.utf8"), "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 \xFF x");
        std::string expected;
        {
            ScriptedHooks hooks;
            auto app = StartApp(hooks, data.Files());
            QVERIFY(app != nullptr);
            FindAction(app->MainFrame(), QStringLiteral("ID_VIEW_SHOW_ALL_WORDS"))->trigger();
            RunOnFiles(*app, hooks, cp1253);
            expected = ViewBytes(*app);
        }
        QVERIFY(expected.size() > 20);
        ScriptedHooks hooks;
        auto app = StartApp(hooks, data.Files());
        QVERIFY(app != nullptr);
        FindAction(app->MainFrame(), QStringLiteral("ID_VIEW_SHOW_ALL_WORDS"))->trigger();
        RunOnFiles(*app, hooks, utf8);
        QVERIFY2(ViewBytes(*app) == expected, "the UTF-8 corpus gives another report");
        QVERIFY(hooks.messages.isEmpty());

        // The Select Files list still holds the UTF-8 files: one more is added.
        RunOnFiles(*app, hooks, {data.Path(QStringLiteral("bad.utf8"))});
        QCOMPARE(hooks.messages.size(), 1);
        QVERIFY2(hooks.messages[0].contains(data.Path(QStringLiteral("bad.utf8")) +
                                            QStringLiteral(": 1 byte sequence is not valid UTF-8")),
                 qPrintable(hooks.messages[0]));
    }
};

QTEST_MAIN(CliEquivalenceTest)
#include "cli_equivalence_test.moc"
