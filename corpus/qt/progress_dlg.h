// CProgressDlg: the modeless "Please Wait" window of one processing run.
//
// It shows "Processing Input Files", the path of the file being read and a bar
// that the run steps once per file. It has no buttons and no close box; Escape
// and close requests are ignored, and the run that creates it destroys it.
// The run works on the GUI thread, so after each change the window paints
// itself at once (unless it painted a moment ago) without taking any user
// input: the rest of the program answers only when the run has ended.
// Positions are 64-bit, so any number of files fits the bar.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>

#include "platform/platform.h"

class QLabel;
class QProgressBar;

namespace tavro {

class CProgressDlg : public QDialog, public ProgressDisplay {
    Q_OBJECT

  public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    // Shows the window and paints it before the run goes on.
    void Create();

    void SetRange(std::int64_t low, std::int64_t high) override;
    void SetStep(std::int64_t step) override;
    void SetPos(std::int64_t position) override;
    void StepIt() override;
    void SetFileName(const std::string& path) override;
    void ShowBytesRead(std::uint64_t, std::optional<std::uint64_t>) override { Repaint(false); }

    std::int64_t Low() const { return m_low; }
    std::int64_t High() const { return m_high; }
    std::int64_t Pos() const { return m_pos; }
    QString FileName() const;

  public slots:
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowPosition();
    void Repaint(bool force);

    QLabel* m_ctlFileName;
    QProgressBar* m_ctlProgress;
    std::int64_t m_low = 0;
    std::int64_t m_high = 100;
    std::int64_t m_step = 10;
    std::int64_t m_pos = 0;
    QElapsedTimer m_sinceRepaint;
    qint64 m_lastPaintNs = 0;
};

}  // namespace tavro
