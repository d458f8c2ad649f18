// The modeless "Find" dialog of Edit > Find: "Find what", Match whole word only,
// Match case, the direction (Up or Down) and Find Next. Each Find Next emits
// findNext with the current choices; the view does the searching.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavro {

// What a search looks for.
struct FindOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool up = false;
};

class FindTextDlg : public QDialog {
    Q_OBJECT

  public:
    explicit FindTextDlg(QWidget* parent = nullptr);

    QString FindWhat() const;
    FindOptions Options() const;
    // Puts the focus on "Find what" with its text selected, for a new search.
    void Activate();

  signals:
    void findNext(const QString& text, const tavro::FindOptions& options);

  private:
    QLineEdit* m_findWhat;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNextButton;
};

}  // namespace tavro
