#include "app/find_text_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tavro {

FindTextDlg::FindTextDlg(QWidget* parent)
    : QDialog(parent),
      m_findWhat(new QLineEdit(this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)),
      m_up(new QRadioButton(QStringLiteral("&Up"))),
      m_down(new QRadioButton(QStringLiteral("&Down"))),
      m_findNextButton(new QPushButton(QStringLiteral("&Find Next"), this)) {
    setObjectName(QStringLiteral("FindTextDlg"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    label->setBuddy(m_findWhat);
    m_findWhat->setObjectName(QStringLiteral("findWhat"));
    m_wholeWord->setObjectName(QStringLiteral("matchWholeWord"));
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_up->setObjectName(QStringLiteral("directionUp"));
    m_down->setObjectName(QStringLiteral("directionDown"));
    m_down->setChecked(true);
    m_findNextButton->setObjectName(QStringLiteral("findNext"));
    m_findNextButton->setDefault(true);
    m_findNextButton->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_findWhat, 0, 1, 1, 2);
    layout->addWidget(m_findNextButton, 0, 3);
    layout->addWidget(m_wholeWord, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2, 2, 1);
    layout->addWidget(cancel, 1, 3);
    layout->addWidget(m_matchCase, 2, 0, 1, 2);

    connect(m_findWhat, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_findNextButton->setEnabled(!text.isEmpty()); });
    connect(m_findNextButton, &QPushButton::clicked, this,
            [this] { emit findNext(FindWhat(), Options()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindTextDlg::FindWhat() const { return m_findWhat->text(); }

FindOptions FindTextDlg::Options() const {
    return {m_matchCase->isChecked(), m_wholeWord->isChecked(), m_up->isChecked()};
}

void FindTextDlg::Activate() {
    m_findWhat->setFocus();
    m_findWhat->selectAll();
}

}  // namespace tavro
