#include "app/tests/gui_test_support.h"

#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "app/greek_text.h"
#include "app/main_frame.h"
#include "app/tavro_view.h"
#include "corpus/qt/select_files_dlg.h"
#include "platform/cp1253.h"

namespace tavro::testing {

QString FromGreek(std::string_view bytes) { return Cp1253ToQString(bytes); }

TestData::TestData() {
    if (!m_dir.isValid()) qFatal("no temporary folder");
    Write(QStringLiteral("finalList.txt"), Greek("λόγος\nδρόμος\nθάλασσα\nπόλη\n"));
    // Genitive and plural endings back to the nominative.
    Write(QStringLiteral("conjugation.txt"), Greek("ου ος\nοι ος\nων ος\nας α\nες α\nεις η\n"));
    Write(QStringLiteral("a.txt"), Greek("Ο λόγος του δρόμου. Οι δρόμοι της θάλασσας.\n"));
    Write(QStringLiteral("B.txt"), Greek("Λόγοι και λόγοι, δρόμος στην πόλη.\r\nΠόλεις\n"));
    Write(QStringLiteral("c.txt"), Greek("θάλασσες θάλασσα λόγων λόγων λόγων\n"));
}

DataFiles TestData::Files() const {
    return {QFile::encodeName(Path(QStringLiteral("finalList.txt"))).toStdString(),
            QFile::encodeName(Path(QStringLiteral("conjugation.txt"))).toStdString()};
}

QStringList TestData::CorpusFiles() const {
    return {Path(QStringLiteral("a.txt")), Path(QStringLiteral("B.txt")),
            Path(QStringLiteral("c.txt"))};
}

void TestData::Write(const QString& name, std::string_view bytes) const {
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write test data");
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

ShellHooks ScriptedHooks::Make() {
    ShellHooks hooks;
    hooks.showMessage = [this](QWidget*, const QString& text) { messages.append(text); };
    hooks.askYesNoCancel = [this](QWidget*, const QString& text) {
        saveAnswersAsked.append(text);
        if (saveAnswers.empty()) return QMessageBox::Cancel;
        const QMessageBox::StandardButton answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    };
    hooks.chooseSaveName = [this](QWidget*, const QString&) {
        if (saveNames.empty()) return QString();
        const QString name = saveNames.front();
        saveNames.pop_front();
        return name;
    };
    hooks.chooseExportName = [this](QWidget*, const QString&, const QString&,
                                    const QString& filter) {
        exportFilters.append(filter);
        if (exportNames.empty()) return QString();
        const QString name = exportNames.front();
        exportNames.pop_front();
        return name;
    };
    hooks.chooseInputFiles = [this](const QString& startDir) -> std::optional<QStringList> {
        chooserStartDirs.append(startDir);
        if (inputChoices.empty()) return std::nullopt;
        const QStringList choice = inputChoices.front();
        inputChoices.pop_front();
        if (choice.isEmpty()) return std::nullopt;
        return choice;
    };
    hooks.runPrintDialog = [this](QWidget*, QPrinter&) {
        ++printDialogs;
        return false;
    };
    hooks.endProcess = [this](int status) { endedWith = status; };
    return hooks;
}

void UseTemporarySettings(const QString& dir) {
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
}

std::unique_ptr<CTavroApp> StartApp(ScriptedHooks& hooks, const DataFiles& files,
                                    const QStringList& arguments) {
    auto app = std::make_unique<CTavroApp>(hooks.Make());
    if (!app->InitInstance(arguments, files)) return nullptr;
    return app;
}

QAction* FindAction(QWidget* window, const QString& name) {
    return window->findChild<QAction*>(name);
}

namespace {

// Looks for a modal dialog every 10 ms; each look schedules the next one afresh,
// so no callback owns itself.
void PollForModal(std::function<void(QWidget*)> action, int tries) {
    QTimer::singleShot(tries == 0 ? 0 : 10, [action = std::move(action), tries]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            action(modal);
            return;
        }
        if (tries >= 500) {
            QFAIL("no modal dialog opened");
            return;
        }
        PollForModal(std::move(action), tries + 1);
    });
}

}  // namespace

void OnNextModal(const std::function<void(QWidget*)>& action) { PollForModal(action, 0); }

void RunOnFiles(CTavroApp& app, ScriptedHooks& hooks, const QStringList& files) {
    hooks.inputChoices.push_back(files);
    OnNext<CSelectFilesDlg>([](CSelectFilesDlg* dlg) {
        QVERIFY(dlg != nullptr);
        dlg->OnAddFiles();
        dlg->OnSelectOk();
    });
    FindAction(app.MainFrame(), QStringLiteral("ID_FILE_OPEN_INPUT_FILES"))->trigger();
}

std::string ViewBytes(CTavroApp& app) {
    return QStringToCp1253(app.MainFrame()->GetActiveView()->Text());
}

std::string FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

bool RunningApp::Start() {
    UseTemporarySettings(settings.path());
    data = std::make_unique<TestData>();
    hooks = ScriptedHooks();
    app = StartApp(hooks, data->Files());
    return app != nullptr;
}

QAction* RunningApp::Act(const char* name) const {
    return FindAction(app->MainFrame(), QString::fromLatin1(name));
}

}  // namespace tavro::testing
