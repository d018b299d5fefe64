// The alarm watch's reports as Qt signals, so that windows follow the watch and stop following it when they
// are destroyed.
#pragma once

#include "sounding/WatchListener.h"

#include <QObject>

namespace halvika {

class AlarmWatch;

/// Hears `watch` from its construction to its destruction. Connect directly: the references a signal
/// carries are the watch's own and last only for the report.
class QtWatchListener : public QObject, public WatchListener {
    Q_OBJECT
public:
    explicit QtWatchListener(AlarmWatch& watch, QObject* parent = nullptr);
    ~QtWatchListener() override;

    void nextAlarmChanged() override { emit nextAlarmChangedReported(); }
    void blockedChanged(bool blocked) override { emit blockedChangedReported(blocked); }
    void alarmDataChanged() override { emit alarmDataChangedReported(); }
    void seeAlarmsListChanged(int list) override { emit seeAlarmsListChangedReported(list); }
    void inactivityEnded() override { emit inactivityEndedReported(); }
    void missedWhileAway(const Vector<Alarm>& alarms, const DateVector& moments, bool cut) override {
        emit missedWhileAwayReported(alarms, moments, cut);
    }
    void scheduled() override { emit scheduledReported(); }
    void versionCheckDue() override { emit versionCheckDueReported(); }

signals:
    void nextAlarmChangedReported();
    void blockedChangedReported(bool blocked);
    void alarmDataChangedReported();
    void seeAlarmsListChangedReported(int list);
    void inactivityEndedReported();
    void missedWhileAwayReported(const halvika::Vector<halvika::Alarm>& alarms, const halvika::DateVector& moments,
                                 bool cut);
    void scheduledReported();
    void versionCheckDueReported();

private:
    AlarmWatch& m_watch;
};

} // namespace halvika
