#include "windows/frmAlarmClock.h"

#include "platform/Clock.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmClockLogic.h"
#include "sounding/SoundingWindows.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <numbers>

namespace halvika {

namespace {
constexpr int textHint = 1;
} // namespace

frmAlarmClock::frmAlarmClock(AlarmClockLogic& logic, SoundingWindows& windows, modTranslation& texts,
                             const Clock& clock)
    : QWidget(nullptr, Qt::Window), m_logic(logic), m_windows(windows), m_texts(texts), m_clock(clock) {
    setObjectName("frmAlarmClock");
    setWindowTitle("Alarm clock");
    setWindowIcon(AppIcon::icon());
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(24, 28, 36));
    dark.setColor(QPalette::WindowText, QColor(230, 232, 236));
    setPalette(dark);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    m_snoozing = new QLabel("Snoozing. Click here to stop the alarm clock.", this);
    m_snoozing->setObjectName("lblSnoozing");
    m_snoozing->setAlignment(Qt::AlignCenter);
    m_snoozing->setCursor(Qt::PointingHandCursor);
    QFont labelFont = m_snoozing->font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 1.3);
    labelFont.setBold(true);
    m_snoozing->setFont(labelFont);
    m_snoozing->setStyleSheet("QLabel { color: #ffd166; background: rgba(255, 209, 102, 40); border-radius: 6px; "
                              "padding: 6px; }");
    m_snoozing->installEventFilter(this);
    layout->addWidget(m_snoozing);
    m_hint = new QLabel(this);
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setStyleSheet("QLabel { color: #8a93a3; }");
    layout->addWidget(m_hint);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, [this] {
        const bool minuteChanged = m_logic.tick();
        m_snoozing->setVisible(m_logic.snoozeLabelVisible());
        if (minuteChanged) {
            update();
        }
        if (m_logic.state() == AlarmClockLogic::State::Sounding) {
            update(); // the ringing bells move
        }
    });
    m_timer->start(1000);

    translate();
    resize(420, 460);
    refresh();
    // Brought to the front once, then like any other window.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    setWindowFlag(Qt::WindowStaysOnTopHint, false);
    show();
}

void frmAlarmClock::translate() {
    FormTranslator::translateForm(*this, m_texts);
    m_hint->setText(QString::fromStdString(m_texts.getText("frmAlarmClock", textHint)));
}

void frmAlarmClock::refresh() {
    m_snoozing->setVisible(m_logic.snoozeLabelVisible());
    show();
    raise();
    update();
}

void frmAlarmClock::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Date now = m_clock.now().date;
    const int labelsHeight = (m_snoozing->isVisible() ? m_snoozing->height() : 0) + m_hint->height() + 24;
    const QRectF area(0, 0, width(), height() - labelsHeight);
    // The face above, the digital time below it; the bells stick out of the face, so it leaves them room.
    const QRectF timeArea(0, area.bottom() - area.height() * 0.2, area.width(), area.height() * 0.2);
    const QRectF faceArea(0, 0, area.width(), area.height() - timeArea.height());
    const double radius = std::max(20.0, std::min(faceArea.width(), faceArea.height()) / 2 / 1.22);
    const QPointF centre(faceArea.center().x(), faceArea.center().y() + radius * 0.1);
    const bool ringing = m_logic.state() == AlarmClockLogic::State::Sounding;
    const QColor accent = ringing ? QColor(239, 71, 111) : QColor(17, 138, 178);

    // Bells on top, shaking while it rings.
    const double shake = ringing ? ((now.second() % 2) ? 6.0 : -6.0) : 0.0;
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    for (const int side : {-1, 1}) {
        const double angle = (side * 42.0 + shake) * std::numbers::pi / 180;
        const QPointF bell(centre.x() + std::sin(angle) * radius * 0.98, centre.y() - std::cos(angle) * radius * 0.98);
        p.drawEllipse(bell, radius * 0.22, radius * 0.22);
    }
    // Face.
    p.setBrush(QColor(250, 250, 247));
    p.setPen(QPen(accent, radius * 0.07));
    p.drawEllipse(centre, radius, radius);
    // Hour marks.
    for (int i = 0; i < 60; ++i) {
        const double a = i * 6 * std::numbers::pi / 180;
        const double inner = radius * (i % 5 == 0 ? 0.80 : 0.88);
        p.setPen(QPen(QColor(40, 44, 52), i % 5 == 0 ? radius * 0.035 : radius * 0.012, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(centre.x() + std::sin(a) * inner, centre.y() - std::cos(a) * inner),
                   QPointF(centre.x() + std::sin(a) * radius * 0.92, centre.y() - std::cos(a) * radius * 0.92));
    }
    // Digital time under the face.
    QFont digits = font();
    digits.setPixelSize(std::max(10, static_cast<int>(timeArea.height() * 0.7)));
    digits.setBold(true);
    p.setFont(digits);
    p.setPen(ringing ? accent : QColor(230, 232, 236));
    p.drawText(timeArea, Qt::AlignCenter, QString::asprintf("%02d:%02d", now.hour(), now.minute()));
    // Hands.
    const double minutes = now.minute();
    const double hourAngle = ((now.hour() % 12) + minutes / 60.0) * 30 * std::numbers::pi / 180;
    const double minuteAngle = minutes * 6 * std::numbers::pi / 180;
    const auto hand = [&](double angle, double length, double thickness, const QColor& colour) {
        p.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, QPointF(centre.x() + std::sin(angle) * length, centre.y() - std::cos(angle) * length));
    };
    hand(hourAngle, radius * 0.5, radius * 0.07, QColor(40, 44, 52));
    hand(minuteAngle, radius * 0.75, radius * 0.045, QColor(40, 44, 52));
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(centre, radius * 0.06, radius * 0.06);
}

void frmAlarmClock::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_logic.click();
        refresh();
    }
}

void frmAlarmClock::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_logic.doubleClick();
        refresh();
    }
}

bool frmAlarmClock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_snoozing && event->type() == QEvent::MouseButtonPress) {
        m_logic.snoozeLabelClicked();
        refresh();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmAlarmClock::closeEvent(QCloseEvent* event) {
    m_timer->stop();
    if (!m_detached) {
        m_detached = true;
        m_windows.alarmClockClosed();
    }
    event->accept();
}

} // namespace halvika
