// What the alarm watch's tick has the rest of the program do besides sounding.
#pragma once

namespace halvika {

class WatchChores {
public:
    virtual ~WatchChores() = default;

    /// Writes the settings without asking; false when they could not be (the tick tries again).
    virtual bool saveSettingsQuietly() = 0;
    /// Writes the to-do note without asking; false when it could not be.
    virtual bool saveToDoQuietly() = 0;
    /// Looks after the plug-in programs still running.
    virtual void pollRunningPlugins() = 0;

protected:
    WatchChores() = default;
    WatchChores(const WatchChores&) = default;
    WatchChores& operator=(const WatchChores&) = default;
};

} // namespace halvika
