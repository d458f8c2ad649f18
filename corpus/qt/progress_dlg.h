// CProgressDlg: the "Please Wait" window of one processing run.
//
// It shows "Processing Input Files", the path of the file being read, a bar,
// the time the run has taken and how fast it reads, and a Cancel button. The
// run keeps its own range, step and position (one step per file); the bar shows
// them with the share of the current file read so far, so that it moves within
// one big file too. Cancel, Escape and a close request ask the run to stop; the
// run sees that after its next block and the window is gone when it returns.
//
// The run works on the GUI thread and asks CancelRequested() after every block:
// events are handled there, so the window paints itself and its Cancel button
// works. For as long as the window exists, all user input to any other window
// (clicks, keys, shortcuts, drops, the wheel) is dropped, not queued, so that
// nothing the user did to the main window is carried out when the run ends.
// Positions are 64-bit, so any number of files fits the bar.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>
#include <memory>

#include "platform/platform.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tavro {

class CProgressDlg : public QDialog, public ProgressDisplay {
    Q_OBJECT

  public:
    explicit CProgressDlg(QWidget* parent = nullptr);
    // Drops the input that came in for other windows while the run worked.
    ~CProgressDlg() override;

    // Shows the window, paints it, and from then on takes every input there is.
    void Create();

    void SetRange(std::int64_t low, std::int64_t high) override;
    void SetStep(std::int64_t step) override;
    void SetPos(std::int64_t position) override;
    void StepIt() override;
    void SetFileName(const std::string& path) override;
    void ShowBytesRead(std::uint64_t bytesRead, std::optional<std::uint64_t> fileSize) override;
    bool CancelRequested() override;

    std::int64_t Low() const { return m_low; }
    std::int64_t High() const { return m_high; }
    std::int64_t Pos() const { return m_pos; }
    QString FileName() const;
    // The share of the whole run the bar shows, from 0 to 1.
    double BarShare() const;
    // "m:ss elapsed, N MB/s".
    QString SpeedText() const;

  public slots:
    // Escape: the same as the Cancel button.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void RequestCancel();
    void ShowPosition(bool force);
    void Repaint(bool force);

    QLabel* m_ctlFileName;
    QProgressBar* m_ctlProgress;
    QLabel* m_speed;
    QPushButton* m_cancel;
    std::unique_ptr<QObject> m_inputBlocker;
    std::int64_t m_low = 0;
    std::int64_t m_high = 100;
    std::int64_t m_step = 10;
    std::int64_t m_pos = 0;
    double m_fileShare = 0;  // of the file being read, while its size is known
    std::uint64_t m_bytesOfEarlierFiles = 0;
    std::uint64_t m_bytesOfThisFile = 0;
    bool m_cancelRequested = false;
    QElapsedTimer m_sinceCreate;
    QElapsedTimer m_sinceShown;
    QElapsedTimer m_sinceRepaint;
    qint64 m_lastPaintNs = 0;
};

}  // namespace tavro
