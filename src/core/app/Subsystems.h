// What the spine drives in the rest of the program: the watch's tick, saving, plug-in release.
#pragma once

#include "dates/Date.h"

#include <string>

namespace halvika {

class Subsystems {
public:
    /// Values of the watch and settings written into the diagnostic log.
    struct DebugState {
        Date nextAlarm = Date::none();
        int dueAlarmCount = 0;
        Date lastSoundedCheck = Date::none(); ///< the settings' "lsd" moment
        bool watchBusy = false;
        bool listsRebuilding = false;
        int pendingWork = 0;
        Date watchNow;
    };

    virtual ~Subsystems() = default;

    /// Step 10 of start-up after the windows are loaded: settings, alarm groups, to-do note. False when the
    /// settings could not be read (the message was shown): the program ends at once.
    virtual bool mainStart(bool safeMode) = 0;
    /// The alarm watch's tick body; it sets the next timer interval.
    virtual void watchTick() = 0;
    /// The machine is about to sleep: what waits to be saved is saved now, without asking anything.
    virtual void saveBeforeSleep() {}
    /// True while a plug-in call is in progress: the tick then does no work.
    virtual bool busy() const { return false; }

    /// Saves for the exit routine, without asking anything: the settings and, with automatic saving, the
    /// changed groups and the to-do note. False when anything could not be written; `problems` then has a
    /// line per file with its reason.
    virtual bool saveForExit(std::string& problems) = 0;
    /// After everything is saved: brings the settings' record of the running plug-ins up to date, asking
    /// them for at most `budgetMs` in all.
    virtual void refreshPluginState(int /*budgetMs*/) {}
    /// The exit routine has saved: what still runs until the process ends writes nothing more.
    virtual void stopSaving() {}
    /// Ends the plug-ins that keep running, the most recently started first.
    virtual void releaseRunningPlugins() = 0;

    /// The chosen language name ("English"), passed to the version check.
    virtual std::string languageFileName() const = 0;
    virtual DebugState debugState() const = 0;
};

} // namespace halvika
