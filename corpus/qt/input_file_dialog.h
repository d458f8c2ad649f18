// CInputFileDialog: the multi-selection file chooser behind Add Files in the
// Select Files dialog.
//
// Every showing starts in the process's current directory and lists all files;
// it hands back full paths. Choosing files makes their folder the current
// directory, so the next showing starts where the user last chose. Each showing
// is a chooser of its own, the desktop's native one where the platform has
// one: a chooser kept between showings left its name completer's pop-up open
// after a path was typed and Enter pressed, and the pop-up took the next click
// (DismissStaleCompletions handles the same within one showing).
// A test may give a chooser function that stands in for the window (same start
// folder in, same paths out); everything around the window stays the same.
#pragma once

#include <QFileDialog>
#include <QStringList>
#include <functional>
#include <optional>

namespace tavro {

class CInputFileDialog {
  public:
    using Chooser = std::function<std::optional<QStringList>(const QString& startDir)>;

    // `parent`: the window the chooser is shown over.
    explicit CInputFileDialog(Chooser chooser = {}, QWidget* parent = nullptr);

    // Shows the chooser: QDialog::Accepted with at least one path chosen, else
    // QDialog::Rejected.
    int DoModal();

    // The full paths of the last accepted showing, in the chooser's order.
    const QStringList& SelectedPaths() const { return m_selectedPaths; }

    // Sets `dialog` up as the real chooser is: open, existing files, any
    // number of them, every file listed (no filter of our own), "txt" as the
    // default suffix.
    static void Configure(QFileDialog& dialog);

  private:
    std::optional<QStringList> ShowRealChooser(const QString& startDir) const;

    Chooser m_chooser;
    QWidget* m_parent;
    QStringList m_selectedPaths;
};

// Keeps the name completer's pop-up of Qt's own file chooser from opening on an
// empty name: after a typed folder and Enter it opened on the folder's files,
// and the next click only closed it. Native choosers have no such pop-up.
void DismissStaleCompletions(QFileDialog& dialog);

}  // namespace tavro
