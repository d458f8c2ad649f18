// CInputFileDialog: the multi-selection file chooser behind Add Files in the
// Select Files dialog.
//
// Every showing starts in the process's current directory and lists all files;
// it hands back full paths. Choosing files makes their folder the current
// directory, so the next showing starts where the user last chose. A test may
// give a chooser function that stands in for the window (same start folder in,
// same paths out); everything around the window stays the same.
#pragma once

#include <QFileDialog>
#include <QStringList>
#include <functional>
#include <optional>

namespace tavro {

class CInputFileDialog : public QFileDialog {
    Q_OBJECT

  public:
    using Chooser = std::function<std::optional<QStringList>(const QString& startDir)>;

    explicit CInputFileDialog(Chooser chooser = {});

    // Shows the chooser: QDialog::Accepted with at least one path chosen, else
    // QDialog::Rejected.
    int DoModal();

    // The full paths of the last accepted showing, in the chooser's order.
    const QStringList& SelectedPaths() const { return m_selectedPaths; }

  private:
    Chooser m_chooser;
    QStringList m_selectedPaths;
};

}  // namespace tavro
