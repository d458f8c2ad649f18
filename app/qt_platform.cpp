#include "app/qt_platform.h"

#include <QFile>

#include "app/greek_text.h"
#include "app/main_frame.h"
#include "app/tavro_view.h"
#include "corpus/progress_dlg.h"
#include "lexicon/base_form_dlg.h"

namespace tavro {

QtPlatform::QtPlatform(const ShellHooks& hooks, FileSystem& files)
    : m_hooks(hooks), m_files(files) {}

QString MessageBoxText(const UserMessage& message) {
    return Cp1253ToQString(message.text) +
           QFile::decodeName(QByteArray::fromStdString(message.path));
}

void QtPlatform::ShowMessage(const UserMessage& message) {
    m_hooks.showMessage(m_frame, MessageBoxText(message));
}

std::unique_ptr<ProgressDisplay> QtPlatform::CreateProgressDialog() {
    auto dialog = std::make_unique<CProgressDlg>(m_frame);
    dialog->Create();
    return dialog;
}

void QtPlatform::UpdateAllViews() {
    if (m_frame != nullptr) m_frame->GetActiveView()->OnUpdate();
}

void QtPlatform::CheckMenuRadioItem(CommandId first, CommandId last, CommandId checked) {
    if (m_frame != nullptr) m_frame->CheckMenuRadioItem(first, last, checked);
}

std::optional<std::string> QtPlatform::AskInflectedWord() {
    CBaseFormDlg dlg(m_frame);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return QStringToCp1253(dlg.m_strWord);
}

}  // namespace tavro
