// The two see-alarms lists: the alarms that sounded recently (0) and those coming soon (1).
#pragma once

#include "containers/BooleanVector.h"
#include "containers/DateVector.h"
#include "containers/Vector.h"
#include "dates/Date.h"

#include <memory>

namespace halvika {

class Alarm;
class AlarmGroupCollection;
struct WatchSettings;

/// Each list looks the settings' amount and unit back (0) or ahead (1) from the watch's "now", which the
/// caller gives, and knows the moment it must be looked at again.
class SeeAlarmsLists {
public:
    /// One list: entries (alarm, moment, selected) in moment order, and the moment to look again.
    struct List {
        Vector<Alarm> alarms;
        DateVector moments;
        BooleanVector selected;
        Date boundary = Date::none();
    };

    SeeAlarmsLists(const WatchSettings& settings, const AlarmGroupCollection& groups)
        : m_settings(settings), m_groups(groups) {}

    const List& list(int list) const { return m_lists[list == 0 ? 0 : 1]; }
    /// Drops what left list i's window, appends what entered it, and finds its next boundary. False when the
    /// list is not shown, or its window cannot be computed, and nothing was looked at.
    bool update(int list, const Date& now);
    /// Empties list i and fills it again from every group.
    void rebuild(int list, const Date& now);
    void add(const Vector<Alarm>& alarms, int list, const Date& now);
    void remove(const Vector<Alarm>& alarms);
    /// Both lists empty, with no boundary.
    void clear();

private:
    /// List i's window [start, end] around now; false when it leaves the calendar's years.
    bool window(int list, const Date& now, Date& start, Date& end) const;
    void computeBoundary(int list, const Date& now);
    void insert(int list, const std::shared_ptr<Alarm>& alarm, const Date& moment);

    const WatchSettings& m_settings;
    const AlarmGroupCollection& m_groups;
    List m_lists[2];
};

} // namespace halvika
