// The watch timer on a precise QTimer, finished with a short sleep to the exact moment.
#include "platform/QtWatchTimer.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace halvika {

namespace {

/// How much sooner the event loop is asked to wake: its timers have a resolution of a millisecond and
/// wake up to one or two after it; the rest is slept exactly.
constexpr int leadMs = 3;

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

/// When a shot `milliseconds` on is due on the monotonic clock. The watch counts from its reading of the
/// wall clock in whole milliseconds, i.e. from the start of the current one; counted from the exact now,
/// every shot would come up to a millisecond after its second.
std::int64_t deadlineAfter(int milliseconds) {
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    const std::int64_t intoMillisecond = wall.tv_nsec % 1'000'000;
    return monotonicNs() - intoMillisecond + std::int64_t{milliseconds} * 1'000'000;
}

} // namespace

QtWatchTimer::QtWatchTimer() {
    // A coarse QTimer of 20 s or more fires on whole seconds of the monotonic clock, up to a second late;
    // alarms must sound in their second.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { fire(); });
}

void QtWatchTimer::setHandler(std::function<void()> handler) {
    m_handler = std::move(handler);
}

void QtWatchTimer::setInterval(int milliseconds) {
    m_interval = std::max(0, milliseconds);
    // setInterval restarts an active timer, so the interval counts from now.
    m_timer.setInterval(m_interval > leadMs ? m_interval - leadMs : m_interval);
    m_deadlineNs = deadlineAfter(m_interval);
}

void QtWatchTimer::enable() {
    m_timer.start();
    m_deadlineNs = deadlineAfter(m_interval);
}

void QtWatchTimer::fire() {
    // The monotonic clock, so that a wall clock set back meanwhile cannot stretch the sleep; it is at most
    // the lead, as the event loop never wakes before its time.
    const std::int64_t deadline = m_deadlineNs;
    const std::int64_t left = deadline - monotonicNs();
    if (left > 0 && left <= std::int64_t{leadMs + 1} * 1'000'000) {
        const timespec until{static_cast<time_t>(deadline / 1'000'000'000),
                             static_cast<long>(deadline % 1'000'000'000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
        }
    }
    // A timer left running repeats: its next shot is one interval on.
    m_deadlineNs = deadline + std::int64_t{m_interval} * 1'000'000;
    if (m_handler) {
        m_handler();
    }
}

} // namespace halvika
