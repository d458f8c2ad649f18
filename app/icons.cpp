#include "app/icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace tavro {
namespace {

const char* ThemeName(ToolbarIcon which) {
    switch (which) {
        case ToolbarIcon::kNew:
            return "document-new";
        case ToolbarIcon::kOpen:
            return "document-open";
        case ToolbarIcon::kSave:
            return "document-save";
        case ToolbarIcon::kCopy:
            return "edit-copy";
        case ToolbarIcon::kFind:
            return "edit-find";
        case ToolbarIcon::kSelectAll:
            return "edit-select-all";
    }
    return "";
}

// A sheet of paper with a folded corner, in a 24-unit square.
void DrawSheet(QPainter& p, QRectF r) {
    const qreal fold = r.width() * 0.3;
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x55, 0x57, 0x53), 1.2));
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void DrawPicture(QPainter& p, ToolbarIcon which) {
    switch (which) {
        case ToolbarIcon::kNew:
            DrawSheet(p, QRectF(5, 2, 14, 19));
            p.setPen(QPen(QColor(0xED, 0xD4, 0x00), 2));
            p.drawLine(QPointF(17, 15), QPointF(23, 21));
            p.drawLine(QPointF(17, 21), QPointF(23, 15));
            break;
        case ToolbarIcon::kOpen: {
            p.setPen(QPen(QColor(0x8F, 0x59, 0x02), 1.2));
            p.setBrush(QColor(0xC1, 0x7D, 0x11));
            p.drawRect(QRectF(2, 5, 18, 15));
            p.setBrush(QColor(0xFC, 0xE9, 0x4F));
            QPolygonF flap;
            flap << QPointF(5, 10) << QPointF(23, 10) << QPointF(20, 20) << QPointF(2, 20);
            p.drawPolygon(flap);
            break;
        }
        case ToolbarIcon::kSave:
            p.setPen(QPen(QColor(0x20, 0x4A, 0x87), 1.2));
            p.setBrush(QColor(0x34, 0x65, 0xA4));
            p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 3, 12, 7));
            p.setBrush(QColor(0xBA, 0xBD, 0xB6));
            p.drawRect(QRectF(7, 14, 10, 7));
            break;
        case ToolbarIcon::kCopy:
            DrawSheet(p, QRectF(3, 2, 12, 15));
            DrawSheet(p, QRectF(9, 7, 12, 15));
            break;
        case ToolbarIcon::kFind:
            // A magnifying glass.
            p.setPen(QPen(QColor(0x55, 0x57, 0x53), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
            p.setPen(QPen(QColor(0x55, 0x57, 0x53), 1.6));
            p.setBrush(QColor(0xDC, 0xE6, 0xF2));
            p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
            break;
        case ToolbarIcon::kSelectAll:
            // A sheet with every line marked.
            DrawSheet(p, QRectF(4, 2, 16, 20));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x34, 0x65, 0xA4));
            for (const qreal y : {8.0, 12.0, 16.0}) p.drawRect(QRectF(7, y, 10, 2));
            break;
    }
}

QIcon DrawIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

QIcon DrawnToolbarIcon(ToolbarIcon which) {
    return DrawIcon([which](QPainter& p) { DrawPicture(p, which); });
}

QIcon LoadToolbarIcon(ToolbarIcon which) {
    const QString name = QString::fromLatin1(ThemeName(which));
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    return DrawnToolbarIcon(which);
}

QIcon AppIcon() {
    return DrawIcon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x1F, 0x5F, 0xA8));
        p.drawRoundedRect(QRectF(1, 1, 22, 22), 4, 4);
        p.setPen(Qt::white);
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        // Greek capital nu: the program counts nouns.
        p.drawText(QRectF(1, 1, 22, 20), Qt::AlignCenter, QString(QChar(0x039D)));
        p.setBrush(QColor(0xFC, 0xE9, 0x4F));
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(5, 18, 14, 2));
    });
}

}  // namespace tavro
