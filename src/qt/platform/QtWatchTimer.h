// The watch timer on a precise QTimer.
#pragma once

#include "platform/WatchTimer.h"

#include <QTimer>

namespace halvika {

class QtWatchTimer : public WatchTimer {
public:
    QtWatchTimer();
    void setHandler(std::function<void()> handler) override;
    void setInterval(int milliseconds) override;
    int interval() const override { return m_timer.interval(); }
    void enable() override { m_timer.start(); }
    void disable() override { m_timer.stop(); }
    bool isEnabled() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_handler;
};

} // namespace halvika
