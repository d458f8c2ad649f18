#include "app/tavro_view.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTextCursor>
#include <memory>

#include "app/find_text_dlg.h"
#include "app/framework_ids.h"
#include "app/greek_text.h"
#include "corpus/select_files_dlg.h"

namespace tavro {

CTavroView::CTavroView(CTavroDoc& doc, const ShellHooks& hooks, QWidget* parent)
    : QPlainTextEdit(parent), m_doc(doc), m_hooks(hooks) {
    setObjectName(QStringLiteral("CTavroView"));
    setReadOnly(true);
    // Read-only, yet the user can select with mouse and keyboard and copy.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
}

void CTavroView::OnInitialUpdate() { OnUpdate(); }

void CTavroView::OnUpdate() { setPlainText(Cp1253ToQString(m_doc.ReportText())); }

bool CTavroView::OnCmdMsg(int id) {
    switch (id) {
        case ID_FILE_OPEN_INPUT_FILES: OnOpenInputFiles(); return true;
        case ID_FILE_PRINT: OnFilePrint(); return true;
        case ID_EDIT_COPY: copy(); return true;
        case ID_EDIT_FIND: OnEditFind(); return true;
        // Read-only: these reach the control and change nothing.
        case ID_EDIT_CUT: cut(); return true;
        case ID_EDIT_PASTE: paste(); return true;
        case ID_EDIT_UNDO: undo(); return true;
        // There is one pane only: nothing to move to.
        case ID_NEXT_PANE:
        case ID_PREV_PANE: return true;
        default: return false;
    }
}

void CTavroView::OnOpenInputFiles() {
    CSelectFilesDlg dlg(window(), m_hooks.chooseInputFiles);
    for (const std::string& path : m_doc.InputFiles()) {
        dlg.m_fileList.append(QFile::decodeName(QByteArray::fromStdString(path)));
    }
    if (dlg.DoModal() != QDialog::Accepted) return;

    std::vector<std::string> files;
    files.reserve(static_cast<std::size_t>(dlg.m_fileList.size()));
    for (const QString& path : dlg.m_fileList) files.push_back(QFile::encodeName(path).toStdString());
    const bool emptyList = files.empty();

    m_running = true;
    const Status run = m_doc.OpenInputFiles(std::move(files));
    m_running = false;
    if (run.kind() == Status::Kind::kEndProcess) {
        m_hooks.endProcess(run.exitCode() & 0xFF);
        return;
    }
    // A run over no files empties the report without rebuilding it: show the
    // document's (empty) report, so that the view never shows what Save would
    // not write.
    if (emptyList) OnUpdate();
    viewport()->update();
}

void CTavroView::OnEditFind() {
    if (m_findDialog == nullptr) {
        m_findDialog = new FindTextDlg(this);
        connect(m_findDialog, &FindTextDlg::findNext, this,
                [this](const QString& text, QTextDocument::FindFlags flags) {
                    if (!FindText(text, flags)) QApplication::beep();
                });
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
    m_findDialog->Activate();
}

bool CTavroView::FindText(const QString& text, QTextDocument::FindFlags flags) {
    if (text.isEmpty()) return false;
    if (find(text, flags)) return true;
    // Not found towards the end (or the start): go round once from the other end.
    const QTextCursor before = textCursor();
    QTextCursor from(document());
    from.movePosition((flags & QTextDocument::FindBackward) ? QTextCursor::End : QTextCursor::Start);
    setTextCursor(from);
    if (find(text, flags)) return true;
    setTextCursor(before);
    return false;
}

void CTavroView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(QMarginsF(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches,
                                     kPrintMarginInches),
                           QPageLayout::Inch);
    if (!m_hooks.runPrintDialog(window(), printer)) return;
    PrintTo(printer);
}

void CTavroView::PrintTo(QPrinter& printer) const {
    printer.setPageMargins(QMarginsF(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches,
                                     kPrintMarginInches),
                           QPageLayout::Inch);
    // A copy laid out for the printer's pages: the page size is the printable
    // area inside the margins, and the copy adds no margin of its own.
    std::unique_ptr<QTextDocument> pages(document()->clone());
    pages->setDefaultFont(font());
    pages->documentLayout()->setPaintDevice(&printer);
    pages->setDocumentMargin(0);
    pages->setPageSize(printer.pageLayout().paintRectPixels(printer.resolution()).size());
    pages->print(&printer);
}

}  // namespace tavro
