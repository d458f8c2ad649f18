#include "corpus/qt/input_file_dialog.h"

#include <QDir>
#include <QFileInfo>

namespace tavro {

CInputFileDialog::CInputFileDialog(Chooser chooser) : m_chooser(std::move(chooser)) {
    setObjectName(QStringLiteral("CInputFileDialog"));
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFiles);
    setDefaultSuffix(QStringLiteral("txt"));
    // No filter of our own: every file is listed and there is no type choice.
}

int CInputFileDialog::DoModal() {
    const QString startDir = QDir::currentPath();
    std::optional<QStringList> chosen;
    if (m_chooser) {
        chosen = m_chooser(startDir);
    } else {
        setDirectory(startDir);
        if (exec() == QDialog::Accepted) chosen = selectedFiles();
    }
    if (!chosen || chosen->isEmpty()) return QDialog::Rejected;

    m_selectedPaths.clear();
    for (const QString& path : *chosen) m_selectedPaths.append(QFileInfo(path).absoluteFilePath());
    QDir::setCurrent(QFileInfo(m_selectedPaths.first()).absolutePath());
    return QDialog::Accepted;
}

}  // namespace tavro
