#include "corpus/qt/progress_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace tavro {
namespace {

// The shortest time between two paintings of the window.
constexpr qint64 kMinRepaintNs = 500'000;
// The bar's own scale when the run's range does not fit an int.
constexpr std::int64_t kScaledMax = 1'000'000;

}  // namespace

CProgressDlg::CProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ctlFileName(new QLabel(this)),
      m_ctlProgress(new QProgressBar(this)) {
    setObjectName(QStringLiteral("CProgressDlg"));
    setWindowTitle(QStringLiteral("Please Wait"));
    setModal(false);

    auto* caption = new QLabel(QStringLiteral("Processing Input Files"), this);
    caption->setObjectName(QStringLiteral("processingLabel"));
    m_ctlFileName->setObjectName(QStringLiteral("m_ctlFileName"));
    m_ctlFileName->setMinimumWidth(360);
    m_ctlProgress->setObjectName(QStringLiteral("m_ctlProgress"));
    m_ctlProgress->setTextVisible(false);
    ShowPosition();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 14, 36, 18);
    layout->addWidget(caption);
    layout->addWidget(m_ctlFileName);
    layout->addWidget(m_ctlProgress);
    setFixedWidth(460);
}

void CProgressDlg::Create() {
    show();
    Repaint(true);
}

void CProgressDlg::SetRange(std::int64_t low, std::int64_t high) {
    m_low = low;
    m_high = high;
    ShowPosition();
}

void CProgressDlg::SetStep(std::int64_t step) { m_step = step; }

void CProgressDlg::SetPos(std::int64_t position) {
    m_pos = position;
    ShowPosition();
}

void CProgressDlg::StepIt() {
    // Like a progress control, stepping past the end starts again at the low end.
    m_pos += m_step;
    if (m_pos > m_high) m_pos = m_low + (m_pos - m_high);
    ShowPosition();
}

void CProgressDlg::SetFileName(const std::string& path) {
    m_ctlFileName->setText(QFile::decodeName(QByteArray::fromStdString(path)));
    Repaint(false);
}

QString CProgressDlg::FileName() const { return m_ctlFileName->text(); }

void CProgressDlg::ShowPosition() {
    const std::int64_t span = std::max<std::int64_t>(m_high - m_low, 0);
    const std::int64_t offset = std::clamp<std::int64_t>(m_pos - m_low, 0, span);
    if (m_high <= std::numeric_limits<int>::max() && m_low >= std::numeric_limits<int>::min() &&
        span <= std::numeric_limits<int>::max()) {
        m_ctlProgress->setRange(static_cast<int>(m_low), static_cast<int>(m_high));
        m_ctlProgress->setValue(static_cast<int>(m_low + offset));
    } else {
        m_ctlProgress->setRange(0, static_cast<int>(kScaledMax));
        const long double share = static_cast<long double>(offset) / static_cast<long double>(span);
        m_ctlProgress->setValue(static_cast<int>(share * kScaledMax));
    }
    Repaint(m_pos >= m_high);
}

void CProgressDlg::Repaint(bool force) {
    if (!isVisible()) return;
    // Painting costs the run time: paint again only when at least four times
    // the last painting's time has gone by since, so that a list of many small
    // files is not slowed down by more than a fifth.
    if (!force && m_sinceRepaint.isValid() && m_sinceRepaint.nsecsElapsed() < 4 * m_lastPaintNs)
        return;
    QElapsedTimer cost;
    cost.start();
    // Expose, layout and paint events only: keys and clicks wait until the run
    // is over. Then paint at once, whatever the layout has just posted.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    m_lastPaintNs = std::max<qint64>(cost.nsecsElapsed(), kMinRepaintNs);
    m_sinceRepaint.start();
}

void CProgressDlg::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace tavro
