#include "app/document_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/data_location.h"
#include "app/framework_ids.h"
#include "app/native_path.h"
#include "platform/save_file.h"

namespace tavro {

DocumentSession::DocumentSession(CTavroDoc& doc, FileSystem& files, const ShellHooks& hooks)
    : m_doc(doc), m_files(files), m_hooks(hooks), m_title(QStringLiteral("Untitled")) {}

bool DocumentSession::IsModified() const { return m_doc.ReportText() != m_savedReport; }

void DocumentSession::MarkSaved() { m_savedReport = std::string(m_doc.ReportText()); }

void DocumentSession::SetPathName(const QString& path) {
    m_pathName = path;
    m_wroteFile = false;
    m_title = path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName();
    if (titleChanged) titleChanged();
}

bool DocumentSession::OnNewDocument() {
    if (!m_doc.OnNewDocument()) return false;
    MarkSaved();
    SetPathName(QString());
    return true;
}

bool DocumentSession::OnOpenDocument(const QString& path, QWidget* parent) {
    const QString fullPath = QFileInfo(path).absoluteFilePath();
    const OpenedSource opened = m_files.OpenForRead(NativePath(fullPath));
    if (opened.file == nullptr) {
        m_hooks.showMessage(
            parent, m_files.KindOf(NativePath(fullPath)) != FileKind::kMissing
                        ? QStringLiteral("Failed to open document.")
                        : fullPath + QStringLiteral("\nCannot find this file.\nPlease verify "
                                                    "that the correct path and file name are "
                                                    "given."));
        return false;
    }
    // Loading reads nothing back: the document stays as it was made.
    MarkSaved();
    SetPathName(fullPath);
    if (pathUsed) pathUsed(fullPath);
    return true;
}

bool DocumentSession::OnCmdMsg(int id, QWidget* parent) {
    switch (id) {
        case ID_FILE_SAVE:
            DoFileSave(parent);
            return true;
        case ID_FILE_SAVE_AS:
            DoSave(QString(), parent);
            return true;
        default:
            return false;
    }
}

bool DocumentSession::DoFileSave(QWidget* parent) {
    return DoSave(m_wroteFile ? m_pathName : QString(), parent);
}

bool DocumentSession::DoSave(const QString& path, QWidget* parent) {
    QString target = path;
    if (target.isEmpty()) {
        const QString startName =
            m_pathName.isEmpty() ? QDir::current().filePath(m_title) : m_pathName;
        target = m_hooks.chooseSaveName(parent, startName);
        if (target.isEmpty()) return false;
    }
    const std::string problem = SaveFile(m_files, NativePath(target), m_doc.ReportText());
    if (!problem.empty()) {
        m_hooks.showMessage(
            parent, QStringLiteral("Failed to save document.\n\n%1").arg(PathForDisplay(problem)));
        return false;
    }
    MarkSaved();
    const QString fullPath = QFileInfo(target).absoluteFilePath();
    if (fullPath != m_pathName) SetPathName(fullPath);
    m_wroteFile = true;
    if (pathUsed) pathUsed(fullPath);
    return true;
}

bool DocumentSession::SaveModified(QWidget* parent) {
    if (!IsModified()) return true;
    const QString name = m_pathName.isEmpty() ? m_title : m_pathName;
    switch (m_hooks.askYesNoCancel(parent, QStringLiteral("Save changes to %1?").arg(name))) {
        case QMessageBox::Yes:
            return DoFileSave(parent);
        case QMessageBox::No:
            return true;
        default:
            return false;
    }
}

}  // namespace tavro
