#include "windows/FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace halvika {

void FirstPaintProbe::installIfAsked(QWidget& window) {
    if (std::getenv("HALVIKA_FIRST_PAINT_PROBE") == nullptr) {
        return;
    }
    window.installEventFilter(new FirstPaintProbe(&window));
}

bool FirstPaintProbe::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        // Queued, so that the time is taken once this paint has been drawn and flushed to the screen.
        QTimer::singleShot(0, this, [] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("first-paint %lld.%06ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec / 1000);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace halvika
