// Hears the watch's reports and keeps what a test looks at.
#pragma once

#include "alarms/Alarm.h"
#include "sounding/WatchListener.h"

#include <string>
#include <utility>
#include <vector>

namespace halvika::test {

class RecordingWatchListener : public WatchListener {
public:
    void nextAlarmChanged() override { ++nextAlarmReports; }
    void blockedChanged(bool blocked) override { blockedReports.push_back(blocked); }
    void alarmDataChanged() override { ++dataReports; }
    void seeAlarmsListChanged(int list) override { listReports.push_back(list); }
    void inactivityEnded() override { ++inactivityEnds; }
    void missedWhileAway(const Vector<Alarm>& alarms, const DateVector& moments, bool cut) override {
        ++missedReports;
        lastMissedCut = cut;
        for (int i = 0; i < alarms.numberOfElements(); ++i) {
            missed.emplace_back(alarms.elementAt(i)->name, moments.dateAt(i));
        }
    }
    void scheduled() override { ++schedulings; }
    void versionCheckDue() override { ++versionChecks; }

    int nextAlarmReports = 0;
    std::vector<bool> blockedReports;
    int dataReports = 0;
    std::vector<int> listReports;
    int inactivityEnds = 0;
    int missedReports = 0;
    bool lastMissedCut = false;
    std::vector<std::pair<std::string, Date>> missed;
    int schedulings = 0;
    int versionChecks = 0;
};

} // namespace halvika::test
