// What the alarm watch reports to the windows and the parts that follow it.
#pragma once

#include "containers/DateVector.h"
#include "containers/Vector.h"

namespace halvika {

class Alarm;

/// Every report is made on the watch's thread, from inside its work: a listener may ask the watch for its
/// state but should leave lengthy work for later.
class WatchListener {
public:
    virtual ~WatchListener() = default;

    /// The next alarm, or blocked mode, changed: what tells the next alarm is to be shown again.
    virtual void nextAlarmChanged() = 0;
    virtual void blockedChanged(bool blocked) = 0;
    /// Alarms or groups changed: the lists showing them are to be filled again.
    virtual void alarmDataChanged() = 0;
    /// See-alarms list 0 (recent) or 1 (coming) changed.
    virtual void seeAlarmsListChanged(int list) = 0;
    /// An inactivity gap ended (the personal assistant greets the user).
    virtual void inactivityEnded() = 0;
    /// An inactivity gap ended: the alarms that fell due in it and stayed silent, with their moments, and
    /// whether there were more moments to look at than the watch looks at.
    virtual void missedWhileAway(const Vector<Alarm>& alarms, const DateVector& moments, bool cut) = 0;
    /// The timer was set for the next event; the computer's wake-up follows the alarms from here.
    virtual void scheduled() = 0;
    /// The minute chosen for the automatic version check came.
    virtual void versionCheckDue() = 0;

protected:
    WatchListener() = default;
    WatchListener(const WatchListener&) = default;
    WatchListener& operator=(const WatchListener&) = default;
};

} // namespace halvika
