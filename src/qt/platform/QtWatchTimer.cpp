// The watch timer on a precise QTimer.
#include "platform/QtWatchTimer.h"

namespace halvika {

QtWatchTimer::QtWatchTimer() {
    // A coarse QTimer of 20 s or more fires on whole seconds of the monotonic clock, up to a second late;
    // alarms must sound in their second.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (m_handler) {
            m_handler();
        }
    });
}

void QtWatchTimer::setHandler(std::function<void()> handler) {
    m_handler = std::move(handler);
}

void QtWatchTimer::setInterval(int milliseconds) {
    // setInterval restarts an active timer, so the interval counts from now.
    m_timer.setInterval(milliseconds < 0 ? 0 : milliseconds);
}

} // namespace halvika
