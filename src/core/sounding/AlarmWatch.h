// The alarm watch: finds what is due, sounds it in moment order and sets the timer to the next event.
#pragma once

#include "base/OnceNotice.h"
#include "containers/DateVector.h"
#include "containers/Vector.h"
#include "dates/Date.h"
#include "groups/AlarmGroupCollection.h"
#include "groups/ChangeKinds.h"
#include "platform/Clock.h"
#include "platform/WatchTimer.h"
#include "sounding/AlarmQueries.h"
#include "sounding/SeeAlarmsLists.h"
#include "sounding/WatchChores.h"
#include "sounding/WatchListener.h"
#include "sounding/WatchSettings.h"

#include <cstdint>
#include <functional>
#include <random>
#include <utility>

namespace halvika {

class ActionRunner;
class MessageBoxRoutine;
class modTranslation;

/// Everything happens in the timer's ticks and in change reports, on one thread. `lastCheckMoment` is the
/// moment up to which every alarm has been handled: what falls due after it and not after now sounds, in
/// moment order, and the timer is then set to fire exactly at the next event when it is less than 33 s away.
class AlarmWatch : public ChangeListener {
public:
    // pendingWork bits.
    static constexpr std::int16_t settingsChanged = 1;
    static constexpr std::int16_t alarmDataChanged = 2;
    static constexpr std::int16_t alarmDue = 8;
    static constexpr std::int16_t toDoChanged = 16;
    static constexpr std::int16_t pastListDue = 32;
    static constexpr std::int16_t comingListDue = 64;
    static constexpr std::int16_t attentionDue = 128;
    static constexpr int defaultIntervalMs = 30000;
    /// Events nearer than this get an exact timer shot.
    static constexpr int exactShotSeconds = 33;
    /// An idle tick reuses the last look for the next alarm while no change is reported; every alarm is
    /// looked at afresh at least this often all the same, so that a change never reported cannot wait long.
    static constexpr std::int64_t rescanSeconds = 300;
    /// Work that can wait (saving, applying a plug-in's answer) is not begun this close before an alarm: the
    /// largest group takes tens of milliseconds to save or apply.
    static constexpr int quietBeforeAlarmMs = 500;
    static constexpr int manyAlarmsText = 208;
    static constexpr int textGroupsNotSaved = 110;
    // "frmAlarm" texts of the snooze command.
    static constexpr int textAlreadySnoozedUntil = 2;
    static constexpr int textSnoozeNotInFuture = 3;

    /// The outcome of the alarm window's snooze button.
    enum class SnoozeResult { Snoozed, NotAgain, InThePast };

    AlarmWatch(const Clock& clock, WatchTimer& timer, AlarmGroupCollection& groups, const WatchSettings& settings,
               ActionRunner& runner, WatchChores& chores, MessageBoxRoutine& messages, modTranslation& texts);

    /// Who hears the watch's reports; none when null.
    void setListener(WatchListener* listener) { m_listener = listener; }
    /// The state the settings hold: the last handled moment ("lsd") and blocked mode ("bl").
    void start(const Date& lastCheck, bool blocked);

    Date currentMoment(bool skipInactivityCheck);
    /// The system time moved back by the timer correction, without the inactivity check.
    Date correctedNow() const;
    void watchTick();
    Vector<Alarm> collectEarliestAlarms(const Date& after, bool soundAfterInactiveOnly) {
        return AlarmQueries::collectEarliestAlarms(m_groups, after, soundAfterInactiveOnly);
    }
    /// Sounds what is overdue, finds the next alarms afresh and sets the timer.
    void updateUpcoming();
    void scheduleWatchTimer();
    void soundDueAlarms();
    void soundAlarms(const Vector<Alarm>& alarms, const DateVector& moments, bool real);
    void testAlarms(const Vector<Alarm>& alarms);
    void soundAttentionAlarm();
    void cancelAttentionAlarm() { m_attentionMoment = Date::none(); }
    void soundMissedAlarms() { soundMissedAlarms(false); }
    /// Sounds what the user chose from the alarms missed while away, as the real soundings they stood for;
    /// alarms no longer loaded are left out.
    void soundMissedNow(const Vector<Alarm>& alarms, const DateVector& moments);
    /// Hands what is waiting to be saved to the file writer now, as the tick would (the machine is about to
    /// sleep). What the disk refused since the last time is handed over again, and told once.
    void savePendingWork();
    /// A queued save the disk refused: its work is pending again, done at the next save round.
    void saveRefused(std::int16_t bits) { m_pendingWork = static_cast<std::int16_t>(m_pendingWork | bits); }
    /// At most this many moments of a gap are looked at for its silent alarms.
    static constexpr int missedListLimit = 500;
    void advanceLastCheck();
    void alarmsChanged(const Vector<Alarm>& alarms, std::int16_t kinds) override;
    void groupsChanged(const Vector<AlarmGroup>& groups, std::int16_t kinds) override;
    /// Empties the see-alarms lists and the upcoming alarms, so that nothing unloaded can sound or be shown.
    void allGroupsUnloaded() override;
    void groupsShownChanged() override { tell(&WatchListener::alarmDataChanged); }
    /// What the switch-on-and-off commands do; stopping snoozing is for alarms only.
    enum class ActivityMode : std::int16_t { Toggle = 0, SwitchOn = 1, SwitchOff = 2, StopSnoozing = 3 };
    /// Changes the alarms' or groups' activity; then reports kindStateChanged.
    void setActivity(const Vector<Alarm>& alarms, ActivityMode mode);
    void setActivity(const Vector<AlarmGroup>& groups, ActivityMode mode);
    void setBlocked(bool on);
    /// The see-alarms list i brought up to the watch's "now", and reported when it was looked at.
    void updateSeeAlarmsList(int list);
    /// Empties list i, fills it again from every group and reports it.
    void rebuildSeeAlarmsList(int list);
    const SeeAlarmsLists::List& seeAlarmsList(int list) const { return m_seeLists.list(list); }

    /// A minute 22 to 63 minutes ahead of `now`.
    int pickRandomMinute(const Date& now);

    /// The snooze button: asks first when the alarm is already snoozed to a later moment (No keeps that
    /// snooze), refuses a moment not after `systemNow` with a warning, snoozes, and in every case but the
    /// refusal remembers the choice in the alarm. The caller reports kindTimingChanged when snoozed.
    SnoozeResult snoozeCommand(Alarm& alarm, const Date& shownMoment, const Date& systemNow, std::int16_t addTo,
                               std::int32_t amount, std::int16_t unitPosition);
    /// The stop-sounds commands.
    void stopAllSounds();

    /// The snooze moment: `amount` of `unitCode` added to the alarm's moment (addTo 0) or to `systemNow`.
    static Date snoozeMoment(const Date& alarmMoment, const Date& systemNow, std::int16_t addTo, std::int32_t amount,
                             std::int16_t unitCode);

    const Date& lastCheckMoment() const { return m_lastCheckMoment; }
    const Date& nextAlarmMoment() const { return m_nextAlarmMoment; }
    /// Whether the next alarm sounds within `ms` (or is overdue): work that can wait should wait then.
    bool alarmDueWithin(int ms) const;
    const Date& attentionMoment() const { return m_attentionMoment; }
    const Vector<Alarm>& upcomingAlarms() const { return m_upcoming; }
    bool blocked() const { return m_blocked; }
    std::int16_t pendingWork() const { return m_pendingWork; }
    /// Sets pending work; saving work is done within `saveDelayMs` at the latest, however many changes follow.
    void requestWork(std::int16_t bits);
    static constexpr std::int16_t saveWorkBits = settingsChanged | alarmDataChanged | toDoChanged;
    static constexpr int saveDelayMs = 2000;

private:
    template <typename... Parameters, typename... Arguments>
    void tell(void (WatchListener::*report)(Parameters...), Arguments&&... arguments) {
        if (m_listener) {
            (m_listener->*report)(std::forward<Arguments>(arguments)...);
        }
    }
    /// Takes the file writer's outcomes since the last round: refused work is pending again.
    void collectSaveOutcomes();
    void clearWork(std::int16_t bits) { m_pendingWork = static_cast<std::int16_t>(m_pendingWork & ~bits); }
    /// Whether a save due in `saveInMs` waits for the alarm shot planned in `shotInMs` (both from now).
    bool saveWaitsForAlarm(double saveInMs, double shotInMs) const;
    /// Every alarm due after X up to `until`, once per moment, in moment order; true when `limit` cut it short.
    bool collectDue(Date from, const Date& until, bool soundAfterInactiveOnly, Vector<Alarm>& alarms,
                    DateVector& moments, Vector<Alarm>& next, int limit = VectorStorage<int>::kMaxCount);
    /// With `listSilent` (a gap ended), the alarms that stay silent are reported to `missedWhileAway`.
    void soundMissedAlarms(bool listSilent);
    double secondsUntil(const Date& now, const Date& moment, bool withFraction) const;
    /// Brings the see-alarms lists in line with changed alarms.
    void refreshSeeAlarmsLists(const Vector<Alarm>& alarms, bool removeFirst, bool addAgain);
    /// Sounds what fell due up to `now`, takes the following alarms as the upcoming ones and, unless blocked,
    /// moves the last check to `now`.
    void soundOverdueAndFindNext(const Date& now);
    /// updateUpcoming for the tick, which reuses the last look while it holds.
    void updateRounds();
    void updateUpcomingOnce();
    /// Tells the listener of the next alarm when it is not the one last told, or when a change touched one of
    /// the alarms last told (a rename keeps the moment).
    void reportNextAlarm();
    void tickWork();
    /// The wall clock in milliseconds, for the save deadline.
    std::int64_t nowMs() const;

    const Clock& m_clock;
    WatchTimer& m_timer;
    AlarmGroupCollection& m_groups;
    const WatchSettings& m_settings;
    ActionRunner& m_runner;
    WatchChores& m_chores;
    MessageBoxRoutine& m_messages;
    modTranslation& m_texts;
    WatchListener* m_listener = nullptr;

    Date m_lastCheckMoment = Date::none();
    bool m_blocked = false;
    Vector<Alarm> m_upcoming;
    Date m_nextAlarmMoment = Date::none();
    /// The next alarm as last told to the listener; an idle tick that finds the same wakes nothing for it.
    Vector<Alarm> m_toldUpcoming;
    Date m_toldNextMoment = Date::none();
    bool m_nextAlarmReportOwed = true;
    /// The last full look for the next alarm began at `m_scanFrom`; it holds while nothing is reported.
    Date m_scanFrom = Date::none();
    bool m_scanStillHolds = false;
    Date m_attentionMoment = Date::none();
    bool m_inactivityDetected = false;
    std::int16_t m_pendingWork = 0;
    int m_syncMinute = 0;
    int m_versionCheckMinute = 0;
    std::mt19937 m_random{std::random_device{}()};
    SeeAlarmsLists m_seeLists{m_settings, m_groups};
    bool m_seeAlarmsBusy = false;
    /// Guards the tick and `updateUpcoming` against being entered again from the work they do.
    bool m_working = false;
    bool m_updateAgain = false;
    OnceNotice m_groupSaveNotice{m_messages};
    std::int64_t m_saveDueMs = -1;
    std::int64_t m_plannedTickMs = -1;
    static constexpr int kMaxUpdateRounds = 10;
};

} // namespace halvika
