// The program's icon, drawn in code so that it needs no image plug-in.
#include "windows/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace halvika {

namespace {

QPixmap drawClock(int size, bool blocked) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    const QColor ink(0x2b, 0x2d, 0x42);
    // Bells.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xef, 0x8a, 0x17));
    p.drawPie(QRectF(4, 2, 22, 22), 45 * 16, 180 * 16);
    p.drawPie(QRectF(38, 2, 22, 22), -45 * 16, 180 * 16);
    // Legs.
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 52), QPointF(10, 60));
    p.drawLine(QPointF(48, 52), QPointF(54, 60));
    // Face.
    p.setPen(QPen(ink, 4));
    p.setBrush(QColor(0xfd, 0xfd, 0xf7));
    p.drawEllipse(QPointF(32, 34), 24, 24);
    // Hands at ten past ten.
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 34), QPointF(22, 26));
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 34), QPointF(44, 22));
    if (blocked) {
        p.setPen(QPen(QColor(0xd6, 0x28, 0x28), 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 58), QPointF(56, 10));
    }
    return pixmap;
}

} // namespace

QIcon AppIcon::icon(bool blocked) {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128}) {
        icon.addPixmap(drawClock(size, blocked));
    }
    return icon;
}

} // namespace halvika
