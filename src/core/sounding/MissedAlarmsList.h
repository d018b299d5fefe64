// The alarms that fell due while the computer was away and stayed silent, as the user sees them.
#pragma once

#include "alarms/Alarm.h"
#include "containers/DateVector.h"
#include "containers/Vector.h"

#include <string>
#include <vector>

namespace halvika {

class AlarmWatch;

/// Gaps add to one list, kept in moment order; the user sounds a chosen few or dismisses them all.
class MissedAlarmsList {
public:
    struct Row {
        std::string group;
        std::string name;
        std::string moment;
        bool chosen = false;
    };

    /// Adds a gap's silent alarms; an alarm already listed with the same moment is not listed twice. `cut`:
    /// the gap held more than could be listed.
    void add(const Vector<Alarm>& alarms, const DateVector& moments, bool cut = false);
    /// Whether a gap held more than is listed, until cleared.
    bool cut() const { return m_cut; }
    int count() const { return static_cast<int>(m_entries.size()); }
    /// The rows, moments written in `format` (the user's general format).
    std::vector<Row> rows(const std::string& format) const;
    void choose(int row, bool chosen);
    /// Sounds the chosen alarms through the watch, in moment order, and takes them off the list.
    void soundChosen(AlarmWatch& watch);
    void clear() {
        m_entries.clear();
        m_cut = false;
    }

private:
    struct Entry {
        std::shared_ptr<Alarm> alarm;
        Date moment;
        bool chosen = false;
    };
    std::vector<Entry> m_entries;
    bool m_cut = false;
};

} // namespace halvika
