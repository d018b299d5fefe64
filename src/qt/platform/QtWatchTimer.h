// The watch timer on a timerfd watched by the event loop: one wake-up, in the exact moment.
#pragma once

#include "platform/WatchTimer.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <memory>

namespace halvika {

class QtWatchTimer : public WatchTimer {
public:
    QtWatchTimer();
    ~QtWatchTimer() override;
    QtWatchTimer(const QtWatchTimer&) = delete;
    QtWatchTimer& operator=(const QtWatchTimer&) = delete;

    void setHandler(std::function<void()> handler) override;
    void setInterval(int milliseconds) override;
    int interval() const override { return m_interval; }
    void setExact(bool exact) override { m_exact = exact; }
    void enable() override;
    void disable() override;
    bool isEnabled() const override { return m_enabled; }

private:
    void arm();
    void useFallback();
    void fire();
    /// Holds an exact shot, which went off early by the lead, until its moment.
    void waitForExactMoment();

    /// -1 when no timerfd could be made; the precise QTimer stands in, a millisecond or two late.
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_fallback;
    std::function<void()> m_handler;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_exact = false;
    /// An exact shot's moment on the monotonic clock, 0 for none: the timerfd is set a little before it.
    std::int64_t m_exactMomentNs = 0;
};

} // namespace halvika
