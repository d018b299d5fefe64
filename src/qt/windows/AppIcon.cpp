// The program's icons, drawn in code so that they need no image plug-in and no icon theme.
#include "windows/AppIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace halvika {

namespace {

void drawClock(QPainter& p, bool blocked) {
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
}

void drawClockOpen(QPainter& p) {
    drawClock(p, false);
}

void drawClockBlocked(QPainter& p) {
    drawClock(p, true);
}

void drawSpeaker(QPainter& p) {
    const QColor ink(0x2b, 0x2d, 0x42);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    const QPointF cone[] = {{8, 24}, {20, 24}, {34, 10}, {34, 54}, {20, 40}, {8, 40}};
    p.drawPolygon(cone, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(26, 20, 20, 24), -50 * 16, 100 * 16);
    p.drawArc(QRectF(22, 10, 36, 44), -50 * 16, 100 * 16);
}

void drawStop(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2b, 0x2d, 0x42));
    p.drawRoundedRect(QRectF(13, 13, 38, 38), 5, 5);
}

/// A picture on a grid of 64 by 64 units.
using Drawing = void (*)(QPainter&);

// Draws its picture at whatever size is asked for and keeps no pixmaps: every window and the tray hold
// an icon, and a set of ready pixmaps per holder cost about 100 KB each. No icon comes from the icon
// theme either, which would load and keep the theme's whole index.
class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Drawing draw) : m_draw(draw) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override { draw(*painter, rect); }

    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        draw(p, QRect(QPoint(0, 0), size));
        return pixmap;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_draw); }

    QString key() const override { return QStringLiteral("halvika-drawn"); }

    // Sizes a window manager or tray asks for when an icon names none.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(22, 22), QSize(24, 24),  QSize(32, 32),
                QSize(48, 48), QSize(64, 64), QSize(128, 128)};
    }

private:
    void draw(QPainter& p, const QRect& rect) const {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.translate(rect.topLeft());
        p.scale(rect.width() / 64.0, rect.height() / 64.0);
        m_draw(p);
        p.restore();
    }

    Drawing m_draw;
};

} // namespace

QIcon AppIcon::icon(bool blocked) {
    return QIcon(new DrawnIconEngine(blocked ? drawClockBlocked : drawClockOpen));
}

QIcon AppIcon::speaker() {
    return QIcon(new DrawnIconEngine(drawSpeaker));
}

QIcon AppIcon::stop() {
    return QIcon(new DrawnIconEngine(drawStop));
}

} // namespace halvika
