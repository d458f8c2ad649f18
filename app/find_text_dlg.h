// The modeless "Find" dialog of Edit > Find: "Find what", Match whole word only,
// Match case, the direction (Up or Down) and Find Next. Each Find Next emits
// findNext with the current choices; the view does the searching.
#pragma once

#include <QDialog>
#include <QTextDocument>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tavro {

class FindTextDlg : public QDialog {
    Q_OBJECT

public:
    explicit FindTextDlg(QWidget* parent = nullptr);

    QString FindWhat() const;
    // The QTextDocument flags of the current choices (backward for Up).
    QTextDocument::FindFlags Flags() const;
    // Puts the focus on "Find what" with its text selected, for a new search.
    void Activate();

signals:
    void findNext(const QString& text, QTextDocument::FindFlags flags);

private:
    QLineEdit* m_findWhat;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNextButton;
};

}  // namespace tavro
