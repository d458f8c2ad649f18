#include "app/qt_platform.h"

#include <QFile>

#include "app/greek_text.h"
#include "app/main_frame.h"
#include "app/native_path.h"
#include "app/tavro_view.h"
#include "corpus/qt/progress_dlg.h"
#include "lexicon/qt/base_form_dlg.h"
#include "platform/cp1253.h"
#include "platform/text_encoding.h"

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
    // The typed text is decoded as every text that comes in is (composed to NFC);
    // letters cp1253 cannot hold can match no noun, and the user is told which.
    const QString typed = dlg.m_strWord;
    const QByteArray utf8 = typed.toUtf8();
    const DecodedText word =
        DecodeText(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                   EncodingChoice::kUtf8);
    if (word.clean()) return word.text;
    QStringList lacking;
    for (const char32_t c : typed.normalized(QString::NormalizationForm_C).toStdU32String()) {
        const QString letter = QString::fromUcs4(&c, 1);
        if (!UnicodeToCp1253(c) && !lacking.contains(letter)) lacking.append(letter);
    }
    m_hooks.showMessage(
        m_frame,
        QStringLiteral("The word '%1' holds %2 that code page 1253 cannot hold: %3. "
                       "The lexicon and the texts are read as code page 1253, so no "
                       "noun can match it.")
            .arg(typed,
                 lacking.size() == 1 ? QStringLiteral("a character") : QStringLiteral("characters"),
                 lacking.join(QStringLiteral(", "))));
    return std::nullopt;
}

}  // namespace tavro
