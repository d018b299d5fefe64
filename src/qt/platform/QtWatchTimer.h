// The watch timer on a precise QTimer, finished with a short sleep to the exact moment.
#pragma once

#include "platform/WatchTimer.h"

#include <QTimer>

#include <cstdint>

namespace halvika {

class QtWatchTimer : public WatchTimer {
public:
    QtWatchTimer();
    void setHandler(std::function<void()> handler) override;
    void setInterval(int milliseconds) override;
    int interval() const override { return m_interval; }
    void enable() override;
    void disable() override { m_timer.stop(); }
    bool isEnabled() const override { return m_timer.isActive(); }

private:
    void fire();

    QTimer m_timer;
    std::function<void()> m_handler;
    int m_interval = 0;
    /// When the shot is due, in nanoseconds of the monotonic clock.
    std::int64_t m_deadlineNs = 0;
};

} // namespace halvika
