#include "lexicon/qt/base_form_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

CBaseFormDlg::CBaseFormDlg(QWidget* parent) : QDialog(parent), m_editWord(new QLineEdit(this)) {
    setObjectName(QStringLiteral("CBaseFormDlg"));
    setWindowTitle(QStringLiteral("Find Base Form"));
    setModal(true);

    auto* prompt = new QLabel(QStringLiteral("Please enter the inflected form of the noun:"), this);
    m_editWord->setObjectName(QStringLiteral("IDC_INFLECTED_WORD"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("IDCANCEL"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CBaseFormDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CBaseFormDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addSpacing(30);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(prompt);
    layout->addWidget(m_editWord);
    layout->addSpacing(12);
    layout->addLayout(buttons);

    setTabOrder(ok, cancel);
    setTabOrder(cancel, m_editWord);
}

void CBaseFormDlg::accept() {
    m_strWord = m_editWord->text();
    QDialog::accept();
}

void CBaseFormDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_editWord->setFocus();
}

}  // namespace tavro
