#include "app/input_run.h"

#include <vector>

#include "app/native_path.h"
#include "app/qt_platform.h"
#include "corpus/qt/select_files_dlg.h"

namespace tavro {

InputRun::InputRun(CTavroDoc& doc, const ShellHooks& hooks, std::function<void()> updateViews)
    : m_doc(doc), m_hooks(hooks), m_updateViews(std::move(updateViews)) {}

QString RunFailureText(const Status& status) {
    QString text = MessageBoxText(status.message());
    if (!status.problem().empty()) {
        text += QStringLiteral("\n\n") + QString::fromLocal8Bit(status.problem());
    }
    return text;
}

QString RunWarningsText(const CTavroDoc& doc) {
    QString text = QStringLiteral("Not every input file was read cleanly; the run went on:\n");
    for (const FileWarning& warning : doc.RunWarnings()) {
        text += QStringLiteral("\n") + PathForDisplay(warning.path) + QStringLiteral(": ") +
                QString::fromLatin1(warning.text);
    }
    return text;
}

QStringList InputRun::ListToEdit() const {
    if (m_unfinished) return *m_unfinished;
    QStringList files;
    for (const std::string& path : m_doc.InputFiles()) files.append(PathForDisplay(path));
    return files;
}

void InputRun::EditAndRun(QWidget* parent, const QStringList& added) {
    CSelectFilesDlg dlg(parent, m_hooks.chooseInputFiles);
    dlg.m_fileList = ListToEdit() + added;
    if (dlg.DoModal() != QDialog::Accepted) return;
    m_doc.SetInputEncoding(dlg.m_encoding);
    Run(dlg.m_fileList, parent);
}

Status InputRun::Run(const QStringList& files, QWidget* parent) {
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& path : files) paths.push_back(NativePath(path));

    if (runStarting) runStarting();
    m_running = true;
    const Status run = m_doc.OpenInputFiles(std::move(paths));
    m_running = false;
    if (runEnded) runEnded();
    if (run.ok()) {
        m_unfinished.reset();
        // A run over no files empties the report without rebuilding it: show
        // the document's (empty) report, so that no view shows what Save would
        // not write.
        if (files.isEmpty()) m_updateViews();
        if (!m_doc.RunWarnings().empty()) m_hooks.showMessage(parent, RunWarningsText(m_doc));
        return run;
    }
    m_unfinished = files;
    if (run.kind() != Status::Kind::kCancelled) m_hooks.showMessage(parent, RunFailureText(run));
    return run;
}

}  // namespace tavro
