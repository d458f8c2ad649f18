// The places where the desktop program hands control to a person or ends the
// process: message boxes, the save prompt, the Save As and Add Files choosers,
// the export chooser, the print dialog and the process exit. The program always goes through these
// hooks, so that tests can replace any of them and drive the real windows
// headless. DefaultShellHooks() gives the real dialogs and exit.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace tavro {

struct ShellHooks {
    // The program's message box: caption "Tavro", exclamation icon, OK.
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    // The same box with Yes, No and Cancel (the "Save changes to ...?" prompt).
    std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text)> askYesNoCancel;
    // Save As: the chosen path, or an empty string when the user cancelled.
    std::function<QString(QWidget* parent, const QString& startPath)> chooseSaveName;
    // File > Export... and the chart's PNG: the chosen path (the `filter`'s
    // suffix added when the name has none), or an empty string when cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& startPath,
                          const QString& filter)>
        chooseExportName;
    // Add Files: the chosen full paths, or nothing when the user cancelled.
    // Empty means the real multi-selection file chooser.
    std::function<std::optional<QStringList>(const QString& startDir)> chooseInputFiles;
    // The print dialog on `printer`: true when the user chose to print.
    std::function<bool(QWidget* parent, QPrinter& printer)> runPrintDialog;
    // Ends the process at once with `status` after a fatal file error.
    std::function<void(int status)> endProcess;
};

ShellHooks DefaultShellHooks();

// The real message box of the program, for DefaultShellHooks and for tests
// that check what the user sees.
QMessageBox* CreateTavroMessageBox(QWidget* parent, const QString& text,
                                   QMessageBox::StandardButtons buttons);

}  // namespace tavro
