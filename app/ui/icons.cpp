#include "app/ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tovek::ui::icons {

namespace {

constexpr int kSize = 32; // drawn large, scaled down by the buttons

QPolygonF triangle(qreal x, qreal dir)
{
    // A triangle pointing left (dir < 0) or right (dir > 0), its flat side at x.
    const qreal tip = x + dir * 11;
    return QPolygonF({QPointF(x, 6), QPointF(x, 26), QPointF(tip, 16)});
}

void drawGlyph(QPainter& p, Glyph glyph)
{
    const QColor ink(0x20, 0x30, 0x60);
    const QPen pen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    switch (glyph) {
    case Glyph::Folder: {
        p.setBrush(QColor(0xf2, 0xc2, 0x4b));
        QPainterPath path;
        path.moveTo(3, 9);
        path.lineTo(12, 9);
        path.lineTo(15, 12);
        path.lineTo(29, 12);
        path.lineTo(29, 27);
        path.lineTo(3, 27);
        path.closeSubpath();
        p.drawPath(path);
        p.drawLine(QPointF(3, 16), QPointF(29, 16));
        break;
    }
    case Glyph::Shuffle: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x1a, 0x7f, 0x3c), 3, Qt::SolidLine, Qt::RoundCap));
        QPainterPath a;
        a.moveTo(3, 9);
        a.cubicTo(14, 9, 16, 23, 26, 23);
        QPainterPath b;
        b.moveTo(3, 23);
        b.cubicTo(14, 23, 16, 9, 26, 9);
        p.drawPath(a);
        p.drawPath(b);
        p.setBrush(QColor(0x1a, 0x7f, 0x3c));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(24, 4), QPointF(31, 9), QPointF(24, 14)}));
        p.drawPolygon(QPolygonF({QPointF(24, 18), QPointF(31, 23), QPointF(24, 28)}));
        break;
    }
    case Glyph::Filter:
        p.setBrush(QColor(0x4a, 0x90, 0xd9));
        p.drawPolygon(QPolygonF({QPointF(4, 5), QPointF(28, 5), QPointF(18, 17), QPointF(18, 27), QPointF(14, 24),
                                 QPointF(14, 17)}));
        break;
    case Glyph::Hints: {
        p.setBrush(QColor(0xff, 0xf4, 0xa8));
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(3, 4, 26, 18), 5, 5);
        bubble.moveTo(9, 22);
        bubble.lineTo(7, 29);
        bubble.lineTo(15, 22);
        p.drawPath(bubble.simplified());
        p.setFont(QFont(QStringLiteral("Liberation Sans"), 12, QFont::Bold));
        p.drawText(QRectF(3, 4, 26, 18), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    case Glyph::Info:
        p.setBrush(QColor(0x2f, 0x6f, 0xc9));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(16, 9.5));
        p.drawLine(QPointF(16, 14), QPointF(16, 23));
        break;
    case Glyph::Merge:
        p.setBrush(QColor(0xe8, 0xee, 0xf8));
        p.drawRect(QRectF(3, 3, 11, 14));
        p.drawRect(QRectF(18, 3, 11, 14));
        p.setBrush(QColor(0xd0, 0xe8, 0xc8));
        p.drawRect(QRectF(9, 20, 14, 9));
        p.drawLine(QPointF(8.5, 17), QPointF(13, 20));
        p.drawLine(QPointF(23.5, 17), QPointF(19, 20));
        break;
    case Glyph::Update: {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0x1f, 0x6f, 0xb5), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(5, 5, 22, 22), 30 * 16, 280 * 16);
        p.setBrush(QColor(0x1f, 0x6f, 0xb5));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(21, 3), QPointF(30, 8), QPointF(22, 13)}));
        break;
    }
    case Glyph::Exit:
        p.setBrush(QColor(0xc8, 0x3a, 0x2e));
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 5, 5);
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
        break;
    case Glyph::Zoom:
        p.setBrush(QColor(0xdd, 0xee, 0xff));
        p.drawEllipse(QRectF(4, 4, 17, 17));
        p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        break;
    case Glyph::NavFirst:
        p.setBrush(ink);
        p.drawLine(QPointF(9, 6), QPointF(9, 26));
        p.drawPolygon(triangle(23, -1));
        break;
    case Glyph::NavPrior:
        p.setBrush(ink);
        p.drawPolygon(triangle(21, -1));
        break;
    case Glyph::NavNext:
        p.setBrush(ink);
        p.drawPolygon(triangle(11, 1));
        break;
    case Glyph::NavLast:
        p.setBrush(ink);
        p.drawPolygon(triangle(9, 1));
        p.drawLine(QPointF(23, 6), QPointF(23, 26));
        break;
    case Glyph::NavInsert:
        p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 6), QPointF(16, 26));
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
        break;
    case Glyph::NavDelete:
        p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
        break;
    case Glyph::NavEdit:
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(16, 7), QPointF(26, 23), QPointF(6, 23)}));
        break;
    case Glyph::NavPost:
        p.setPen(QPen(QColor(0x1a, 0x7f, 0x3c), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(6, 17), QPointF(13, 24), QPointF(26, 8)}));
        break;
    case Glyph::NavCancel:
        p.setPen(QPen(QColor(0xb0, 0x20, 0x20), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    }
}

} // namespace

QIcon icon(Glyph glyph)
{
    QPixmap normal(kSize, kSize);
    normal.fill(Qt::transparent);
    {
        QPainter p(&normal);
        p.setRenderHint(QPainter::Antialiasing);
        drawGlyph(p, glyph);
    }
    QIcon result(normal);
    // Disabled buttons must look disabled even with styles that do not grey custom pixmaps well.
    QPixmap faded(kSize, kSize);
    faded.fill(Qt::transparent);
    {
        QPainter p(&faded);
        p.setOpacity(0.3);
        p.drawPixmap(0, 0, normal);
    }
    result.addPixmap(faded, QIcon::Disabled);
    return result;
}

} // namespace tovek::ui::icons
