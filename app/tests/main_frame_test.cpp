// The main window: its menus, accelerators, toolbar, status bar and caption,
// the View commands with their radio marks, Find Base Form from the menu and
// the Tools item that restores the accents of capitals.

#include "app/main_frame.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/framework_ids.h"
#include "app/tavro_view.h"
#include "app/tests/gui_test_support.h"
#include "lexicon/qt/base_form_dlg.h"

using namespace tavro;
using namespace tavro::testing;

class MainFrameTest : public QObject {
    Q_OBJECT

  private:
    RunningApp m_run;

    CMainFrame* Frame() { return m_run.app->MainFrame(); }
    QAction* Act(const char* name) { return FindAction(Frame(), QString::fromLatin1(name)); }
    // The program started again over the lexicon and table of data/.
    void RestartWithTheBundledData() {
        m_run.Stop();
        const QDir source(QStringLiteral(TAVRO_SOURCE_DIR));
        m_run.app = StartApp(
            m_run.hooks, {source.filePath(QStringLiteral("data/finalList.txt")).toStdString(),
                          source.filePath(QStringLiteral("data/conjugation.txt")).toStdString()});
    }
    // Tools > Find Base Form, with `typed` entered in its dialog.
    void FindBaseFormOf(const QString& typed) {
        OnNext<CBaseFormDlg>([typed](CBaseFormDlg* dlg) {
            dlg->findChild<QLineEdit*>(QStringLiteral("IDC_INFLECTED_WORD"))->setText(typed);
            dlg->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
        });
        Act("ID_TOOLS_FIND_BASE_FORM")->trigger();
    }
    QStringList Marked() {
        QStringList marked;
        for (const char* name : {"ID_VIEW_SORT_ALPHABETICALLY", "ID_VIEW_SORT_BY_FREQUENCY",
                                 "ID_VIEW_SHOW_NOUNS", "ID_VIEW_SHOW_ALL_WORDS"}) {
            if (Act(name)->isChecked()) marked.append(QString::fromLatin1(name));
        }
        return marked;
    }

  private slots:
    void init() { QVERIFY(m_run.Start()); }
    void cleanup() { m_run.Stop(); }

    void menusHoldTheItemsInOrder() {
        QStringList seen;
        for (QAction* popup : Frame()->menuBar()->actions()) {
            QStringList items;
            for (QAction* item : popup->menu()->actions()) {
                items.append(item->isSeparator() ? QStringLiteral("-") : item->text());
            }
            seen.append(popup->text() + QStringLiteral(": ") + items.join(QStringLiteral(" | ")));
        }
        const QStringList expected = {
            "&File: &New\tCtrl+N | &Open Input Files\tCtrl+O | &Save\tCtrl+S | &Export... | - | "
            "E&xit",
            "&Edit: &Copy | &Find",
            "&View: Sort &Alphabeticaly | Sort by &Frequency | - | Show &Nouns | Show A&ll Words | "
            "- | &Report | A&nalysis",
            "&Tools: Find &Base Form | - | &Restore Accents of Capitals | &Derive Nouns from "
            "Prefixes and Suffixes",
        };
        QCOMPARE(seen, expected);
    }

    void startsUntitledReadyAndMarked() {
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
        QCOMPARE(Frame()->MessageText(), QStringLiteral("Ready"));
        QCOMPARE(Marked(), QStringList({"ID_VIEW_SORT_ALPHABETICALLY", "ID_VIEW_SHOW_NOUNS"}));
        QVERIFY(Frame()->GetActiveView()->Text().isEmpty());
        QCOMPARE(Frame()->IndicatorTexts().size(), 3);
    }

    void toolbarHasFourButtonsAndASeparator() {
        auto* bar = Frame()->findChild<QToolBar*>(QStringLiteral("m_wndToolBar"));
        QVERIFY(bar != nullptr);
        QStringList order;
        for (QAction* action : bar->actions()) {
            order.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
            if (!action->isSeparator())
                QVERIFY2(!action->icon().isNull(), qPrintable(action->objectName()));
        }
        QCOMPARE(order, QStringList({"ID_FILE_NEW", "ID_FILE_OPEN_INPUT_FILES", "ID_FILE_SAVE", "-",
                                     "ID_EDIT_COPY"}));
        QCOMPARE(Act("ID_FILE_NEW")->toolTip(), QStringLiteral("New"));
        QCOMPARE(Act("ID_FILE_SAVE")->toolTip(), QStringLiteral("Save"));
        QCOMPARE(Act("ID_EDIT_COPY")->toolTip(), QStringLiteral("Copy"));
    }

    void promptsReachTheStatusBar() {
        const std::pair<const char*, const char*> prompts[] = {
            {"ID_FILE_NEW", "Create a new document"},
            {"ID_FILE_OPEN_INPUT_FILES", "Open files to use as input"},
            {"ID_FILE_SAVE", "Save the active document"},
            {"ID_APP_EXIT", "Quit the application; prompts to save documents"},
            {"ID_EDIT_COPY", "Copy the selection and put it on the Clipboard"},
            {"ID_EDIT_FIND", "Find the specified text"},
        };
        for (const auto& [name, prompt] : prompts) {
            Act(name)->showStatusText(Frame());
            QCOMPARE(Frame()->MessageText(), QString::fromLatin1(prompt));
        }
        for (const char* name :
             {"ID_VIEW_SORT_ALPHABETICALLY", "ID_VIEW_SORT_BY_FREQUENCY", "ID_VIEW_SHOW_NOUNS",
              "ID_VIEW_SHOW_ALL_WORDS", "ID_TOOLS_FIND_BASE_FORM"}) {
            QVERIFY(Act(name)->statusTip().isEmpty());
            Act(name)->hover();
            QCOMPARE(Frame()->MessageText().trimmed(), QString());
        }
        Frame()->statusBar()->clearMessage();
        QCOMPARE(Frame()->MessageText(), QStringLiteral("Ready"));
    }

    void openInputFilesButtonShowsNoTooltip() {
        auto* bar = Frame()->findChild<QToolBar*>(QStringLiteral("m_wndToolBar"));
        QWidget* button = bar->widgetForAction(Act("ID_FILE_OPEN_INPUT_FILES"));
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
        QVERIFY(QApplication::sendEvent(button, &tip));  // eaten: no tooltip shows
    }

    void acceleratorsSendTheirCommands() {
        QStringList keys;
        for (QAction* action : Frame()->actions()) {
            if (action->objectName().startsWith(QStringLiteral("accelerator "))) {
                keys.append(action->shortcut().toString());
            }
        }
        QCOMPARE(keys, QStringList({"Ctrl+C", "Ctrl+N", "Ctrl+O", "Ctrl+P", "Ctrl+S", "Ctrl+V",
                                    "Alt+Backspace", "Shift+Del", "F6", "Shift+F6", "Ctrl+Ins",
                                    "Shift+Ins", "Ctrl+X", "Ctrl+Z"}));
        // Ctrl+P prints: the print dialog opens (and is cancelled by the hooks).
        Frame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Frame()));
        QTest::keyClick(Frame(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(m_run.hooks.printDialogs, 1);
        QVERIFY(!Act("ID_NEXT_PANE")->isEnabled());
    }

    void viewCommandsMoveTheMarksAndRebuild() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        const std::string nounsAlphabetical = ViewBytes(*m_run.app);
        QVERIFY(!nounsAlphabetical.empty());

        Act("ID_VIEW_SORT_BY_FREQUENCY")->trigger();
        QCOMPARE(Marked(), QStringList({"ID_VIEW_SORT_BY_FREQUENCY", "ID_VIEW_SHOW_NOUNS"}));
        QVERIFY(m_run.app->Document()->SortByFrequency());
        QCOMPARE(ViewBytes(*m_run.app), std::string(m_run.app->Document()->ReportText()));
        QVERIFY(ViewBytes(*m_run.app) != nounsAlphabetical);

        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        QCOMPARE(Marked(), QStringList({"ID_VIEW_SORT_BY_FREQUENCY", "ID_VIEW_SHOW_ALL_WORDS"}));
        QVERIFY(m_run.app->Document()->ShowAllWords());
        QCOMPARE(ViewBytes(*m_run.app), std::string(m_run.app->Document()->ReportText()));

        // Choosing the item already in force changes nothing, the mark included.
        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        QCOMPARE(Marked(), QStringList({"ID_VIEW_SORT_BY_FREQUENCY", "ID_VIEW_SHOW_ALL_WORDS"}));

        Act("ID_VIEW_SHOW_NOUNS")->trigger();
        Act("ID_VIEW_SORT_ALPHABETICALLY")->trigger();
        QCOMPARE(Marked(), QStringList({"ID_VIEW_SORT_ALPHABETICALLY", "ID_VIEW_SHOW_NOUNS"}));
        QCOMPARE(ViewBytes(*m_run.app), nounsAlphabetical);
    }

    void newDocumentKeepsTheChoicesAndMarks() {
        Act("ID_VIEW_SHOW_ALL_WORDS")->trigger();
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        m_run.hooks.saveAnswers.push_back(QMessageBox::No);
        Act("ID_FILE_NEW")->trigger();
        QCOMPARE(m_run.hooks.saveAnswersAsked, QStringList({"Save changes to Untitled?"}));
        QVERIFY(m_run.app->Document()->ReportText().empty());
        QVERIFY(m_run.app->Document()->InputFiles().empty());
        QVERIFY(m_run.app->Document()->WordTree() == nullptr);
        QVERIFY(Frame()->GetActiveView()->Text().isEmpty());
        QVERIFY(m_run.app->Document()->ShowAllWords());
        QCOMPARE(Marked(), QStringList({"ID_VIEW_SORT_ALPHABETICALLY", "ID_VIEW_SHOW_ALL_WORDS"}));
        QCOMPARE(Frame()->windowTitle(), QStringLiteral("Untitled - Tavro"));
    }

    void findBaseFormShowsItsAnswer_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("the noun itself, as typed")
            << QString::fromUtf8("Λόγος")
            << QStringList{QString::fromUtf8("The base form of the word 'Λόγος' is 'Λόγος'.")};
        QTest::newRow("from the table, in lower case")
            << QString::fromUtf8("ΔΡΌΜΟΥ")
            << QStringList{QString::fromUtf8("The base form of the word 'ΔΡΌΜΟΥ' is 'δρόμος'.")};
        QTest::newRow("spaces are part of the word")
            << QString::fromUtf8(" λόγος")
            << QStringList{
                   QString::fromUtf8("The base form of the word ' λόγος' could not be found.")};
        QTest::newRow("empty shows nothing") << QString() << QStringList();
    }
    void findBaseFormShowsItsAnswer() {
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        OnNext<CBaseFormDlg>([typed](CBaseFormDlg* dlg) {
            QVERIFY(dlg != nullptr);
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Find Base Form"));
            dlg->findChild<QLineEdit*>(QStringLiteral("IDC_INFLECTED_WORD"))->insert(typed);
            dlg->findChild<QPushButton*>(QStringLiteral("IDOK"))->click();
        });
        Act("ID_TOOLS_FIND_BASE_FORM")->trigger();
        QCOMPARE(m_run.hooks.messages, messages);
        QVERIFY(m_run.app->Document()->ReportText().empty());
    }

    // Both change the counts, so both are off until checked.
    void theToolsChoicesAreCheckableItems_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tip");
        QTest::newRow("capitals") << "ID_TOOLS_CAPITALS_ACCENTS"
                                  << "capitals without accents";
        QTest::newRow("derived nouns") << "ID_TOOLS_DERIVED_NOUNS"
                                       << "nouns the lexicon lacks";
    }
    void theToolsChoicesAreCheckableItems() {
        QFETCH(QString, name);
        QFETCH(QString, tip);
        CTavroDoc* doc = m_run.app->Document();
        const auto on = [&] {
            return name == QLatin1String("ID_TOOLS_CAPITALS_ACCENTS") ? doc->CapitalsAccents()
                                                                      : doc->DerivedNouns();
        };
        QAction* item = Act(name.toLatin1().constData());
        QVERIFY(item->isCheckable());
        QVERIFY(!item->isChecked());
        QVERIFY(!on());
        QVERIFY(item->statusTip().contains(tip));
        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(on());
        item->trigger();
        QVERIFY(!on());
    }

    // Capitals are written without accents: such a word used to be "not found".
    void findBaseFormRestoresTheAccentsOfCapitals_data() {
        QTest::addColumn<bool>("restoring");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("on") << true << QString::fromUtf8("ΔΡΟΜΟΥ")
                            << QString::fromUtf8("The base form of the word 'ΔΡΟΜΟΥ' is 'δρόμος'.");
        QTest::newRow("off: the miss, then the noun and the item")
            << false << QString::fromUtf8("ΔΡΟΜΟΥ")
            << QString::fromUtf8(
                   "The base form of the word 'ΔΡΟΜΟΥ' could not be found. With its accents "
                   "restored, as Tools > Restore Accents of Capitals does, it is 'δρόμος'.");
        QTest::newRow("off: found as written, no second sentence")
            << false << QString::fromUtf8("ΔΡΌΜΟΥ")
            << QString::fromUtf8("The base form of the word 'ΔΡΌΜΟΥ' is 'δρόμος'.");
        QTest::newRow("off: no noun up to accents either")
            << false << QString::fromUtf8("ΚΑΡΕΚΛΑ")
            << QString::fromUtf8("The base form of the word 'ΚΑΡΕΚΛΑ' could not be found.");
    }
    void findBaseFormRestoresTheAccentsOfCapitals() {
        QFETCH(bool, restoring);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        if (restoring) Act("ID_TOOLS_CAPITALS_ACCENTS")->trigger();
        FindBaseFormOf(typed);
        QCOMPARE(m_run.hooks.messages, QStringList({message}));
    }

    void findBaseFormAnswersCapitalsWithTheBundledLexicon() {
        RestartWithTheBundledData();
        QVERIFY(m_run.app != nullptr);
        Act("ID_TOOLS_CAPITALS_ACCENTS")->trigger();
        FindBaseFormOf(QString::fromUtf8("ΚΑΡΕΚΛΩΝ"));
        QCOMPARE(
            m_run.hooks.messages,
            QStringList({QString::fromUtf8("The base form of the word 'ΚΑΡΕΚΛΩΝ' is 'καρέκλα'.")}));
    }

    // A noun the lexicon lacks is named in a second sentence, with the item
    // that credits such nouns while it is off.
    void findBaseFormNamesADerivedNoun_data() {
        QTest::addColumn<bool>("deriving");
        QTest::addColumn<QString>("message");
        const QString miss =
            QString::fromUtf8("The base form of the word 'υποτύπους' could not be found.");
        QTest::newRow("off") << false
                             << miss + QString::fromUtf8(
                                           " Made from its prefix or suffix, as Tools > Derive "
                                           "Nouns from Prefixes and Suffixes does, it is "
                                           "'υπότυπος', a noun the lexicon lacks.");
        QTest::newRow("on") << true
                            << miss + QString::fromUtf8(
                                          " Made from its prefix or suffix, it is "
                                          "'υπότυπος', a noun the lexicon lacks.");
    }
    void findBaseFormNamesADerivedNoun() {
        QFETCH(bool, deriving);
        QFETCH(QString, message);
        RestartWithTheBundledData();
        QVERIFY(m_run.app != nullptr);
        if (deriving) Act("ID_TOOLS_DERIVED_NOUNS")->trigger();
        FindBaseFormOf(QString::fromUtf8("υποτύπους"));
        QCOMPARE(m_run.hooks.messages, QStringList({message}));
    }

    void findBaseFormCancelledShowsNothing() {
        OnNext<CBaseFormDlg>([](CBaseFormDlg* dlg) {
            QTest::keyClicks(dlg->findChild<QLineEdit*>(QStringLiteral("IDC_INFLECTED_WORD")),
                             QStringLiteral("abc"));
            QTest::keyClick(dlg, Qt::Key_Escape);
        });
        Act("ID_TOOLS_FIND_BASE_FORM")->trigger();
        QVERIFY(m_run.hooks.messages.isEmpty());
    }

    void exitAsksToSaveAndCancelKeepsTheWindow() {
        RunOnFiles(*m_run.app, m_run.hooks, m_run.data->CorpusFiles());
        m_run.hooks.saveAnswers.push_back(QMessageBox::Cancel);
        Act("ID_APP_EXIT")->trigger();
        QVERIFY(Frame()->isVisible());
        m_run.hooks.saveAnswers.push_back(QMessageBox::No);
        Act("ID_APP_EXIT")->trigger();
        QVERIFY(!Frame()->isVisible());
        QCOMPARE(m_run.hooks.saveAnswersAsked.size(), 2);
    }

    void realMessageBoxesCarryTheProgramsCaption() {
        ShellHooks real = DefaultShellHooks();
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        OnNext<QMessageBox>([&](QMessageBox* box) {
            caption = box->windowTitle();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        real.showMessage(Frame(), QStringLiteral("No Input Files have been Selected.\n"));
        QCOMPARE(caption, QStringLiteral("Tavro"));
        QCOMPARE(icon, QMessageBox::Warning);

        OnNext<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->text(), QStringLiteral("Save changes to Untitled?"));
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(real.askYesNoCancel(Frame(), QStringLiteral("Save changes to Untitled?")),
                 QMessageBox::No);
    }

    void aboutBoxOpens() {
        OnNextModal([](QWidget* dlg) {
            QCOMPARE(dlg->objectName(), QStringLiteral("CAboutDlg"));
            QCOMPARE(dlg->windowTitle(), QStringLiteral("About Tavro"));
            dlg->close();
        });
        Act("ID_APP_ABOUT")->trigger();
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
