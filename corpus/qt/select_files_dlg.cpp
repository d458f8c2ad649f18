#include "corpus/qt/select_files_dlg.h"

#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace tavro {
namespace {

// An item that sorts the way the list box of this dialog always has: by the
// path's text without regard to case.
class PathItem : public QListWidgetItem {
  public:
    explicit PathItem(const QString& path) : QListWidgetItem(path) {}
    bool operator<(const QListWidgetItem& other) const override {
        return QString::compare(text(), other.text(), Qt::CaseInsensitive) < 0;
    }
};

QPushButton* MakeButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    // No default button: Enter is the dialog's, whatever has the focus.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setMinimumHeight(40);
    return button;
}

// The choices of the Encoding box, in its order, with their names in the settings.
struct EncodingItem {
    const char* label;
    const char* setting;
    EncodingChoice choice;
};
constexpr EncodingItem kEncodings[] = {
    {"Automatic", "auto", EncodingChoice::kAuto},
    {"UTF-8", "utf-8", EncodingChoice::kUtf8},
    {"Windows-1253", "cp1253", EncodingChoice::kCp1253},
    {"ISO-8859-7", "iso-8859-7", EncodingChoice::kIso8859_7},
};

// The local files among what is dragged onto the dialog.
QStringList LocalFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr) return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) files.append(url.toLocalFile());
    }
    return files;
}

}  // namespace

EncodingChoice CSelectFilesDlg::RememberedEncoding() {
    const QString setting = QSettings().value(QString::fromLatin1(kEncodingKey)).toString();
    for (const EncodingItem& item : kEncodings) {
        if (setting == QLatin1String(item.setting)) return item.choice;
    }
    return EncodingChoice::kAuto;
}

CSelectFilesDlg::CSelectFilesDlg(QWidget* parent, CInputFileDialog::Chooser chooser)
    : QDialog(parent),
      m_fileDialog(std::move(chooser), this),
      m_listFiles(new QListWidget(this)),
      m_comboEncoding(new QComboBox(this)) {
    setObjectName(QStringLiteral("CSelectFilesDlg"));
    setWindowTitle(QStringLiteral("Select Files"));
    setModal(true);
    setAcceptDrops(true);

    m_listFiles->setObjectName(QStringLiteral("IDC_FILE_LIST"));
    m_listFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listFiles->setSortingEnabled(true);
    m_listFiles->setMinimumSize(460, 220);

    m_comboEncoding->setObjectName(QStringLiteral("IDC_ENCODING"));
    for (const EncodingItem& item : kEncodings) {
        m_comboEncoding->addItem(QString::fromLatin1(item.label), static_cast<int>(item.choice));
    }
    m_comboEncoding->setToolTip(
        QStringLiteral("What the files are read as. Automatic decides for each file from its "
                       "bytes: UTF-8, Windows-1253 or ISO-8859-7."));
    m_encoding = RememberedEncoding();
    auto* encodingLabel = new QLabel(QStringLiteral("&Encoding:"), this);
    encodingLabel->setBuddy(m_comboEncoding);
    auto* encodingRow = new QHBoxLayout;
    encodingRow->addWidget(encodingLabel);
    encodingRow->addWidget(m_comboEncoding);
    encodingRow->addStretch(1);

    QPushButton* add =
        MakeButton(QStringLiteral("&Add Files..."), QStringLiteral("IDC_ADD_FILES"), this);
    QPushButton* remove =
        MakeButton(QStringLiteral("&Remove Files"), QStringLiteral("IDC_REMOVE_FILES"), this);
    QPushButton* ok = MakeButton(QStringLiteral("&OK"), QStringLiteral("IDC_SELECT_OK"), this);
    QPushButton* cancel =
        MakeButton(QStringLiteral("&Cancel"), QStringLiteral("IDC_SELECT_CANCEL"), this);
    connect(add, &QPushButton::clicked, this, &CSelectFilesDlg::OnAddFiles);
    connect(remove, &QPushButton::clicked, this, &CSelectFilesDlg::OnRemoveFiles);
    connect(ok, &QPushButton::clicked, this, &CSelectFilesDlg::OnSelectOk);
    connect(cancel, &QPushButton::clicked, this, &CSelectFilesDlg::OnSelectCancel);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setHorizontalSpacing(40);
    layout->addWidget(m_listFiles, 0, 0, 1, 4);
    layout->addLayout(encodingRow, 1, 0, 1, 4);
    layout->addWidget(add, 2, 0);
    layout->addWidget(remove, 2, 1);
    layout->addWidget(ok, 2, 2);
    layout->addWidget(cancel, 2, 3);
    setTabOrder(m_listFiles, m_comboEncoding);
    setTabOrder(m_comboEncoding, add);
    setTabOrder(add, remove);
    setTabOrder(remove, ok);
    setTabOrder(ok, cancel);
}

int CSelectFilesDlg::DoModal() {
    m_listFiles->clear();
    for (const QString& path : m_fileList) AddListItem(path);
    m_comboEncoding->setCurrentIndex(m_comboEncoding->findData(static_cast<int>(m_encoding)));
    m_listFiles->setFocus();
    return exec();
}

void CSelectFilesDlg::AddListItem(const QString& path) { m_listFiles->addItem(new PathItem(path)); }

void CSelectFilesDlg::OnAddFiles() {
    if (m_fileDialog.DoModal() != QDialog::Accepted) return;
    for (const QString& path : m_fileDialog.SelectedPaths()) AddListItem(path);
}

void CSelectFilesDlg::OnRemoveFiles() {
    std::vector<int> rows;
    for (const QListWidgetItem* item : m_listFiles->selectedItems())
        rows.push_back(m_listFiles->row(item));
    // From the last to the first, so that the rows still to go keep their numbers.
    std::sort(rows.rbegin(), rows.rend());
    for (const int row : rows) delete m_listFiles->takeItem(row);
}

QStringList CSelectFilesDlg::ListedFiles() const {
    QStringList files;
    for (int row = 0; row < m_listFiles->count(); ++row)
        files.append(m_listFiles->item(row)->text());
    return files;
}

void CSelectFilesDlg::OnSelectOk() {
    m_fileList = ListedFiles();
    m_encoding = static_cast<EncodingChoice>(m_comboEncoding->currentData().toInt());
    for (const EncodingItem& item : kEncodings) {
        if (item.choice == m_encoding) {
            QSettings().setValue(QString::fromLatin1(kEncodingKey),
                                 QString::fromLatin1(item.setting));
        }
    }
    QDialog::accept();
}

void CSelectFilesDlg::OnSelectCancel() { QDialog::reject(); }

void CSelectFilesDlg::keyPressEvent(QKeyEvent* event) {
    // Enter hands back the list in the box, like the OK button, so that what
    // the user sees is what the run reads.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnSelectOk();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        OnRemoveFiles();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSelectFilesDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CSelectFilesDlg::dropEvent(QDropEvent* event) {
    const QStringList files = LocalFiles(event->mimeData());
    if (files.isEmpty()) return;
    for (const QString& path : files) AddListItem(path);
    event->acceptProposedAction();
}

}  // namespace tavro
