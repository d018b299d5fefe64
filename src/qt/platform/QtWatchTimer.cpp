// The watch timer on a timerfd watched by the event loop: one wake-up, in the exact moment.
#include "platform/QtWatchTimer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <utility>

namespace halvika {

namespace {

constexpr std::int64_t nsPerMs = 1'000'000;
constexpr std::int64_t nsPerSecond = 1'000'000'000;
/// How long before an exact shot's moment the timerfd goes off: about what it takes from there to the
/// handler (the kernel waking the thread, the event loop dispatching), measured at 0.2 to 0.7 ms. What is
/// left of it when the handler is reached is waited out on the processor, so as not to sleep again.
constexpr std::int64_t exactLeadNs = 500'000;

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * nsPerSecond + now.tv_nsec;
}

/// When a shot `milliseconds` on is due on the monotonic clock. The watch counts from its reading of the
/// wall clock in whole milliseconds, i.e. from the start of the current one; counted from the exact now,
/// every shot would come up to a millisecond after its second.
std::int64_t deadlineAfter(int milliseconds) {
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    const std::int64_t intoMillisecond = wall.tv_nsec % nsPerMs;
    return monotonicNs() - intoMillisecond + std::int64_t{milliseconds} * nsPerMs;
}

timespec toTimespec(std::int64_t ns) {
    return {static_cast<time_t>(ns / nsPerSecond), static_cast<long>(ns % nsPerSecond)};
}

} // namespace

QtWatchTimer::QtWatchTimer() {
    // The event loop's own timers have a resolution of a millisecond and wake up to one or two after it; a
    // timerfd wakes it in the moment. On the monotonic clock, so a wall clock set back cannot stretch a shot.
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
            std::uint64_t expirations = 0;
            // Nothing to read: the shot was taken back (disabled or re-armed) after the fd became readable.
            if (::read(m_fd, &expirations, sizeof expirations) == sizeof expirations && m_enabled) {
                waitForExactMoment();
                fire();
            }
        });
    } else {
        useFallback();
    }
}

void QtWatchTimer::useFallback() {
    // A coarse QTimer of 20 s or more fires on whole seconds, up to a second late.
    m_fallback.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_fallback, &QTimer::timeout, [this] { fire(); });
}

QtWatchTimer::~QtWatchTimer() {
    m_notifier.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void QtWatchTimer::setHandler(std::function<void()> handler) {
    m_handler = std::move(handler);
}

void QtWatchTimer::setInterval(int milliseconds) {
    m_interval = std::max(0, milliseconds);
    // As with QTimer, a running timer counts its new interval from now.
    if (m_enabled) {
        arm();
    }
}

void QtWatchTimer::enable() {
    m_enabled = true;
    arm();
}

void QtWatchTimer::disable() {
    m_enabled = false;
    if (m_fd >= 0) {
        const itimerspec off{};
        timerfd_settime(m_fd, 0, &off, nullptr);
    } else {
        m_fallback.stop();
    }
}

void QtWatchTimer::arm() {
    if (m_fd < 0) {
        m_fallback.start(m_interval);
        return;
    }
    // Left running, the timer repeats one interval on, as a QTimer does; never every instant.
    const std::int64_t period = std::max<std::int64_t>(m_interval, 1) * nsPerMs;
    itimerspec shot{};
    const std::int64_t deadline = std::max<std::int64_t>(deadlineAfter(m_interval), 1);
    // Repeats (a shot the watch did not plan again) need no such care.
    m_exactMomentNs = m_exact && m_interval * nsPerMs > exactLeadNs ? deadline : 0;
    shot.it_value = toTimespec(m_exactMomentNs != 0 ? deadline - exactLeadNs : deadline);
    shot.it_interval = toTimespec(period);
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &shot, nullptr) != 0) {
        // Never silent: should the kernel refuse, the event loop's timer takes over. The notifier may be
        // the one whose shot is being handled, so it goes later.
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
        ::close(m_fd);
        m_fd = -1;
        useFallback();
        arm();
    }
}

void QtWatchTimer::waitForExactMoment() {
    const std::int64_t moment = std::exchange(m_exactMomentNs, 0);
    // Never longer than the lead, whatever the clock does.
    const std::int64_t latest = monotonicNs() + exactLeadNs;
    for (std::int64_t now = monotonicNs(); now < moment && now < latest; now = monotonicNs()) {
    }
}

void QtWatchTimer::fire() {
    if (m_handler) {
        m_handler();
    }
}

} // namespace halvika
