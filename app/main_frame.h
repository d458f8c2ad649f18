// CMainFrame: the program's main window: the menu bar, the accelerators, the
// toolbar (New, Open Input Files, Save, a separator, Copy), the status bar
// (message pane, CAP, NUM, SCRL) and the view in its middle.
//
// Every command goes through RouteCommand, which offers it to the view, then
// to the document, then to the frame, then to the application, and the first
// that knows the id handles it. Every action's objectName is its command id's
// name ("ID_FILE_NEW", ...). The View menu's radio marks are set only by
// CheckMenuRadioItem; choosing an item never moves a mark by itself. The
// caption is the document's title, " - ", "Tavro".
//
// Its middle is a tab for each view: the report (CTavroView) and the analysis
// window (CAnalysisView), switched by the tabs or by View > Report and View >
// Analysis (a pair of their own, apart from the four radio items). Copy,
// Select All and Find act on the view shown; File > Export... writes the
// analysis window's table or statistics.
//
// The frame owns the runs (InputRun): files dropped on the window go into the
// Select Files dialog, and while a run works the window takes no input and
// cannot be closed. Its geometry and toolbar are kept in the settings.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <vector>

#include "app/command_ids.h"
#include "app/document_session.h"
#include "app/input_run.h"
#include "app/shell_hooks.h"
#include "document/tavro_doc.h"

class QAction;
class QLabel;
class QSettings;
class QTabWidget;
class QTimer;

namespace tavro {

class CAnalysisView;
class CTavroView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    CMainFrame(CTavroDoc& doc, DocumentSession& session, const ShellHooks& hooks,
               std::function<bool(int id)> appCommands);

    CTavroView* GetActiveView() const { return m_view; }
    CAnalysisView* AnalysisView() const { return m_analysis; }
    // Shows the report (false) or the analysis window (true).
    void ShowAnalysis(bool analysis);
    bool IsAnalysisShown() const;
    // The document was reset (File > New): the analysis shown is out of date.
    void OnDocumentReset();
    // Shows the document's report in every view.
    void UpdateAllViews();
    InputRun& Runs() { return m_run; }
    // The action of a menu item or toolbar button (or a hidden command), or null.
    QAction* Action(int id) const;

    void CheckMenuRadioItem(int first, int last, int checked);
    // Offers the command to the view, the document, the frame, the application.
    bool RouteCommand(int id);
    void UpdateFrameTitle();

    // What the status bar's message pane shows now.
    QString MessageText() const;
    // The texts of the CAP, NUM and SCRL panes (blank while the key is off).
    QStringList IndicatorTexts() const;

    // The window's geometry and toolbar, from and to the settings.
    void RestoreSettings(const QSettings& settings);
    void SaveSettings(QSettings& settings) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createAccelerators();
    QAction* MakeAction(int id, const char* name, const QString& text, const QString& prompt,
                        const QString& tip = QString());
    bool OnDocumentCommand(int id);
    bool OnAnalysisCommand(int id);
    void UpdateCopyAction();
    void ShowLockKeys();

    CTavroDoc& m_doc;
    DocumentSession& m_session;
    const ShellHooks& m_hooks;
    std::function<bool(int)> m_appCommands;
    InputRun m_run;
    CTavroView* m_view;
    CAnalysisView* m_analysis;
    QTabWidget* m_tabs;
    std::map<int, QAction*> m_actions;
    std::map<int, bool> m_marks;
    QLabel* m_readyPane = nullptr;
    std::vector<QLabel*> m_indicators;
    QTimer* m_lockKeyTimer = nullptr;
};

}  // namespace tavro
