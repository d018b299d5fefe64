// The change kinds reported to the alarm watch, and its notification interface.
#pragma once

#include "containers/Vector.h"

#include <cstdint>

namespace halvika {

class Alarm;
class AlarmGroup;

/// Bits of the 16-bit change set passed with every change report.
enum ChangeKind : std::int16_t {
    kindLoaded = 1,
    kindAdded = 4,
    kindRemoved = 8,
    kindStateChanged = 16,
    kindTimingChanged = 32,
    kindContentChanged = 64,
    kindSounded = 128,
};

/// Where every part that changes alarms or groups reports it; the alarm watch implements it.
class ChangeListener {
public:
    virtual ~ChangeListener() = default;
    virtual void alarmsChanged(const Vector<Alarm>& alarms, std::int16_t kinds) = 0;
    virtual void groupsChanged(const Vector<AlarmGroup>& groups, std::int16_t kinds) = 0;
    /// Every group is about to be dropped (a reload): nothing may keep pointing at their alarms.
    virtual void allGroupsUnloaded() {}
    /// Something shown of the groups changed that is no change of their data (a synchronisation's problem).
    virtual void groupsShownChanged() {}
};

} // namespace halvika
