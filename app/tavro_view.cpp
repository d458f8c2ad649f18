#include "app/tavro_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>

#include "app/command_ids.h"
#include "app/framework_ids.h"
#include "app/greek_text.h"

namespace tavro {
namespace {

constexpr int kLeftMargin = 4;

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

}  // namespace

CTavroView::CTavroView(CTavroDoc& doc, InputRun& run, const ShellHooks& hooks, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_run(run), m_hooks(hooks), m_lineStarts{0} {
    setObjectName(QStringLiteral("CTavroView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void CTavroView::OnInitialUpdate() { OnUpdate(); }

void CTavroView::OnUpdate() {
    const bool hadSelection = m_anchor != m_cursor;
    m_text = Cp1253ToQString(m_doc.ReportText());
    m_lineStarts.assign(1, 0);
    qsizetype longestStart = 0;
    qsizetype longest = 0;
    const QChar* data = m_text.constData();
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (data[i] == QLatin1Char('\n')) {
            if (i - m_lineStarts.back() > longest) {
                longest = i - m_lineStarts.back();
                longestStart = m_lineStarts.back();
            }
            m_lineStarts.push_back(i + 1);
        }
    }
    if (m_text.size() - m_lineStarts.back() > longest) {
        longest = m_text.size() - m_lineStarts.back();
        longestStart = m_lineStarts.back();
    }
    // Wide enough for the longest line; lines painted later may widen it.
    m_widestLine =
        fontMetrics().horizontalAdvance(m_text.mid(longestStart, longest)) + 2 * kLeftMargin;
    m_anchor = m_cursor = 0;
    m_goalX = -1;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateScrollBars();
    viewport()->update();
    if (hadSelection) emit copyAvailable(false);
}

bool CTavroView::OnCmdMsg(int id) {
    switch (id) {
        case ID_FILE_OPEN_INPUT_FILES:
            OnOpenInputFiles();
            return true;
        case ID_FILE_PRINT:
            OnFilePrint();
            return true;
        case ID_EDIT_COPY:
            OnEditCopy();
            return true;
        case ID_EDIT_FIND:
            OnEditFind();
            return true;
        case ID_EDIT_REPEAT:
            OnEditRepeat();
            return true;
        case ID_EDIT_SELECT_ALL:
            SelectAll();
            return true;
        // The text is read-only: cutting, pasting and undoing reach the view
        // and change nothing.
        case ID_EDIT_CUT:
        case ID_EDIT_PASTE:
        case ID_EDIT_UNDO:
            return true;
        // There is one pane only: nothing to move to.
        case ID_NEXT_PANE:
        case ID_PREV_PANE:
            return true;
        default:
            return false;
    }
}

void CTavroView::OnOpenInputFiles() {
    m_run.EditAndRun(window());
    viewport()->update();
}

void CTavroView::OnEditCopy() const {
    if (m_anchor == m_cursor) return;
    QApplication::clipboard()->setText(SelectedText());
}

void CTavroView::OnEditFind() {
    if (m_findDialog == nullptr) {
        m_findDialog = new FindTextDlg(this);
        connect(m_findDialog, &FindTextDlg::findNext, this,
                [this](const QString& text, const FindOptions& options) {
                    if (!FindText(text, options)) QApplication::beep();
                });
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
    m_findDialog->Activate();
}

void CTavroView::OnEditRepeat() {
    if (m_findDialog == nullptr || m_findDialog->FindWhat().isEmpty()) {
        OnEditFind();
        return;
    }
    if (!FindText(m_findDialog->FindWhat(), m_findDialog->Options())) QApplication::beep();
}

bool CTavroView::FindText(const QString& text, const FindOptions& options) {
    if (text.isEmpty() || m_text.isEmpty()) return false;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    auto isWhole = [&](qsizetype at) {
        const qsizetype end = at + text.size();
        return (at == 0 || !IsWordCharacter(m_text[at - 1])) &&
               (end >= m_text.size() || !IsWordCharacter(m_text[end]));
    };
    // Finds from `from` towards the end (or the start), whole words if asked.
    auto search = [&](qsizetype from) -> qsizetype {
        while (true) {
            const qsizetype at = options.up ? (from < 0 ? -1 : m_text.lastIndexOf(text, from, cs))
                                            : m_text.indexOf(text, from, cs);
            if (at < 0 || !options.wholeWord || isWhole(at)) return at;
            from = options.up ? at - 1 : at + 1;
        }
    };
    qsizetype at = options.up ? search(SelectionStart() - 1) : search(SelectionEnd());
    // Not found towards the end (or the start): go round once from the other end.
    if (at < 0) at = options.up ? search(m_text.size() - 1) : search(0);
    if (at < 0) return false;
    SetSelection(at, at + text.size());
    return true;
}

void CTavroView::OnFilePrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageMargins(
        QMarginsF(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches, kPrintMarginInches),
        QPageLayout::Inch);
    if (!m_hooks.runPrintDialog(window(), printer)) return;
    PrintTo(printer);
}

void CTavroView::PrintTo(QPrinter& printer) const {
    printer.setPageMargins(
        QMarginsF(kPrintMarginInches, kPrintMarginInches, kPrintMarginInches, kPrintMarginInches),
        QPageLayout::Inch);
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QFont font(this->font(), &printer);
    painter.setFont(font);
    // The painter's origin is the corner of the printable area inside the margins.
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    qreal y = 0;
    for (int line = 0; line < LineCount(); ++line) {
        // Long lines wrap to the page's width, as they would on paper.
        QTextLayout layout(LineText(line), font, &printer);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLineWidth(page.width());
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine row = layout.lineAt(i);
            if (y + row.height() > page.height() && y > 0) {
                printer.newPage();
                y = 0;
            }
            row.draw(&painter, QPointF(0, y - row.y()));
            y += row.height();
        }
    }
    painter.end();
}

QString CTavroView::SelectedText() const {
    return m_text.mid(SelectionStart(), SelectionEnd() - SelectionStart());
}

void CTavroView::SetSelection(qsizetype anchor, qsizetype cursor) {
    const bool had = m_anchor != m_cursor;
    m_anchor = std::clamp<qsizetype>(anchor, 0, m_text.size());
    m_cursor = std::clamp<qsizetype>(cursor, 0, m_text.size());
    m_goalX = -1;
    EnsureCursorVisible();
    viewport()->update();
    if (had != (m_anchor != m_cursor)) emit copyAvailable(m_anchor != m_cursor);
}

void CTavroView::SelectAll() { SetSelection(0, m_text.size()); }

int CTavroView::TopLine() const { return verticalScrollBar()->value(); }

QString CTavroView::LineText(int line) const {
    const qsizetype start = m_lineStarts[static_cast<std::size_t>(line)];
    return m_text.mid(start, LineEnd(line) - start);
}

int CTavroView::LineOf(qsizetype offset) const {
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    return static_cast<int>(after - m_lineStarts.begin()) - 1;
}

qsizetype CTavroView::LineEnd(int line) const {
    const auto next = static_cast<std::size_t>(line) + 1;
    return next < m_lineStarts.size() ? m_lineStarts[next] - 1 : m_text.size();
}

int CTavroView::LineHeight() const { return fontMetrics().lineSpacing(); }

int CTavroView::VisibleLines() const { return std::max(1, viewport()->height() / LineHeight()); }

void CTavroView::UpdateScrollBars() {
    verticalScrollBar()->setRange(0, std::max(0, LineCount() - VisibleLines()));
    verticalScrollBar()->setPageStep(VisibleLines());
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, m_widestLine - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 2);
}

qsizetype CTavroView::OffsetAt(const QPoint& point) const {
    const int line = std::clamp(TopLine() + point.y() / LineHeight(), 0, LineCount() - 1);
    const QString text = LineText(line);
    const qreal x = point.x() + horizontalScrollBar()->value() - kLeftMargin;
    const QFontMetricsF metrics(font());
    qsizetype column = 0;
    qreal left = 0;
    while (column < text.size()) {
        const qreal right = metrics.horizontalAdvance(text.left(column + 1));
        if (x < (left + right) / 2) break;
        left = right;
        ++column;
    }
    return m_lineStarts[static_cast<std::size_t>(line)] + column;
}

void CTavroView::MoveCursor(qsizetype offset, bool extend) {
    const int goalX = m_goalX;
    SetSelection(extend ? m_anchor : offset, offset);
    m_goalX = goalX;
}

void CTavroView::EnsureCursorVisible() {
    const int line = LineOf(m_cursor);
    if (line < TopLine()) {
        verticalScrollBar()->setValue(line);
    } else if (line >= TopLine() + VisibleLines()) {
        verticalScrollBar()->setValue(line - VisibleLines() + 1);
    }
    const qsizetype start = m_lineStarts[static_cast<std::size_t>(line)];
    const int x =
        fontMetrics().horizontalAdvance(m_text.mid(start, m_cursor - start)) + kLeftMargin;
    if (x > m_widestLine) {
        m_widestLine = x + kLeftMargin;
        UpdateScrollBars();
    }
    QScrollBar* h = horizontalScrollBar();
    if (x < h->value()) {
        h->setValue(std::max(0, x - kLeftMargin));
    } else if (x > h->value() + viewport()->width() - kLeftMargin) {
        h->setValue(x - viewport()->width() + 2 * kLeftMargin);
    }
}

void CTavroView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QFontMetrics metrics = fontMetrics();
    const int lineHeight = LineHeight();
    const int xOffset = kLeftMargin - horizontalScrollBar()->value();
    const QPalette& pal = palette();
    const qsizetype selStart = SelectionStart();
    const qsizetype selEnd = SelectionEnd();
    const int first = TopLine();
    const int last = std::min(LineCount() - 1, first + VisibleLines());
    int widest = m_widestLine;
    for (int line = first; line <= last; ++line) {
        const int top = (line - first) * lineHeight;
        const qsizetype start = m_lineStarts[static_cast<std::size_t>(line)];
        const QString text = LineText(line);
        widest = std::max(widest, metrics.horizontalAdvance(text) + 2 * kLeftMargin);
        // The selection: the part of the line inside it, and its line end.
        const qsizetype from = std::clamp(selStart - start, qsizetype{0}, text.size() + 1);
        const qsizetype to = std::clamp(selEnd - start, qsizetype{0}, text.size() + 1);
        if (to > from) {
            const int left = metrics.horizontalAdvance(text.left(from));
            const int right = to > text.size()
                                  ? metrics.horizontalAdvance(text) + metrics.averageCharWidth()
                                  : metrics.horizontalAdvance(text.left(to));
            painter.fillRect(QRect(xOffset + left, top, right - left, lineHeight), pal.highlight());
        }
        painter.setPen(pal.text().color());
        painter.drawText(xOffset, top + metrics.ascent(), text);
        if (to > from) {
            // The selected characters again, in the highlighted text colour.
            const qsizetype end = std::min(to, text.size());
            painter.setPen(pal.highlightedText().color());
            painter.drawText(xOffset + metrics.horizontalAdvance(text.left(from)),
                             top + metrics.ascent(), text.mid(from, end - from));
        }
        if (hasFocus() && LineOf(m_cursor) == line) {
            const int x = xOffset + metrics.horizontalAdvance(text.left(m_cursor - start));
            painter.setPen(pal.text().color());
            painter.drawLine(x, top, x, top + lineHeight - 1);
        }
    }
    if (widest > m_widestLine) {
        m_widestLine = widest;
        UpdateScrollBars();
    }
}

void CTavroView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CTavroView::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::SelectAll) {
        SelectAll();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    const int line = LineOf(m_cursor);
    const QFontMetrics metrics = fontMetrics();
    auto toLine = [&](int target) {
        target = std::clamp(target, 0, LineCount() - 1);
        const qsizetype start = m_lineStarts[static_cast<std::size_t>(line)];
        if (m_goalX < 0) m_goalX = metrics.horizontalAdvance(m_text.mid(start, m_cursor - start));
        const QString text = LineText(target);
        qsizetype column = 0;
        while (column < text.size() && metrics.horizontalAdvance(text.left(column + 1)) <= m_goalX)
            ++column;
        MoveCursor(m_lineStarts[static_cast<std::size_t>(target)] + column, extend);
    };
    switch (event->key()) {
        case Qt::Key_Left:
            MoveCursor(std::max<qsizetype>(0, m_cursor - 1), extend);
            break;
        case Qt::Key_Right:
            MoveCursor(std::min(m_text.size(), m_cursor + 1), extend);
            break;
        case Qt::Key_Up:
            toLine(line - 1);
            break;
        case Qt::Key_Down:
            toLine(line + 1);
            break;
        case Qt::Key_PageUp:
            toLine(line - VisibleLines());
            break;
        case Qt::Key_PageDown:
            toLine(line + VisibleLines());
            break;
        case Qt::Key_Home:
            MoveCursor(control ? 0 : m_lineStarts[static_cast<std::size_t>(line)], extend);
            break;
        case Qt::Key_End:
            MoveCursor(control ? m_text.size() : LineEnd(line), extend);
            break;
        default:
            // Typing and editing keys change nothing.
            event->ignore();
            return;
    }
    if (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down &&
        event->key() != Qt::Key_PageUp && event->key() != Qt::Key_PageDown) {
        m_goalX = -1;
    }
}

void CTavroView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    MoveCursor(OffsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    m_goalX = -1;
}

void CTavroView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    MoveCursor(OffsetAt(event->position().toPoint()), true);
    m_goalX = -1;
}

void CTavroView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    qsizetype start = OffsetAt(event->position().toPoint());
    qsizetype end = start;
    while (start > 0 && IsWordCharacter(m_text[start - 1])) --start;
    while (end < m_text.size() && IsWordCharacter(m_text[end])) ++end;
    SetSelection(start, end);
}

void CTavroView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CTavroView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

QMenu* CTavroView::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("viewContextMenu"));
    for (QAction* action : m_contextActions) {
        if (action == nullptr) {
            menu->addSeparator();
        } else {
            menu->addAction(action);
        }
    }
    return menu;
}

void CTavroView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace tavro
