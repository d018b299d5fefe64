// A watch timer that fires only when the test says so.
#pragma once

#include "platform/WatchTimer.h"

namespace halvika::test {

class ManualTimer : public WatchTimer {
public:
    void setHandler(std::function<void()> handler) override { m_handler = std::move(handler); }
    void setInterval(int milliseconds) override { m_interval = milliseconds; }
    int interval() const override { return m_interval; }
    void setExact(bool exact) override { m_exact = exact; }
    bool exact() const { return m_exact; }
    void enable() override { m_enabled = true; }
    void disable() override { m_enabled = false; }
    bool isEnabled() const override { return m_enabled; }
    void fire() {
        if (m_handler) {
            m_handler();
        }
    }

private:
    std::function<void()> m_handler;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_exact = false;
};

} // namespace halvika::test
