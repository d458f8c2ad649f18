#include "app/tavro_app.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <functional>
#include <memory>

#include "app/about_dlg.h"
#include "app/command_ids.h"
#include "app/document_session.h"
#include "app/framework_ids.h"
#include "app/main_frame.h"
#include "app/program_settings.h"
#include "app/qt_platform.h"
#include "app/tavro_view.h"

namespace tavro {
namespace {

const QString kInputOption = QStringLiteral("--input");
constexpr int kExposeTries = 50;
constexpr int kExposeWaitMs = 20;

// The document named on the command line: the first argument before --input
// that is not an option.
QString DocumentArgument(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == kInputOption) break;
        if (!argument.startsWith(QLatin1Char('-'))) return argument;
    }
    return QString();
}

// Every argument after --input, as a full path; file URLs become their paths.
QStringList InputArguments(const QStringList& arguments) {
    QStringList files;
    const qsizetype option = arguments.indexOf(kInputOption);
    if (option < 0) return files;
    for (const QString& argument : arguments.mid(option + 1)) {
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        if (!path.isEmpty()) files.append(QFileInfo(path).absoluteFilePath());
    }
    return files;
}

}  // namespace

void SetApplicationNames() {
    QCoreApplication::setOrganizationName(QStringLiteral("Tavro"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavro"));
    // Lets the desktop match the windows with the desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavro"));
}

CTavroApp::CTavroApp(ShellHooks hooks, FileSystem* files)
    : m_hooks(std::move(hooks)), m_files(files != nullptr ? *files : m_posixFiles) {}

CTavroApp::~CTavroApp() {
    // The frame and the view refer to the document: they go first.
    m_frame.reset();
    m_session.reset();
    m_doc.reset();
}

bool CTavroApp::InitInstance(const QStringList& arguments, const DataFiles& dataFiles) {
    SetApplicationNames();
    QSettings settings;
    MoveOldSettings(settings);
    m_recentFiles.Load(settings);

    m_platform = std::make_unique<QtPlatform>(m_hooks, m_files);
    m_doc = std::make_unique<CTavroDoc>(*m_platform);
    const Status loaded = m_doc->LoadData(dataFiles);
    if (!loaded.ok()) {
        if (!loaded.message().text.empty()) m_platform->ShowMessage(loaded.message());
        m_doc.reset();
        if (loaded.kind() == Status::Kind::kNoDocument) {
            m_hooks.showMessage(nullptr, QStringLiteral("Failed to create empty document."));
            m_exitCode = kExitStartUpFailed;
            return false;
        }
        m_exitCode = loaded.exitStatus();
        m_hooks.endProcess(m_exitCode);
        return false;
    }

    // Desktops without an icon theme of their own still get the common one.
    if (!QIcon::hasThemeIcon(QStringLiteral("document-new"))) {
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    }
    // The analysis window shows the files of each word and the STTR.
    m_doc->SetRunExtras({.files = true, .windows = true});
    m_session = std::make_unique<DocumentSession>(*m_doc, m_files, m_hooks);
    m_frame = std::make_unique<CMainFrame>(*m_doc, *m_session, m_hooks,
                                           [this](int id) { return OnCmdMsg(id); });
    m_platform->AttachFrame(m_frame.get());
    m_session->titleChanged = [this] { m_frame->UpdateFrameTitle(); };
    m_session->pathUsed = [this](const QString& path) { m_recentFiles.Add(path); };

    const QString documentPath = DocumentArgument(arguments);
    if (!documentPath.isEmpty()) {
        if (!m_session->OnOpenDocument(documentPath, nullptr)) {
            m_platform->AttachFrame(nullptr);
            m_frame.reset();
            m_exitCode = kExitStartUpFailed;
            return false;
        }
    } else {
        m_session->OnNewDocument();
    }
    m_frame->GetActiveView()->OnInitialUpdate();
    m_frame->RestoreSettings(settings);
    m_frame->show();
    m_frame->CheckMenuRadioItem(ID_VIEW_SHOW_NOUNS, ID_VIEW_SHOW_ALL_WORDS, ID_VIEW_SHOW_NOUNS);
    m_frame->CheckMenuRadioItem(ID_VIEW_SORT_ALPHABETICALLY, ID_VIEW_SORT_BY_FREQUENCY,
                                ID_VIEW_SORT_ALPHABETICALLY);
    RestoreChoices(settings);
    m_startInputFiles = InputArguments(arguments);
    if (!m_startInputFiles.isEmpty()) StartRunOnInputFiles();
    return true;
}

void CTavroApp::RestoreChoices(const QSettings& settings) {
    // Through the View commands, so that the marks follow.
    const RememberedChoices choices = ReadChoices(settings);
    if (choices.sortByFrequency) m_doc->OnViewSortByFrequency();
    if (choices.showAllWords) m_doc->OnViewShowAllWords();
    if (choices.capitalsAccents) m_frame->Action(ID_TOOLS_CAPITALS_ACCENTS)->trigger();
    if (choices.derivedNouns) m_frame->Action(ID_TOOLS_DERIVED_NOUNS)->trigger();
}

void CTavroApp::StartRunOnInputFiles(int tries) {
    // Once the window is on screen and laid out, so that it is whole behind
    // the run's own window (a bounded wait: a window may never be exposed).
    QTimer::singleShot(tries == 0 ? 0 : kExposeWaitMs, m_frame.get(), [this, tries] {
        const QWindow* window = m_frame->windowHandle();
        if ((window == nullptr || !window->isExposed()) && tries + 1 < kExposeTries) {
            StartRunOnInputFiles(tries + 1);
            return;
        }
        QCoreApplication::processEvents();
        m_frame->Runs().Run(m_startInputFiles, m_frame.get());
    });
}

void CTavroApp::ExitInstance() {
    QSettings settings;
    m_recentFiles.Save(settings);
    if (m_frame) m_frame->SaveSettings(settings);
    if (m_doc) {
        WriteChoices(settings, {m_doc->SortByFrequency(), m_doc->ShowAllWords(),
                                m_doc->CapitalsAccents(), m_doc->DerivedNouns()});
    }
}

bool CTavroApp::OnCmdMsg(int id) {
    switch (id) {
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_APP_EXIT:
            if (m_frame) m_frame->close();
            return true;
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        default:
            return false;
    }
}

void CTavroApp::OnFileNew() {
    if (!m_session->SaveModified(m_frame.get())) return;
    m_session->OnNewDocument();
    m_frame->Runs().Reset();
    m_frame->GetActiveView()->OnInitialUpdate();
    m_frame->OnDocumentReset();
}

void CTavroApp::OnAppAbout() {
    CAboutDlg dlg(m_frame.get());
    dlg.exec();
}

}  // namespace tavro
