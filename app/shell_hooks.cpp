#include "app/shell_hooks.h"

#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "corpus/qt/input_file_dialog.h"

namespace tavro {

QMessageBox* CreateTavroMessageBox(QWidget* parent, const QString& text,
                                   QMessageBox::StandardButtons buttons) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Tavro"), text, buttons, parent);
    box->setObjectName(QStringLiteral("TavroMessageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    return box;
}

ShellHooks DefaultShellHooks() {
    ShellHooks hooks;
    hooks.showMessage = [](QWidget* parent, const QString& text) {
        std::unique_ptr<QMessageBox> box(CreateTavroMessageBox(parent, text, QMessageBox::Ok));
        box->exec();
    };
    hooks.askYesNoCancel = [](QWidget* parent, const QString& text) {
        std::unique_ptr<QMessageBox> box(CreateTavroMessageBox(
            parent, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
        box->setDefaultButton(QMessageBox::Yes);
        return static_cast<QMessageBox::StandardButton>(box->exec());
    };
    hooks.chooseSaveName = [](QWidget* parent, const QString& startPath) {
        // One filter that lists every file; the typed name is taken as it is.
        QFileDialog dialog(parent, QStringLiteral("Save As"), startPath,
                           QStringLiteral("All Files (*)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        DismissStaleCompletions(dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
    hooks.chooseExportName = [](QWidget* parent, const QString& caption, const QString& startPath,
                                const QString& filter) {
        QFileDialog dialog(parent, caption, startPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // "(*.tsv)" in the filter gives the suffix a bare name gets.
        const qsizetype dot = filter.lastIndexOf(QStringLiteral("*."));
        if (dot >= 0) dialog.setDefaultSuffix(filter.mid(dot + 2).chopped(1));
        DismissStaleCompletions(dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
    hooks.runPrintDialog = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    // The state of a half-finished run is not worth saving: end without
    // unwinding the windows, as a fatal error must.
    hooks.endProcess = [](int status) {
        std::fflush(nullptr);
        std::_Exit(status);
    };
    return hooks;
}

}  // namespace tavro
