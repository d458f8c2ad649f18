#include "corpus/qt/select_files_dlg.h"

#include <QDropEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
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

CSelectFilesDlg::CSelectFilesDlg(QWidget* parent, CInputFileDialog::Chooser chooser)
    : QDialog(parent), m_fileDialog(std::move(chooser), this), m_listFiles(new QListWidget(this)) {
    setObjectName(QStringLiteral("CSelectFilesDlg"));
    setWindowTitle(QStringLiteral("Select Files"));
    setModal(true);
    setAcceptDrops(true);

    m_listFiles->setObjectName(QStringLiteral("IDC_FILE_LIST"));
    m_listFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listFiles->setSortingEnabled(true);
    m_listFiles->setMinimumSize(460, 220);

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
    layout->addWidget(add, 1, 0);
    layout->addWidget(remove, 1, 1);
    layout->addWidget(ok, 1, 2);
    layout->addWidget(cancel, 1, 3);
    setTabOrder(m_listFiles, add);
    setTabOrder(add, remove);
    setTabOrder(remove, ok);
    setTabOrder(ok, cancel);
}

int CSelectFilesDlg::DoModal() {
    m_listFiles->clear();
    for (const QString& path : m_fileList) AddListItem(path);
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
