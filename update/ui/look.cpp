#include "update/ui/look.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWidget>

namespace tovek::ui {

QPixmap programIconPixmap()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    // A sheet of paper with a "T" and three answer boxes, one of them ticked.
    painter.setPen(QPen(QColor(40, 60, 120), 1.5));
    painter.setBrush(QColor(250, 250, 240));
    painter.drawRoundedRect(QRectF(4.5, 1.5, 23, 29), 2, 2);

    QFont letterFont;
    letterFont.setBold(true);
    letterFont.setPixelSize(13);
    painter.setFont(letterFont);
    painter.setPen(QColor(180, 30, 30));
    painter.drawText(QRectF(4.5, 2, 23, 13), Qt::AlignCenter, QStringLiteral("T"));

    painter.setPen(QPen(QColor(40, 60, 120), 1));
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i)
        painter.drawRect(QRectF(9.5 + i * 5, 19.5, 3, 3));
    painter.setPen(QPen(QColor(20, 140, 40), 1.6));
    QPainterPath tick;
    tick.moveTo(14.5, 21);
    tick.lineTo(16, 23.5);
    tick.lineTo(19.5, 17.5);
    painter.drawPath(tick);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    painter.drawLine(QPointF(8.5, 26.5), QPointF(23.5, 26.5));
    return pixmap;
}

void makeBold(QWidget* widget, int pointSizeDelta)
{
    QFont boldFont = widget->font();
    boldFont.setBold(true);
    if (pointSizeDelta != 0 && boldFont.pointSize() > 0)
        boldFont.setPointSize(boldFont.pointSize() + pointSizeDelta);
    widget->setFont(boldFont);
}

void centreOnScreen(QWidget* window)
{
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace tovek::ui
