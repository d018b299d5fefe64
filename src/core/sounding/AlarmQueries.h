// Questions about the alarms' moments that change nothing: the earliest alarms after a moment, the
// occurrences in an interval, and the alarms that come close to others.
#pragma once

#include "containers/DateVector.h"
#include "containers/Vector.h"
#include "dates/Date.h"

#include <cstdint>

namespace halvika {

class Alarm;
class AlarmGroupCollection;

class AlarmQueries {
public:
    /// More occurrences than this make collectAlarmIntervals give up.
    static constexpr int maxIntervals = 1000;

    /// The active alarms of active groups whose next moment after `after` is the earliest, each with that
    /// moment (getNextAlarmDateAfter); with `soundAfterInactiveOnly`, only alarms that sound after inactivity.
    /// An alarm whose moment cannot be computed is passed over.
    static Vector<Alarm> collectEarliestAlarms(const AlarmGroupCollection& groups, const Date& after,
                                               bool soundAfterInactiveOnly);
    /// Every occurrence of the alarms between `from` and `to` (inclusive) with its end moment, sorted by start,
    /// appended to the three vectors (which may already hold entries); alarms that are off, in a group that is
    /// off or less important than `minImportance` are left out. More than maxIntervals entries empty the
    /// vectors and give false. `ignoreCorrection` is the settings' "igc".
    static bool collectAlarmIntervals(const Vector<Alarm>& alarms, const Date& from, const Date& to,
                                      std::int16_t minImportance, bool ignoreCorrection, Vector<Alarm>& found,
                                      DateVector& starts, DateVector& ends);
    /// The loaded alarms whose occurrences in the year from `now` come within `margin` (amount and unit) of
    /// an occurrence of the given alarms; each listed once, in the order found, never one of the given alarms.
    static Vector<Alarm> findOverlappingAlarms(const AlarmGroupCollection& groups, const Date& now,
                                               const Vector<Alarm>& alarms, std::int32_t marginAmount,
                                               std::int16_t marginUnit, std::int16_t minImportance,
                                               bool ignoreCorrection);
};

} // namespace halvika
