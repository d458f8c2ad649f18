// CBaseFormDlg: the modal "Find Base Form" dialog that asks for one inflected
// noun.
//
// After QDialog::Accepted, m_strWord holds the text exactly as typed (any text,
// spaces included; nothing is checked). The edit box has the focus when the
// dialog opens, although the buttons come first in the tab order.
#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace tavro {

class CBaseFormDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CBaseFormDlg(QWidget* parent = nullptr);

    QString m_strWord;

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* m_editWord;
};

}  // namespace tavro
