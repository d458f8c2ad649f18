#include "corpus/qt/progress_dlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tavro {
namespace {

// The shortest time between two paintings of the window.
constexpr qint64 kMinRepaintNs = 500'000;
// How often the bar and the speed follow the bytes read within a file.
constexpr qint64 kFollowBytesMs = 40;
// The bar's own scale: fine enough for one pixel at any width it gets.
constexpr int kBarScale = 10'000;
// Before this much time a rate says little.
constexpr qint64 kFirstRateMs = 250;

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

// Drops the user input meant for anything outside one window. Window-system
// windows pass: they hand their input on to their widgets, where it is judged.
class InputBlocker : public QObject {
  public:
    explicit InputBlocker(QWidget* window) : m_window(window) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!IsUserInput(event->type()) || receiver->isWindowType()) return false;
        for (const QObject* inside = receiver; inside != nullptr; inside = inside->parent()) {
            if (inside == m_window) return false;
        }
        return true;
    }

  private:
    QWidget* m_window;
};

}  // namespace

CProgressDlg::CProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ctlFileName(new QLabel(this)),
      m_ctlProgress(new QProgressBar(this)),
      m_speed(new QLabel(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("CProgressDlg"));
    setWindowTitle(QStringLiteral("Please Wait"));
    setModal(false);

    auto* caption = new QLabel(QStringLiteral("Processing Input Files"), this);
    caption->setObjectName(QStringLiteral("processingLabel"));
    m_ctlFileName->setObjectName(QStringLiteral("m_ctlFileName"));
    m_ctlFileName->setMinimumWidth(360);
    m_ctlProgress->setObjectName(QStringLiteral("m_ctlProgress"));
    m_ctlProgress->setTextVisible(false);
    m_ctlProgress->setRange(0, kBarScale);
    m_speed->setObjectName(QStringLiteral("speedLabel"));
    m_cancel->setObjectName(QStringLiteral("IDCANCEL"));
    m_cancel->setStatusTip(QStringLiteral("Stop the run; the report stays as it was"));
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::RequestCancel);
    ShowPosition(true);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_speed, 1);
    bottom->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 14, 36, 14);
    layout->addWidget(caption);
    layout->addWidget(m_ctlFileName);
    layout->addWidget(m_ctlProgress);
    layout->addLayout(bottom);
    setFixedWidth(460);
}

CProgressDlg::~CProgressDlg() {
    // Input that came in for other windows during the run is still waiting:
    // drop it now, while the blocker is there, instead of carrying it out.
    if (m_inputBlocker) QCoreApplication::processEvents();
}

void CProgressDlg::Create() {
    m_inputBlocker = std::make_unique<InputBlocker>(this);
    QCoreApplication::instance()->installEventFilter(m_inputBlocker.get());
    m_sinceCreate.start();
    show();
    m_cancel->setFocus();
    Repaint(true);
}

void CProgressDlg::SetRange(std::int64_t low, std::int64_t high) {
    m_low = low;
    m_high = high;
    ShowPosition(true);
}

void CProgressDlg::SetStep(std::int64_t step) { m_step = step; }

void CProgressDlg::SetPos(std::int64_t position) {
    m_pos = position;
    m_fileShare = 0;
    ShowPosition(true);
}

void CProgressDlg::StepIt() {
    // Like a progress control, stepping past the end starts again at the low end.
    m_pos += m_step;
    if (m_pos > m_high) m_pos = m_low + (m_pos - m_high);
    m_fileShare = 0;
    ShowPosition(true);
}

void CProgressDlg::SetFileName(const std::string& path) {
    m_bytesOfEarlierFiles += m_bytesOfThisFile;
    m_bytesOfThisFile = 0;
    m_fileShare = 0;
    m_ctlFileName->setText(QFile::decodeName(QByteArray::fromStdString(path)));
    ShowPosition(true);
}

void CProgressDlg::ShowBytesRead(std::uint64_t bytesRead, std::optional<std::uint64_t> fileSize) {
    m_bytesOfThisFile = bytesRead;
    m_fileShare =
        fileSize && *fileSize > 0
            ? std::min(1.0, static_cast<double>(bytesRead) / static_cast<double>(*fileSize))
            : 0.0;
    ShowPosition(false);
}

bool CProgressDlg::CancelRequested() {
    // Paints what changed and lets the Cancel button and Escape through; the
    // blocker keeps every other window deaf.
    if (isVisible()) QCoreApplication::processEvents();
    return m_cancelRequested;
}

QString CProgressDlg::FileName() const { return m_ctlFileName->text(); }

double CProgressDlg::BarShare() const {
    return static_cast<double>(m_ctlProgress->value()) / kBarScale;
}

QString CProgressDlg::SpeedText() const { return m_speed->text(); }

void CProgressDlg::reject() { RequestCancel(); }

void CProgressDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    RequestCancel();
}

void CProgressDlg::RequestCancel() {
    m_cancelRequested = true;
    m_cancel->setEnabled(false);
}

void CProgressDlg::ShowPosition(bool force) {
    if (!force && m_sinceShown.isValid() && m_sinceShown.elapsed() < kFollowBytesMs) return;
    m_sinceShown.start();
    const std::int64_t span = std::max<std::int64_t>(m_high - m_low, 0);
    double share = 0;
    if (span > 0) {
        const std::int64_t done = std::clamp<std::int64_t>(m_pos - m_low, 0, span);
        share = (static_cast<double>(done) + (done < span ? m_fileShare : 0.0)) /
                static_cast<double>(span);
    }
    m_ctlProgress->setValue(static_cast<int>(std::clamp(share, 0.0, 1.0) * kBarScale));

    const qint64 ms = m_sinceCreate.isValid() ? m_sinceCreate.elapsed() : 0;
    QString speed = QStringLiteral("%1:%2 elapsed")
                        .arg(ms / 60'000)
                        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'));
    if (ms >= kFirstRateMs) {
        const double megabytes =
            static_cast<double>(m_bytesOfEarlierFiles + m_bytesOfThisFile) / 1e6;
        speed += QStringLiteral(", %1 MB/s")
                     .arg(megabytes * 1000.0 / static_cast<double>(ms), 0, 'f', 0);
    }
    m_speed->setText(speed);
    if (force) Repaint(m_pos >= m_high);
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
    QCoreApplication::processEvents();
    repaint();
    m_lastPaintNs = std::max<qint64>(cost.nsecsElapsed(), kMinRepaintNs);
    m_sinceRepaint.start();
}

}  // namespace tavro
