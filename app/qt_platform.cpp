#include "app/qt_platform.h"

#include <QFile>

#include "app/greek_text.h"
#include "app/main_frame.h"
#include "app/native_path.h"
#include "app/tavro_view.h"
#include "corpus/qt/progress_dlg.h"
#include "lexicon/qt/base_form_dlg.h"

namespace tavro {

QtPlatform::QtPlatform(const ShellHooks& hooks, FileSystem& files)
    : m_hooks(hooks), m_files(files) {}

QString MessageBoxText(const UserMessage& message) {
    return Cp1253ToQString(message.text) + PathForDisplay(message.path);
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
    if (m_frame != nullptr) m_frame->UpdateAllViews();
}

void QtPlatform::MarkDisplayChoice(DisplayChoice choice) {
    if (m_frame == nullptr) return;
    switch (choice) {
        case DisplayChoice::kSortAlphabetically:
        case DisplayChoice::kSortByFrequency:
            m_frame->CheckMenuRadioItem(ID_VIEW_SORT_ALPHABETICALLY, ID_VIEW_SORT_BY_FREQUENCY,
                                        choice == DisplayChoice::kSortByFrequency
                                            ? ID_VIEW_SORT_BY_FREQUENCY
                                            : ID_VIEW_SORT_ALPHABETICALLY);
            return;
        case DisplayChoice::kShowNouns:
        case DisplayChoice::kShowAllWords:
            m_frame->CheckMenuRadioItem(ID_VIEW_SHOW_NOUNS, ID_VIEW_SHOW_ALL_WORDS,
                                        choice == DisplayChoice::kShowAllWords
                                            ? ID_VIEW_SHOW_ALL_WORDS
                                            : ID_VIEW_SHOW_NOUNS);
            return;
    }
}

std::optional<std::string> QtPlatform::AskInflectedWord() {
    CBaseFormDlg dlg(m_frame);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return QStringToCp1253(dlg.m_strWord);
}

}  // namespace tavro
