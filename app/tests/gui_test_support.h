// What the GUI tests share: a folder of small data files and a corpus written in
// cp1253, hooks that record every message box and answer every chooser and
// prompt from a script, a started program, and a way to act on the next modal
// dialog (a QTimer that waits for it to open, then runs the test's action).
#pragma once

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/shell_hooks.h"
#include "app/tavro_app.h"
#include "tests/greek_text.h"

class QAction;

namespace tavro::testing {

// UTF-8 from cp1253 bytes, for readable failure messages.
QString FromGreek(std::string_view bytes);

// A temporary folder with "finalList.txt", "conjugation.txt" and three corpus
// files (a.txt, B.txt, c.txt) whose words include inflected forms of the nouns.
class TestData {
  public:
    TestData();
    QString Dir() const { return m_dir.path(); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    DataFiles Files() const;
    QStringList CorpusFiles() const;  // full paths, in the list box's order
    void Write(const QString& name, std::string_view bytes) const;

  private:
    QTemporaryDir m_dir;
};

// Hooks that never open a window: messages are recorded; choosers and prompts
// take their answers from the queues (Cancel when a queue is empty).
struct ScriptedHooks {
    QStringList messages;
    std::deque<QMessageBox::StandardButton> saveAnswers;
    QStringList saveAnswersAsked;  // the texts of the prompts asked
    std::deque<QString> saveNames;
    std::deque<QString> exportNames;       // answers of the export chooser
    QStringList exportFilters;             // the filters it was asked with
    std::deque<QStringList> inputChoices;  // an empty list cancels
    QStringList chooserStartDirs;
    std::optional<int> endedWith;
    int printDialogs = 0;

    ShellHooks Make();
};

// Settings in a folder of the test's own, so the tests never see a user's.
void UseTemporarySettings(const QString& dir);

// Starts the program; null when start-up ended.
std::unique_ptr<CTavroApp> StartApp(ScriptedHooks& hooks, const DataFiles& files,
                                    const QStringList& arguments = {});

// The action whose objectName is `name`, found anywhere under `window`.
QAction* FindAction(QWidget* window, const QString& name);

// One program started on fresh test data with settings of its own, for the
// tests that drive a running program in every test function.
struct RunningApp {
    QTemporaryDir settings;
    std::unique_ptr<TestData> data;
    ScriptedHooks hooks;
    std::unique_ptr<CTavroApp> app;

    // Starts anew; false when start-up ended.
    bool Start();
    void Stop() { app.reset(); }
    QAction* Act(const char* name) const;
};

// Runs `action` on the next modal dialog of type T once it is open; the
// action must close it. Gives up (and fails the test) after a few seconds.
void OnNextModal(const std::function<void(QWidget*)>& action);
template <class T>
void OnNext(const std::function<void(T*)>& action) {
    OnNextModal([action](QWidget* w) { action(qobject_cast<T*>(w)); });
}

// Runs Open Input Files, adds `files` through the (scripted) chooser and
// presses OK.
void RunOnFiles(CTavroApp& app, ScriptedHooks& hooks, const QStringList& files);

// The view's text as cp1253 bytes.
std::string ViewBytes(CTavroApp& app);

// The bytes of a file.
std::string FileBytes(const QString& path);

}  // namespace tavro::testing
