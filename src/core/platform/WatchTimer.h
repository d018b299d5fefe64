// The one timer that drives the program; fires on the user-interface thread.
#pragma once

#include <functional>

namespace halvika {

class WatchTimer {
public:
    virtual ~WatchTimer() = default;
    /// What runs when the timer fires.
    virtual void setHandler(std::function<void()> handler) = 0;
    /// Milliseconds until the next shot, counted from now.
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    /// Whether the shots planned from now on are an alarm's: such a shot is to come in its very moment, not
    /// the fraction of a millisecond an event loop takes to wake up. A timer that cannot do better ignores it.
    virtual void setExact(bool /*exact*/) {}
    virtual void enable() = 0;
    virtual void disable() = 0;
    virtual bool isEnabled() const = 0;
};

} // namespace halvika
