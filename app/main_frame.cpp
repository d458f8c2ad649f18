#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/analysis_view.h"
#include "app/command_ids.h"
#include "app/framework_ids.h"
#include "app/icons.h"
#include "app/lock_key_state.h"
#include "app/tavro_view.h"

namespace tavro {
namespace {

constexpr int kLockKeyPollMs = 250;

// The accelerator table: every key and the command it sends.
struct Accelerator {
    QKeyCombination keys;
    int id;
};
const Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
    {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},
    {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN_INPUT_FILES},
    {Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
    {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},
    {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
    {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
    {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
    {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
    {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
    {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
    {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
};

bool IsRadioItem(int id) {
    return id >= ID_VIEW_SORT_ALPHABETICALLY && id <= ID_VIEW_SHOW_ALL_WORDS;
}

// The local files among what is dragged onto the window.
QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.append(url.toLocalFile());
    }
    return files;
}

const QString kGeometryKey = QStringLiteral("MainWindow/geometry");
const QString kStateKey = QStringLiteral("MainWindow/state");

}  // namespace

CMainFrame::CMainFrame(CTavroDoc& doc, DocumentSession& session, const ShellHooks& hooks,
                       std::function<bool(int id)> appCommands)
    : m_doc(doc),
      m_session(session),
      m_hooks(hooks),
      m_appCommands(std::move(appCommands)),
      m_run(doc, hooks, [this] { UpdateAllViews(); }),
      m_view(new CTavroView(doc, m_run, hooks, this)),
      m_analysis(new CAnalysisView(doc, session.Files(), hooks, this)),
      m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("CMainFrame"));
    setAcceptDrops(true);
    setWindowIcon(AppIcon());
    m_tabs->setObjectName(QStringLiteral("viewTabs"));
    m_tabs->setDocumentMode(true);
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->addTab(m_view, QStringLiteral("Report"));
    m_tabs->addTab(m_analysis, QStringLiteral("Analysis"));
    setCentralWidget(m_tabs);
    m_run.runStarting = [this] { m_analysis->OnRunStarting(); };
    m_run.runEnded = [this] { m_analysis->OnRunChanged(); };
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createAccelerators();
    m_view->SetContextActions({m_actions[ID_EDIT_COPY], m_actions[ID_EDIT_SELECT_ALL], nullptr,
                               m_actions[ID_EDIT_FIND], m_actions[ID_EDIT_REPEAT]});
    // The table's context menu: the same commands, which act on the view shown.
    QTableView* table = m_analysis->Table();
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(table);
    separator->setSeparator(true);
    table->addActions({m_actions[ID_EDIT_COPY], m_actions[ID_EDIT_SELECT_ALL], separator,
                       m_actions[ID_FILE_EXPORT]});
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        const bool analysis = IsAnalysisShown();
        Action(analysis ? ID_VIEW_ANALYSIS : ID_VIEW_REPORT)->setChecked(true);
        UpdateCopyAction();
    });
    connect(m_analysis->Table()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMainFrame::UpdateCopyAction);
    resize(720, 540);
    m_view->setFocus();
    UpdateFrameTitle();
}

QAction* CMainFrame::MakeAction(int id, const char* name, const QString& text,
                                const QString& prompt, const QString& tip) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setData(id);
    action->setStatusTip(prompt);
    if (!tip.isEmpty()) action->setToolTip(tip);
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    if (prompt.isEmpty()) {
        // An item without a prompt leaves the message pane blank while it is
        // under the pointer ("Ready" returns when the menu closes).
        connect(action, &QAction::hovered, this,
                [this] { statusBar()->showMessage(QStringLiteral(" ")); });
    }
    m_actions[id] = action;
    return action;
}

void CMainFrame::createActions() {
    MakeAction(ID_FILE_NEW, "ID_FILE_NEW", QStringLiteral("&New\tCtrl+N"),
               QStringLiteral("Create a new document"), QStringLiteral("New"))
        ->setIcon(LoadToolbarIcon(ToolbarIcon::kNew));
    MakeAction(ID_FILE_OPEN_INPUT_FILES, "ID_FILE_OPEN_INPUT_FILES",
               QStringLiteral("&Open Input Files\tCtrl+O"),
               QStringLiteral("Open files to use as input"))
        ->setIcon(LoadToolbarIcon(ToolbarIcon::kOpen));
    MakeAction(ID_FILE_SAVE, "ID_FILE_SAVE", QStringLiteral("&Save\tCtrl+S"),
               QStringLiteral("Save the active document"), QStringLiteral("Save"))
        ->setIcon(LoadToolbarIcon(ToolbarIcon::kSave));
    MakeAction(ID_APP_EXIT, "ID_APP_EXIT", QStringLiteral("E&xit"),
               QStringLiteral("Quit the application; prompts to save documents"),
               QStringLiteral("Exit"));
    QAction* copy = MakeAction(ID_EDIT_COPY, "ID_EDIT_COPY", QStringLiteral("&Copy"),
                               QStringLiteral("Copy the selection and put it on the Clipboard"),
                               QStringLiteral("Copy"));
    copy->setIcon(LoadToolbarIcon(ToolbarIcon::kCopy));
    // Copy needs a selection, as in any editor.
    copy->setEnabled(false);
    connect(m_view, &CTavroView::copyAvailable, this, &CMainFrame::UpdateCopyAction);
    // Find and Find Next carry their keys themselves, so that the menus show them.
    QAction* find = MakeAction(ID_EDIT_FIND, "ID_EDIT_FIND", QStringLiteral("&Find"),
                               QStringLiteral("Find the specified text"), QStringLiteral("Find"));
    find->setIcon(LoadToolbarIcon(ToolbarIcon::kFind));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* findNext =
        MakeAction(ID_EDIT_REPEAT, "ID_EDIT_REPEAT", QStringLiteral("Find &Next"),
                   QStringLiteral("Find the next occurrence of the text last searched for"),
                   QStringLiteral("Find Next"));
    findNext->setIcon(LoadToolbarIcon(ToolbarIcon::kFind));
    findNext->setShortcut(QKeySequence(Qt::Key_F3));
    addAction(findNext);
    QAction* selectAll =
        MakeAction(ID_EDIT_SELECT_ALL, "ID_EDIT_SELECT_ALL", QStringLiteral("Select &All"),
                   QStringLiteral("Select the entire document"), QStringLiteral("Select All"));
    selectAll->setIcon(LoadToolbarIcon(ToolbarIcon::kSelectAll));
    selectAll->setShortcut(QKeySequence::SelectAll);
    addAction(selectAll);

    // The View items have no prompt; each pair is a radio group whose mark
    // only CheckMenuRadioItem sets.
    for (int id = ID_VIEW_SORT_ALPHABETICALLY; id <= ID_VIEW_SHOW_ALL_WORDS; ++id)
        m_marks[id] = false;
    auto radio = [this](int id, const char* name, const QString& text, QActionGroup* group) {
        QAction* action = MakeAction(id, name, text, QString());
        action->setCheckable(true);
        action->setActionGroup(group);
    };
    auto* order = new QActionGroup(this);
    order->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto* content = new QActionGroup(this);
    content->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    radio(ID_VIEW_SORT_ALPHABETICALLY, "ID_VIEW_SORT_ALPHABETICALLY",
          QStringLiteral("Sort &Alphabeticaly"), order);
    radio(ID_VIEW_SORT_BY_FREQUENCY, "ID_VIEW_SORT_BY_FREQUENCY",
          QStringLiteral("Sort by &Frequency"), order);
    radio(ID_VIEW_SHOW_NOUNS, "ID_VIEW_SHOW_NOUNS", QStringLiteral("Show &Nouns"), content);
    radio(ID_VIEW_SHOW_ALL_WORDS, "ID_VIEW_SHOW_ALL_WORDS", QStringLiteral("Show A&ll Words"),
          content);

    // Which view the window shows: a pair apart from the four radio items.
    auto* views = new QActionGroup(this);
    QAction* report = MakeAction(ID_VIEW_REPORT, "ID_VIEW_REPORT", QStringLiteral("&Report"),
                                 QStringLiteral("Show the report"));
    QAction* analysis =
        MakeAction(ID_VIEW_ANALYSIS, "ID_VIEW_ANALYSIS", QStringLiteral("A&nalysis"),
                   QStringLiteral("Show the analysis: the table, the forms, the statistics and "
                                  "the chart"));
    for (QAction* action : {report, analysis}) {
        action->setCheckable(true);
        action->setActionGroup(views);
    }
    report->setChecked(true);
    report->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    analysis->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    MakeAction(ID_FILE_EXPORT, "ID_FILE_EXPORT", QStringLiteral("&Export..."),
               QStringLiteral("Export the analysis table or the statistics of the run"),
               QStringLiteral("Export"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    MakeAction(ID_TOOLS_FIND_BASE_FORM, "ID_TOOLS_FIND_BASE_FORM",
               QStringLiteral("Find &Base Form"), QString());
    QAction* capitals =
        MakeAction(ID_TOOLS_CAPITALS_ACCENTS, "ID_TOOLS_CAPITALS_ACCENTS",
                   QStringLiteral("&Restore Accents of Capitals"),
                   QStringLiteral("Match words written in capitals without accents with the nouns "
                                  "up to accents, from the next run on (this changes the counts)"));
    capitals->setCheckable(true);
    QAction* derived = MakeAction(
        ID_TOOLS_DERIVED_NOUNS, "ID_TOOLS_DERIVED_NOUNS",
        QStringLiteral("&Derive Nouns from Prefixes and Suffixes"),
        QStringLiteral("Also count nouns the lexicon lacks, made from a prefix on one of its nouns "
                       "or a suffix only nouns take, from the next run on (this changes the "
                       "counts)"));
    derived->setCheckable(true);

    // Commands that no menu item shows: printing (Ctrl+P), the editing keys,
    // the pane keys (one pane only, so never enabled) and the About box.
    MakeAction(ID_FILE_PRINT, "ID_FILE_PRINT", QStringLiteral("&Print..."),
               QStringLiteral("Print the active document"), QStringLiteral("Print"));
    MakeAction(ID_EDIT_CUT, "ID_EDIT_CUT", QStringLiteral("Cu&t"),
               QStringLiteral("Cut the selection and put it on the Clipboard"),
               QStringLiteral("Cut"));
    MakeAction(ID_EDIT_PASTE, "ID_EDIT_PASTE", QStringLiteral("&Paste"),
               QStringLiteral("Insert Clipboard contents"), QStringLiteral("Paste"));
    MakeAction(ID_EDIT_UNDO, "ID_EDIT_UNDO", QStringLiteral("&Undo"),
               QStringLiteral("Undo the last action"), QStringLiteral("Undo"));
    MakeAction(ID_NEXT_PANE, "ID_NEXT_PANE", QStringLiteral("Next Pane"),
               QStringLiteral("Switch to the next window pane"), QStringLiteral("Next Pane"))
        ->setEnabled(false);
    MakeAction(ID_PREV_PANE, "ID_PREV_PANE", QStringLiteral("Previous Pane"),
               QStringLiteral("Switch back to the previous window pane"),
               QStringLiteral("Previous Pane"))
        ->setEnabled(false);
    MakeAction(ID_APP_ABOUT, "ID_APP_ABOUT", QStringLiteral("&About Tavro..."),
               QStringLiteral("Display program information, version number and copyright"),
               QStringLiteral("About"));
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("menuFile"));
    file->addAction(m_actions[ID_FILE_NEW]);
    file->addAction(m_actions[ID_FILE_OPEN_INPUT_FILES]);
    file->addAction(m_actions[ID_FILE_SAVE]);
    file->addAction(m_actions[ID_FILE_EXPORT]);
    file->addSeparator();
    file->addAction(m_actions[ID_APP_EXIT]);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->addAction(m_actions[ID_EDIT_COPY]);
    edit->addAction(m_actions[ID_EDIT_FIND]);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("menuView"));
    view->addAction(m_actions[ID_VIEW_SORT_ALPHABETICALLY]);
    view->addAction(m_actions[ID_VIEW_SORT_BY_FREQUENCY]);
    view->addSeparator();
    view->addAction(m_actions[ID_VIEW_SHOW_NOUNS]);
    view->addAction(m_actions[ID_VIEW_SHOW_ALL_WORDS]);
    view->addSeparator();
    view->addAction(m_actions[ID_VIEW_REPORT]);
    view->addAction(m_actions[ID_VIEW_ANALYSIS]);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("menuTools"));
    tools->addAction(m_actions[ID_TOOLS_FIND_BASE_FORM]);
    tools->addSeparator();
    tools->addAction(m_actions[ID_TOOLS_CAPITALS_ACCENTS]);
    tools->addAction(m_actions[ID_TOOLS_DERIVED_NOUNS]);
}

void CMainFrame::createToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Standard"));
    bar->setObjectName(QStringLiteral("m_wndToolBar"));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setIconSize(QSize(22, 22));
    bar->addAction(m_actions[ID_FILE_NEW]);
    bar->addAction(m_actions[ID_FILE_OPEN_INPUT_FILES]);
    bar->addAction(m_actions[ID_FILE_SAVE]);
    bar->addSeparator();
    bar->addAction(m_actions[ID_EDIT_COPY]);
    // The Open Input Files button has a prompt but no tooltip.
    if (QWidget* open = bar->widgetForAction(m_actions[ID_FILE_OPEN_INPUT_FILES])) {
        open->installEventFilter(this);
    }
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("m_wndStatusBar"));
    m_readyPane = new QLabel(QStringLiteral("Ready"), bar);
    m_readyPane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_readyPane, 1);
    const std::pair<const char*, const char*> panes[] = {
        {"ID_INDICATOR_CAPS", "CAP"}, {"ID_INDICATOR_NUM", "NUM"}, {"ID_INDICATOR_SCRL", "SCRL"}};
    for (const auto& [name, text] : panes) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QString::fromLatin1(name));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) +
                              12);
        pane->setProperty("indicatorText", QString::fromLatin1(text));
        bar->addPermanentWidget(pane);
        m_indicators.push_back(pane);
    }
    ShowLockKeys();
    m_lockKeyTimer = new QTimer(this);
    connect(m_lockKeyTimer, &QTimer::timeout, this, &CMainFrame::ShowLockKeys);
    m_lockKeyTimer->start(kLockKeyPollMs);
}

void CMainFrame::createAccelerators() {
    for (const Accelerator& accelerator : kAccelerators) {
        const QKeySequence keys(accelerator.keys);
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("accelerator ") + keys.toString());
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        const int id = accelerator.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (QAction* command = Action(id); command == nullptr || command->isEnabled()) {
                RouteCommand(id);
            }
        });
        addAction(action);
    }
}

QAction* CMainFrame::Action(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CMainFrame::CheckMenuRadioItem(int first, int last, int checked) {
    for (int id = first; id <= last; ++id) {
        m_marks[id] = id == checked;
        if (QAction* action = Action(id)) action->setChecked(id == checked);
    }
}

bool CMainFrame::RouteCommand(int id) {
    bool handled = OnAnalysisCommand(id) || m_view->OnCmdMsg(id) || OnDocumentCommand(id) ||
                   (m_appCommands && m_appCommands(id));
    if (IsRadioItem(id)) {
        // Undo the toggle Qt gave the item when it was chosen: only the
        // document's commands move the marks.
        for (const auto& [markId, marked] : m_marks) {
            if (QAction* action = Action(markId)) action->setChecked(marked);
        }
    }
    return handled;
}

bool CMainFrame::OnAnalysisCommand(int id) {
    switch (id) {
        case ID_VIEW_REPORT:
        case ID_VIEW_ANALYSIS:
            ShowAnalysis(id == ID_VIEW_ANALYSIS);
            return true;
        case ID_FILE_EXPORT:
            if (!m_run.IsRunning()) m_analysis->OnFileExport();
            return true;
        default:
            break;
    }
    if (!IsAnalysisShown()) return false;
    // The editing commands act on the view shown.
    switch (id) {
        case ID_EDIT_COPY:
            if (m_analysis->HasSelection())
                QApplication::clipboard()->setText(m_analysis->SelectedRowsText());
            return true;
        case ID_EDIT_SELECT_ALL:
            m_analysis->Table()->selectAll();
            return true;
        case ID_EDIT_FIND:
        case ID_EDIT_REPEAT:
            if (auto* filter =
                    m_analysis->findChild<QLineEdit*>(QStringLiteral("analysisFilter"))) {
                filter->setFocus();
                filter->selectAll();
            }
            return true;
        default:
            return false;
    }
}

void CMainFrame::ShowAnalysis(bool analysis) {
    m_tabs->setCurrentWidget(analysis ? static_cast<QWidget*>(m_analysis) : m_view);
    Action(analysis ? ID_VIEW_ANALYSIS : ID_VIEW_REPORT)->setChecked(true);
}

bool CMainFrame::IsAnalysisShown() const { return m_tabs->currentWidget() == m_analysis; }

void CMainFrame::OnDocumentReset() { m_analysis->OnRunChanged(); }

void CMainFrame::UpdateCopyAction() {
    QAction* copy = Action(ID_EDIT_COPY);
    if (copy == nullptr) return;
    copy->setEnabled(IsAnalysisShown() ? m_analysis->HasSelection()
                                       : m_view->SelectionStart() != m_view->SelectionEnd());
}

bool CMainFrame::OnDocumentCommand(int id) {
    switch (id) {
        case ID_VIEW_SHOW_ALL_WORDS:
            m_doc.OnViewShowAllWords();
            return true;
        case ID_VIEW_SHOW_NOUNS:
            m_doc.OnViewShowNouns();
            return true;
        case ID_VIEW_SORT_ALPHABETICALLY:
            m_doc.OnViewSortAlphabetically();
            return true;
        case ID_VIEW_SORT_BY_FREQUENCY:
            m_doc.OnViewSortByFrequency();
            return true;
        case ID_TOOLS_FIND_BASE_FORM:
            m_doc.OnToolsFindBaseForm();
            return true;
        case ID_TOOLS_CAPITALS_ACCENTS:
            m_doc.SetCapitalsAccents(Action(id)->isChecked());
            return true;
        case ID_TOOLS_DERIVED_NOUNS:
            m_doc.SetDerivedNouns(Action(id)->isChecked());
            return true;
        default:
            return m_session.OnCmdMsg(id, this);
    }
}

void CMainFrame::UpdateAllViews() { m_view->OnUpdate(); }

void CMainFrame::UpdateFrameTitle() {
    setWindowTitle(m_session.Title() + QStringLiteral(" - Tavro"));
}

QString CMainFrame::MessageText() const {
    const QString message = statusBar()->currentMessage();
    return message.isEmpty() ? m_readyPane->text() : message;
}

QStringList CMainFrame::IndicatorTexts() const {
    QStringList texts;
    for (const QLabel* pane : m_indicators) texts.append(pane->text());
    return texts;
}

void CMainFrame::ShowLockKeys() {
    const LockKeys keys = QueryLockKeys().value_or(LockKeys{});
    const bool on[] = {keys.caps, keys.num, keys.scroll};
    for (std::size_t i = 0; i < m_indicators.size(); ++i) {
        m_indicators[i]->setText(on[i] ? m_indicators[i]->property("indicatorText").toString()
                                       : QString());
    }
}

void CMainFrame::RestoreSettings(const QSettings& settings) {
    if (settings.contains(kGeometryKey))
        restoreGeometry(settings.value(kGeometryKey).toByteArray());
    if (settings.contains(kStateKey)) restoreState(settings.value(kStateKey).toByteArray());
}

void CMainFrame::SaveSettings(QSettings& settings) const {
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState());
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_run.IsRunning() && !DroppedFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = DroppedFiles(event->mimeData());
    if (m_run.IsRunning() || files.isEmpty()) return;
    event->acceptProposedAction();
    // The drop ends before the dialog opens: the program that the files came
    // from is not kept waiting while the user decides.
    QTimer::singleShot(0, this, [this, files] {
        if (!m_run.IsRunning()) m_run.EditAndRun(this, files);
    });
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The Please Wait window stops a run; a close request to this window
    // during one is dropped.
    if (m_run.IsRunning() || !m_session.SaveModified(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) return true;
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tavro
