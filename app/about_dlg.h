// CAboutDlg: the About box of the program (its name, version and icon), run
// modally by the application's About command.
#pragma once

#include <QDialog>

namespace tavro {

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tavro
