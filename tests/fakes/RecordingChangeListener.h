// Records the change reports sent to the alarm watch.
#pragma once

#include "groups/ChangeKinds.h"

#include <vector>

namespace halvika::test {

class RecordingChangeListener : public ChangeListener {
public:
    struct Report {
        bool groups;
        int count;
        std::int16_t kinds;
    };
    void alarmsChanged(const Vector<Alarm>& alarms, std::int16_t kinds) override {
        reports.push_back({false, alarms.numberOfElements(), kinds});
    }
    void groupsChanged(const Vector<AlarmGroup>& groups, std::int16_t kinds) override {
        reports.push_back({true, groups.numberOfElements(), kinds});
    }
    std::vector<Report> reports;
};

} // namespace halvika::test
