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
//
// Under the list, the Encoding choice says what the files are read as:
// Automatic (decided per file from its bytes; the first time), UTF-8,
// Windows-1253 or ISO-8859-7. The dialog starts with the choice last handed back
// and remembers the one OK hands back, in the settings under kEncodingKey.
#pragma once

#include <QDialog>
#include <QStringList>

#include "corpus/qt/input_file_dialog.h"
#include "platform/text_encoding.h"

class QComboBox;
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
    // After OK, the encoding chosen for the files (also remembered in the settings).
    EncodingChoice m_encoding = EncodingChoice::kAuto;

    // The settings key of the remembered choice: "auto", "utf-8", "cp1253" or "iso-8859-7".
    static constexpr const char* kEncodingKey = "SelectFiles/Encoding";
    // The choice the settings remember (Automatic when they hold none or an unknown one).
    static EncodingChoice RememberedEncoding();

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
    QComboBox* m_comboEncoding;
};

}  // namespace tavro
