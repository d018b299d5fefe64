// Finding alarms by a piece of their text.
#pragma once

#include "containers/Vector.h"

#include <string>

namespace halvika {

class Alarm;
class AlarmGroupCollection;

class FindLogic {
public:
    explicit FindLogic(AlarmGroupCollection& groups) : m_groups(groups) {}

    /// Searches every alarm of the visible groups (or, within results, the last results) for `text` in the
    /// alarm's whole XML text, tags included; without `matchCase` letter case does not count, in any
    /// alphabet ("ärzt" finds "Ärzt"). The found
    /// alarms become the results; returns their number.
    int find(const std::string& text, bool matchCase, bool withinResults);
    const Vector<Alarm>& results() const { return m_results; }
    /// Drops the results that were deleted or unloaded since; true when any went.
    bool forgetUnloaded();
    /// Searching within results makes sense only when there are some.
    bool withinResultsAvailable() const { return m_results.numberOfElements() > 0; }

private:
    AlarmGroupCollection& m_groups;
    Vector<Alarm> m_results;
};

} // namespace halvika
