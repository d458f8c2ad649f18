// Start-up: the document's data files, the failures that end start-up, the
// document named on the command line, where the data files are looked for,
// and the settings: the recent-file list, the window and the choices.

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTest>

#include "app/data_location.h"
#include "app/document_session.h"
#include "app/main_frame.h"
#include "app/program_settings.h"
#include "app/tavro_view.h"
#include "app/tests/gui_test_support.h"
#include "platform/posix_file_system.h"

using namespace tavro;
using namespace tavro::testing;

class StartUpTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_settings;

  private slots:
    void init() {
        m_settings = std::make_unique<QTemporaryDir>();
        UseTemporarySettings(m_settings->path());
    }

    void missingLexiconEndsStartUp() {
        TestData data;
        QFile::remove(data.Path(QStringLiteral("finalList.txt")));
        ScriptedHooks hooks;
        CTavroApp app(hooks.Make());
        QVERIFY(!app.InitInstance({}, data.Files()));
        QCOMPARE(hooks.messages, QStringList({"Error: File could not be opened",
                                              "Failed to create empty document."}));
        QCOMPARE(app.ExitCode(), kExitStartUpFailed);
        QVERIFY(app.MainFrame() == nullptr);
        QVERIFY(!hooks.endedWith.has_value());
    }

    void missingInflectionTableEndsTheProcess() {
        TestData data;
        QFile::remove(data.Path(QStringLiteral("conjugation.txt")));
        ScriptedHooks hooks;
        CTavroApp app(hooks.Make());
        QVERIFY(!app.InitInstance({}, data.Files()));
        QCOMPARE(hooks.messages, QStringList({"Error while opening file " +
                                              data.Path(QStringLiteral("conjugation.txt"))}));
        QCOMPARE(hooks.endedWith, std::optional<int>(255));
        QVERIFY(app.MainFrame() == nullptr);
    }

    void settingsLiveUnderTheProgramsNames() {
        TestData data;
        ScriptedHooks hooks;
        auto app = StartApp(hooks, data.Files());
        QVERIFY(app != nullptr);
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Tavro"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tavro"));
    }

    void recentFilesMoveOverFromTheOldNamesOnce() {
        QSettings::setDefaultFormat(QSettings::IniFormat);
        const QString listed = QStringLiteral("/reports/one.txt");
        {
            QSettings old(QSettings::IniFormat, QSettings::UserScope,
                          QString::fromLatin1(kOldOrganisation), QStringLiteral("Tavro"));
            old.setValue(QStringLiteral("Recent File List/File1"), listed);
            old.setValue(QStringLiteral("Settings/PreviewPages"), 0);
        }
        TestData data;
        ScriptedHooks hooks;
        auto app = StartApp(hooks, data.Files());
        QCOMPARE(app->RecentFiles().Entries(), QStringList({listed}));
        QSettings old(QSettings::IniFormat, QSettings::UserScope,
                      QString::fromLatin1(kOldOrganisation), QStringLiteral("Tavro"));
        QVERIFY(old.allKeys().isEmpty());
        app->ExitInstance();
        app.reset();
        QCOMPARE(QSettings().value(QStringLiteral("Recent File List/File1")).toString(), listed);
    }

    void windowAndChoicesAreRemembered() {
        TestData data;
        QRect geometry;
        {
            ScriptedHooks hooks;
            auto app = StartApp(hooks, data.Files());
            app->MainFrame()->setGeometry(120, 90, 640, 430);
            geometry = app->MainFrame()->geometry();
            for (const char* name : {"ID_VIEW_SORT_BY_FREQUENCY", "ID_VIEW_SHOW_ALL_WORDS",
                                     "ID_TOOLS_CAPITALS_ACCENTS", "ID_TOOLS_DERIVED_NOUNS"})
                FindAction(app->MainFrame(), QString::fromLatin1(name))->trigger();
            app->MainFrame()->close();
            app->ExitInstance();
        }
        ScriptedHooks hooks;
        auto app = StartApp(hooks, data.Files());
        CTavroDoc* doc = app->Document();
        QVERIFY(doc->SortByFrequency());
        QVERIFY(doc->ShowAllWords());
        QVERIFY(doc->CapitalsAccents());
        QVERIFY(doc->DerivedNouns());
        auto checked = [&](const char* name) {
            return FindAction(app->MainFrame(), QString::fromLatin1(name))->isChecked();
        };
        QVERIFY(checked("ID_VIEW_SORT_BY_FREQUENCY") && checked("ID_VIEW_SHOW_ALL_WORDS"));
        QVERIFY(!checked("ID_VIEW_SORT_ALPHABETICALLY") && !checked("ID_VIEW_SHOW_NOUNS"));
        QVERIFY(checked("ID_TOOLS_CAPITALS_ACCENTS") && checked("ID_TOOLS_DERIVED_NOUNS"));
        QCOMPARE(app->MainFrame()->size(), geometry.size());
    }

    void namedFileBecomesTheDocumentAndIsNotRead() {
        TestData data;
        const QString named = data.Path(QStringLiteral("old report.txt"));
        data.Write(QStringLiteral("old report.txt"), "zzz 9\n");
        ScriptedHooks hooks;
        auto app = StartApp(hooks, data.Files(), {named});
        QVERIFY(app != nullptr);
        QCOMPARE(app->MainFrame()->windowTitle(), QStringLiteral("old report.txt - Tavro"));
        QCOMPARE(app->Session()->PathName(), named);
        QVERIFY(app->Document()->ReportText().empty());
        QVERIFY(app->MainFrame()->GetActiveView()->Text().isEmpty());
        QVERIFY(!app->Session()->IsModified());
        QCOMPARE(app->RecentFiles().Entries(), QStringList({named}));
        QCOMPARE(FileBytes(named), std::string("zzz 9\n"));
    }

    void namedFileThatIsMissingEndsStartUp() {
        TestData data;
        const QString named = data.Path(QStringLiteral("nowhere.txt"));
        ScriptedHooks hooks;
        CTavroApp app(hooks.Make());
        QVERIFY(!app.InitInstance({named}, data.Files()));
        QCOMPARE(hooks.messages.size(), 1);
        QVERIFY(hooks.messages[0].startsWith(named + QStringLiteral("\nCannot find this file.")));
        QCOMPARE(app.ExitCode(), kExitStartUpFailed);
    }

    void recentFilesAreKeptFourDeep() {
        TestData data;
        {
            ScriptedHooks hooks;
            auto app = StartApp(hooks, data.Files());
            for (int i = 1; i <= 5; ++i) {
                hooks.saveNames.push_back(data.Path(QStringLiteral("r%1.txt").arg(i)));
                app->Session()->DoSave(QString(), app->MainFrame());
            }
            app->ExitInstance();
        }
        QSettings settings;
        settings.beginGroup(QStringLiteral("Recent File List"));
        QCOMPARE(settings.value(QStringLiteral("File1")).toString(),
                 data.Path(QStringLiteral("r5.txt")));
        QCOMPARE(settings.value(QStringLiteral("File4")).toString(),
                 data.Path(QStringLiteral("r2.txt")));
        QVERIFY(!settings.contains(QStringLiteral("File5")));
        settings.endGroup();

        ScriptedHooks hooks;
        auto again = StartApp(hooks, data.Files());
        QCOMPARE(again->RecentFiles().Entries().size(), 4);
        QCOMPARE(again->RecentFiles().Entries().first(), data.Path(QStringLiteral("r5.txt")));
    }

    void dataFilesComeFromTheCurrentFolderFirst() {
        PosixFileSystem files;
        QTemporaryDir current;
        QTemporaryDir installed;
        auto touch = [](const QString& path) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        // Neither folder holds them: the plain names, reported as missing.
        QCOMPARE(LocateDataFiles(files, current.path(), installed.path()).lexicon,
                 std::string("finalList.txt"));
        // Only the installed folder does: its files.
        touch(installed.filePath(QStringLiteral("finalList.txt")));
        touch(installed.filePath(QStringLiteral("conjugation.txt")));
        const DataFiles fallback = LocateDataFiles(files, current.path(), installed.path());
        QCOMPARE(QString::fromStdString(fallback.lexicon),
                 installed.filePath(QStringLiteral("finalList.txt")));
        QCOMPARE(QString::fromStdString(fallback.conjugation),
                 installed.filePath(QStringLiteral("conjugation.txt")));
        // The current folder holds one of its own: both from there.
        touch(current.filePath(QStringLiteral("conjugation.txt")));
        const DataFiles own = LocateDataFiles(files, current.path(), installed.path());
        QCOMPARE(own.lexicon, std::string("finalList.txt"));
        QCOMPARE(own.conjugation, std::string("conjugation.txt"));
    }
};

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
