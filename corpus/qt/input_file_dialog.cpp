#include "corpus/qt/input_file_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

namespace tavro {

CInputFileDialog::CInputFileDialog(Chooser chooser, QWidget* parent)
    : m_chooser(std::move(chooser)), m_parent(parent) {}

void CInputFileDialog::Configure(QFileDialog& dialog) {
    dialog.setObjectName(QStringLiteral("CInputFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
}

namespace {

// Watches Qt's own chooser: once it is shown, its name completer's pop-up. The
// pop-up is closed whenever the name becomes empty (a typed folder was just
// entered) and whenever it opens on an empty name.
class StaleCompletionCloser : public QObject {
  public:
    explicit StaleCompletionCloser(QFileDialog& dialog) : QObject(&dialog), m_dialog(dialog) {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        if (watched == &m_dialog) {
            WatchPopup();
        } else if (m_name != nullptr && m_name->text().isEmpty()) {
            ClosePopupSoon();
        }
        return false;
    }

  private:
    void WatchPopup() {
        if (m_name != nullptr) return;
        m_name = m_dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (m_name == nullptr || m_name->completer() == nullptr) return;
        m_name->completer()->popup()->installEventFilter(this);
        connect(m_name, &QLineEdit::textChanged, this, [this](const QString& text) {
            if (text.isEmpty()) ClosePopupSoon();
        });
    }

    // Once the chooser has finished with the typed text.
    void ClosePopupSoon() {
        QTimer::singleShot(0, this, [this] {
            if (m_name->completer() != nullptr) m_name->completer()->popup()->hide();
        });
    }

    QFileDialog& m_dialog;
    QLineEdit* m_name = nullptr;
};

}  // namespace

void DismissStaleCompletions(QFileDialog& dialog) { new StaleCompletionCloser(dialog); }

std::optional<QStringList> CInputFileDialog::ShowRealChooser(const QString& startDir) const {
    QFileDialog dialog(m_parent);
    Configure(dialog);
    DismissStaleCompletions(dialog);
    dialog.setDirectory(startDir);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFiles();
}

int CInputFileDialog::DoModal() {
    const QString startDir = QDir::currentPath();
    const std::optional<QStringList> chosen =
        m_chooser ? m_chooser(startDir) : ShowRealChooser(startDir);
    if (!chosen || chosen->isEmpty()) return QDialog::Rejected;

    m_selectedPaths.clear();
    for (const QString& path : *chosen) m_selectedPaths.append(QFileInfo(path).absoluteFilePath());
    QDir::setCurrent(QFileInfo(m_selectedPaths.first()).absolutePath());
    return QDialog::Accepted;
}

}  // namespace tavro
