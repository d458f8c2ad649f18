// CSelectFilesDlg: the modal "Select Files" dialog in which the user edits the
// list of input files before a processing run.
//
// The caller sets m_fileList, runs DoModal and, on QDialog::Accepted, reads the
// edited list back: the list box's items in its order (sorted without regard to
// case). OK, and Enter wherever the focus is, hand the list box back; Cancel,
// Escape and the close box leave m_fileList as it was handed in. Delete removes
// the selected files like Remove Files; local files dropped on the dialog are
// added like chosen ones. The dialog only edits paths; it neither opens nor
// checks the files, and keeps duplicates.
#pragma once

#include <QDialog>
#include <QStringList>

#include "corpus/qt/input_file_dialog.h"

class QListWidget;
class QPushButton;

namespace tavro {

class CSelectFilesDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSelectFilesDlg(QWidget* parent = nullptr, CInputFileDialog::Chooser chooser = {});

    // Fills the list box from m_fileList, then runs the dialog.
    int DoModal();

    void OnAddFiles();
    void OnRemoveFiles();
    void OnSelectOk();
    void OnSelectCancel();

    // The list handed in, and after OK the list handed back.
    QStringList m_fileList;

    // The list box's items, in its order.
    QStringList ListedFiles() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void AddListItem(const QString& path);

    CInputFileDialog m_fileDialog;
    QListWidget* m_listFiles;
};

}  // namespace tavro
