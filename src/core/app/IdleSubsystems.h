// The subsystems while only the spine exists: no alarms, nothing to save.
#pragma once

#include "app/Subsystems.h"
#include "platform/WatchTimer.h"

namespace halvika {

class IdleSubsystems : public Subsystems {
public:
    static constexpr int defaultIntervalMs = 30000;

    explicit IdleSubsystems(WatchTimer& timer) : m_timer(timer) {}

    bool mainStart(bool) override { return true; }
    /// With nothing to watch the timer just comes back at the default interval.
    void watchTick() override { m_timer.setInterval(defaultIntervalMs); }
    bool saveForExit(std::string&) override { return true; }
    void releaseRunningPlugins() override {}
    std::string languageFileName() const override { return "English"; }
    DebugState debugState() const override { return {}; }

private:
    WatchTimer& m_timer;
};

} // namespace halvika
