// The alarm watch: finds what is due, sounds it in moment order and sets the timer to the next event.
#include "sounding/AlarmWatch.h"

#include "alarms/ActionRunner.h"
#include "alarms/ExpressionError.h"
#include "base/MessageBoxRoutine.h"
#include "dates/ArithmeticError.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "settings/modTranslation.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace halvika {

namespace {

constexpr std::int16_t timerEventBits =
    AlarmWatch::alarmDue | AlarmWatch::pastListDue | AlarmWatch::comingListDue | AlarmWatch::attentionDue;

} // namespace

AlarmWatch::AlarmWatch(const Clock& clock, WatchTimer& timer, AlarmGroupCollection& groups,
                       const WatchSettings& settings, ActionRunner& runner, WatchChores& chores,
                       MessageBoxRoutine& messages, modTranslation& texts)
    : m_clock(clock), m_timer(timer), m_groups(groups), m_settings(settings), m_runner(runner), m_chores(chores),
      m_messages(messages), m_texts(texts) {}

void AlarmWatch::stopAllSounds() {
    m_runner.stopSounds();
}

void AlarmWatch::start(const Date& lastCheck, bool blocked) {
    m_scanStillHolds = false;
    const Date now = currentMoment(true);
    m_lastCheckMoment = lastCheck < Date::none() ? lastCheck : now;
    m_blocked = blocked;
    m_upcoming.clear();
    m_nextAlarmMoment = Date::none();
    m_attentionMoment = Date::none();
    m_syncMinute = now.minute();
    m_versionCheckMinute = pickRandomMinute(now);
}

Date AlarmWatch::correctedNow() const {
    const auto correction = static_cast<std::int32_t>(std::floor(m_settings.timerCorrectionMs / 1000.0));
    // An absurd correction is ignored rather than stopping every alarm.
    return tryDateAddUnit(m_clock.today(), -correction, unitSecond).value_or(m_clock.today());
}

Date AlarmWatch::currentMoment(bool skipInactivityCheck) {
    const Date m = correctedNow();
    if (!skipInactivityCheck && m_settings.inactivityLimitMinutes > 0 && m_lastCheckMoment < Date::none()) {
        const std::int64_t gap = m.serialSeconds() - m_lastCheckMoment.serialSeconds();
        if (gap >= std::int64_t{m_settings.inactivityLimitMinutes} * 60 || m_inactivityDetected) {
            m_inactivityDetected = true;
            return m_lastCheckMoment;
        }
    }
    return m;
}

void AlarmWatch::watchTick() {
    if (m_working) {
        m_updateAgain = true; // a tick from inside a question's event loop: the work in hand goes first
        return;
    }
    m_working = true;
    tickWork();
    m_working = false;
    updateRounds();
}

void AlarmWatch::tickWork() {
    currentMoment(false);
    if (m_inactivityDetected) {
        m_inactivityDetected = false;
        soundMissedAlarms(true);
        m_inactivityDetected = false;
    }
    // Whatever the shot was for (a list's boundary may fall on the same moment), a due alarm sounds before
    // any other work; it checks for itself whether it is due.
    clearWork(alarmDue);
    soundDueAlarms();
    if (m_pendingWork & pastListDue) {
        clearWork(pastListDue);
        updateSeeAlarmsList(0);
    }
    if (m_pendingWork & comingListDue) {
        clearWork(comingListDue);
        updateSeeAlarmsList(1);
    }
    // Nor does a save hold up the next alarm: just before it, that alarm's own tick saves after sounding.
    if (!alarmDueWithin(quietBeforeAlarmMs)) {
        savePendingWork();
    }
    if (m_pendingWork & attentionDue) {
        soundAttentionAlarm();
    }
}

void AlarmWatch::collectSaveOutcomes() {
    FileWriteQueue& writer = m_groups.fileWriter();
    const bool settled = writer.waitUntilDone(std::chrono::milliseconds(0));
    writer.reportOutcomes();
    const std::string problems = m_groups.takeWriteProblems();
    if (!problems.empty()) {
        // Tried again in this round; told once while the reason stays the same.
        saveRefused(alarmDataChanged);
        m_groupSaveNotice.tell(m_texts.getMainText(textGroupsNotSaved) + problems);
    } else if (settled) {
        m_groupSaveNotice.clear(); // everything handed over is on disk
    }
}

void AlarmWatch::savePendingWork() {
    collectSaveOutcomes();
    if ((m_pendingWork & settingsChanged) && m_chores.saveSettingsQuietly()) {
        clearWork(settingsChanged);
    }
    if ((m_pendingWork & alarmDataChanged) && m_settings.autoSave) {
        // The disk is the writer thread's to wait for: a stalled one never holds up the next alarm.
        m_groups.queueChangedGroups();
        clearWork(alarmDataChanged);
    }
    if ((m_pendingWork & toDoChanged) && m_settings.autoSave && m_chores.saveToDoQuietly()) {
        clearWork(toDoChanged);
    }
    // Work still pending is tried again at the next regular tick; what was handed over needs no deadline.
    m_saveDueMs = (m_pendingWork & saveWorkBits) ? nowMs() + defaultIntervalMs : -1;
}

std::int64_t AlarmWatch::nowMs() const {
    const Clock::Reading r = m_clock.now();
    return r.date.serialSeconds() * 1000 + r.millisecond;
}

void AlarmWatch::requestWork(std::int16_t bits) {
    m_pendingWork = static_cast<std::int16_t>(m_pendingWork | bits);
    if (bits & alarmDataChanged) {
        m_scanStillHolds = false; // an alarm moved within its group, say: the order of alarms due together
    }
    if ((bits & saveWorkBits) == 0) {
        return;
    }
    // A change is on disk within a bounded time: later changes never push the save back.
    const std::int64_t now = nowMs();
    if (m_saveDueMs < 0) {
        m_saveDueMs = now + saveDelayMs;
    }
    if (!m_working && m_timer.isEnabled() && m_plannedTickMs > m_saveDueMs &&
        !saveWaitsForAlarm(static_cast<double>(m_saveDueMs - now), static_cast<double>(m_plannedTickMs - now))) {
        clearWork(timerEventBits); // the tick that saves sounds nothing; it plans the next shot afresh
        m_timer.setExact(false);
        m_timer.setInterval(static_cast<int>(std::max<std::int64_t>(1, m_saveDueMs - now)));
        m_plannedTickMs = m_saveDueMs;
    }
}

bool AlarmWatch::collectDue(Date from, const Date& until, bool soundAfterInactiveOnly, Vector<Alarm>& alarms,
                            DateVector& moments, Vector<Alarm>& next, int limit) {
    for (;;) {
        next = collectEarliestAlarms(from, soundAfterInactiveOnly);
        if (next.numberOfElements() == 0) {
            return false;
        }
        const Date d = next.elementAt(0)->getNextAlarmDateAfter();
        if (d > until) {
            return false;
        }
        // The lists hold at most 20,480 entries: a flood beyond that (a per-second alarm after days asleep
        // without an inactivity limit) is cut there rather than growing without bound.
        if (alarms.numberOfElements() + next.numberOfElements() > std::min(limit, VectorStorage<int>::kMaxCount)) {
            next.clear();
            return true;
        }
        alarms.addVector(next);
        moments.addDate(d, next.numberOfElements());
        from = d;
    }
}

void AlarmWatch::soundOverdueAndFindNext(const Date& now) {
    // Nothing changed since the last look and its next alarm is still ahead: the same alarms come next, and
    // an idle tick need not touch every alarm again. Each alarm's moment is cached already, but reading a
    // thousand of them after half a minute asleep is most of a tick's cost.
    if (m_scanStillHolds && m_scanFrom <= m_lastCheckMoment && now < m_nextAlarmMoment &&
        now.serialSeconds() - m_scanFrom.serialSeconds() < rescanSeconds) {
        if (!m_blocked) {
            m_lastCheckMoment = now;
        }
        return;
    }
    Vector<Alarm> overdue;
    DateVector moments;
    Vector<Alarm> next;
    m_scanFrom = m_lastCheckMoment;
    m_scanStillHolds = true; // until a change is reported, or something sounds
    collectDue(m_lastCheckMoment, now, false, overdue, moments, next);
    if (overdue.numberOfElements() > 0) {
        soundAlarms(overdue, moments, true);
    }
    m_upcoming = next;
    m_nextAlarmMoment = next.numberOfElements() > 0 ? next.elementAt(0)->getNextAlarmDateAfter() : Date::none();
    if (!m_blocked) {
        m_lastCheckMoment = now;
    }
}

void AlarmWatch::updateUpcoming() {
    // Asked for from outside the tick: the caller may have changed what no report tells of (the groups'
    // order, which is the sounding order of alarms due together), so every alarm is looked at afresh.
    m_scanStillHolds = false;
    updateRounds();
}

void AlarmWatch::updateRounds() {
    // A change reported from inside the work below (a synchronisation, a question's nested event loop, a
    // script's call meanwhile) only asks for another round; running it there would recurse without end or
    // sound the same alarms twice.
    if (m_working) {
        m_updateAgain = true;
        return;
    }
    m_working = true;
    int rounds = 0;
    do {
        m_updateAgain = false;
        updateUpcomingOnce();
    } while (m_updateAgain && ++rounds < kMaxUpdateRounds);
    m_working = false;
}

void AlarmWatch::updateUpcomingOnce() {
    const Date now = currentMoment(false);
    if (now < m_lastCheckMoment) {
        m_lastCheckMoment = now; // the clock was set back
        m_scanStillHolds = false;
        rebuildSeeAlarmsList(0);
        rebuildSeeAlarmsList(1);
    }
    soundOverdueAndFindNext(now);
    scheduleWatchTimer();
    reportNextAlarm();
}

void AlarmWatch::reportNextAlarm() {
    const auto same = [](const Vector<Alarm>& a, const Vector<Alarm>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    if (!m_nextAlarmReportOwed && m_nextAlarmMoment == m_toldNextMoment && same(m_upcoming, m_toldUpcoming)) {
        return;
    }
    m_nextAlarmReportOwed = false;
    m_toldNextMoment = m_nextAlarmMoment;
    m_toldUpcoming = m_upcoming;
    tell(&WatchListener::nextAlarmChanged);
}

double AlarmWatch::secondsUntil(const Date& now, const Date& moment, bool withFraction) const {
    const double whole = static_cast<double>(moment.serialSeconds() - now.serialSeconds());
    return withFraction ? whole - m_clock.now().millisecond / 1000.0 : whole;
}

bool AlarmWatch::saveWaitsForAlarm(double saveInMs, double shotInMs) const {
    // Just before an alarm's shot the save gets no shot of its own: that tick saves right after sounding.
    return (m_pendingWork & alarmDue) && shotInMs - std::max(0.0, saveInMs) < quietBeforeAlarmMs;
}

bool AlarmWatch::alarmDueWithin(int ms) const {
    // An alarm sounded in this tick is handled already, though the next one is not looked for yet.
    return m_nextAlarmMoment < Date::none() && m_lastCheckMoment < m_nextAlarmMoment &&
           secondsUntil(correctedNow(), m_nextAlarmMoment, true) * 1000 < ms;
}

void AlarmWatch::scheduleWatchTimer() {
    m_timer.disable();
    double interval = defaultIntervalMs;
    const Date now = currentMoment(false);
    if (m_settings.autoVersionCheck && now.minute() == m_versionCheckMinute) {
        tell(&WatchListener::versionCheckDue);
        m_versionCheckMinute = pickRandomMinute(now);
    }
    m_chores.pollRunningPlugins();
    m_runner.releaseFinishedSpeech();
    double alarmInterval = -1; // a list's shot may share the alarm's moment; the alarm sounds in it all the same
    if (now.minute() == m_syncMinute) {
        // Moved on first: synchronising reports changes, which schedule again within this minute.
        m_syncMinute = (m_syncMinute + 30) % 60;
        m_groups.synchronizeAlarmGroups(m_groups.alarmGroups);
    }
    if (m_upcoming.numberOfElements() > 0) {
        double w = secondsUntil(currentMoment(false), m_nextAlarmMoment, true);
        // Due already (the clock jumped, or sounding took a while): sound it as overdue and look again.
        for (int round = 0; w <= 0 && m_upcoming.numberOfElements() > 0 && round < 100; ++round) {
            soundOverdueAndFindNext(currentMoment(false));
            w = secondsUntil(currentMoment(false), m_nextAlarmMoment, true);
        }
        if (m_upcoming.numberOfElements() > 0 && w < exactShotSeconds) {
            interval = std::nearbyint(w * 1000);
            alarmInterval = interval;
            requestWork(alarmDue);
        } else {
            clearWork(alarmDue);
        }
    }
    for (int list = 0; list < 2; ++list) {
        const Date boundary = m_seeLists.list(list).boundary;
        if (boundary >= Date::none()) {
            continue;
        }
        const double w = secondsUntil(now, boundary, true);
        if (w <= 0) {
            updateSeeAlarmsList(list);
        } else if (w < exactShotSeconds && w * 1000 <= interval) {
            interval = std::nearbyint(w * 1000);
            clearWork(timerEventBits);
            requestWork(list == 0 ? pastListDue : comingListDue);
        }
    }
    if (m_attentionMoment < Date::none()) {
        const double w = secondsUntil(now, m_attentionMoment, false);
        if (w <= 0) {
            soundAttentionAlarm();
        } else if (w >= exactShotSeconds) {
            clearWork(attentionDue);
        } else if (w * 1000 <= interval) {
            interval = std::nearbyint(w * 1000);
            clearWork(timerEventBits);
            requestWork(attentionDue);
        }
    } else {
        clearWork(attentionDue);
    }
    if ((m_pendingWork & saveWorkBits) && m_saveDueMs >= 0) {
        const double w = std::max(0.0, static_cast<double>(m_saveDueMs - nowMs())); // an overdue one at once
        if (w < interval && !saveWaitsForAlarm(w, interval)) {
            interval = w;
            clearWork(timerEventBits);
        }
    }
    const int chosen = interval < 1 ? 1 : static_cast<int>(interval);
    m_timer.setExact(interval == alarmInterval);
    m_timer.setInterval(chosen);
    m_plannedTickMs = nowMs() + chosen;
    m_timer.enable();
    tell(&WatchListener::scheduled);
}

void AlarmWatch::soundDueAlarms() {
    // The shot runs on the monotonic clock. A shot whose moment was already handled (a sleep or an
    // inactivity gap dealt with it) or that came early by the wall clock (the clock was set back) sounds
    // nothing: the scheduling that follows finds what is really due.
    if (m_nextAlarmMoment <= m_lastCheckMoment || currentMoment(false) < m_nextAlarmMoment) {
        return;
    }
    const Vector<Alarm> due = m_upcoming.getCopy();
    DateVector moments;
    moments.addDate(m_nextAlarmMoment, due.numberOfElements());
    soundAlarms(due, moments, true);
    if (!m_blocked) {
        m_lastCheckMoment = m_nextAlarmMoment;
    }
    alarmsChanged(due, kindSounded);
}

void AlarmWatch::soundAlarms(const Vector<Alarm>& alarms, const DateVector& moments, bool real) {
    if ((real && m_blocked) || alarms.numberOfElements() == 0) {
        return;
    }
    m_scanStillHolds = false; // an action may change any alarm
    if (alarms.numberOfElements() > m_settings.warningLimit) {
        const std::string question =
            m_texts.getMainText(manyAlarmsText) + " " + std::to_string(alarms.numberOfElements());
        if (m_messages.msgBox(question, Dialogs::styleYesNo + Dialogs::styleExclamation) != Dialogs::answerYes) {
            return; // they count as handled all the same
        }
    }
    for (int k = 0; k < alarms.numberOfElements(); ++k) {
        const auto alarm = alarms.elementAt(k);
        const Date m = moments.dateAt(k);
        alarm->soundAlarm(m, real, m_runner);
        if (m_settings.secondaryAlarmOn && m_settings.secondaryAlarm &&
            alarm->importance >= m_settings.secondaryImportance) {
            m_settings.secondaryAlarm->soundAlarm(m, real, m_runner);
        }
        if (m_settings.attentionAlarmOn && alarm->importance >= m_settings.attentionImportance &&
            m_attentionMoment == Date::none()) {
            m_attentionMoment = dateAddUnit(m, 10, unitSecond);
            clearWork(attentionDue);
        }
    }
}

void AlarmWatch::testAlarms(const Vector<Alarm>& alarms) {
    DateVector moments;
    moments.addDate(m_clock.today(), alarms.numberOfElements());
    soundAlarms(alarms, moments, false);
}

void AlarmWatch::soundAttentionAlarm() {
    clearWork(attentionDue);
    if (currentMoment(false) >= m_attentionMoment && m_attentionMoment < Date::none()) {
        if (m_settings.attentionAlarm) {
            m_settings.attentionAlarm->soundAlarm(m_clock.today(), true, m_runner);
        }
        m_attentionMoment = Date::none();
    }
}

void AlarmWatch::soundMissedAlarms(bool listSilent) {
    m_scanStillHolds = false;
    const Date now = currentMoment(true);
    Vector<Alarm> missed;
    DateVector moments;
    Vector<Alarm> next;
    collectDue(m_lastCheckMoment, now, true, missed, moments, next);
    if (listSilent && !m_blocked && m_listener) {
        // Asked before sounding: the actions may take a while, and the gap's end must not move meanwhile.
        Vector<Alarm> all;
        DateVector allMoments;
        const bool cut = collectDue(m_lastCheckMoment, now, false, all, allMoments, next, missedListLimit);
        Vector<Alarm> silent;
        DateVector silentMoments;
        for (int i = 0; i < all.numberOfElements(); ++i) {
            if (!all.elementAt(i)->soundAfterInactive) {
                silent.addElement(all.elementAt(i));
                silentMoments.addDate(allMoments.dateAt(i));
            }
        }
        if (silent.numberOfElements() > 0) {
            m_listener->missedWhileAway(silent, silentMoments, cut);
        }
    }
    soundAlarms(missed, moments, true);
    if (!m_blocked) {
        m_lastCheckMoment = now;
    }
    tell(&WatchListener::inactivityEnded);
}

void AlarmWatch::soundMissedNow(const Vector<Alarm>& alarms, const DateVector& moments) {
    Vector<Alarm> loaded;
    DateVector loadedMoments;
    for (int i = 0; i < alarms.numberOfElements() && i < moments.numberOfElements(); ++i) {
        const auto& alarm = alarms.elementAt(i);
        const auto group = alarm->parent.lock();
        if (group && m_groups.alarmGroups.indexOf(group) >= 0 && group->alarms.indexOf(alarm) >= 0) {
            loaded.addElement(alarm);
            loadedMoments.addDate(moments.dateAt(i));
        }
    }
    if (loaded.numberOfElements() == 0) {
        return;
    }
    soundAlarms(loaded, loadedMoments, true);
    alarmsChanged(loaded, kindSounded);
}

void AlarmWatch::advanceLastCheck() {
    if (m_blocked) {
        return;
    }
    if (m_working) {
        m_updateAgain = true; // the work in hand moves the last check itself
        return;
    }
    const Date now = currentMoment(false);
    if (m_nextAlarmMoment > now) {
        m_lastCheckMoment = now;
    } else {
        updateUpcoming(); // something is due: sound it first
    }
}

void AlarmWatch::alarmsChanged(const Vector<Alarm>& alarms, std::int16_t kinds) {
    if (kinds == 0) {
        return;
    }
    m_scanStillHolds = false;
    for (const auto& alarm : alarms) {
        if (m_toldUpcoming.contains(alarm)) {
            m_nextAlarmReportOwed = true; // the line names it: it may have been renamed
        }
    }
    advanceLastCheck();
    if (kinds & (kindAdded | kindRemoved | kindStateChanged | kindTimingChanged | kindContentChanged)) {
        for (int i = 0; i < alarms.numberOfElements(); ++i) {
            Alarm& alarm = *alarms.elementAt(i);
            alarm.setChanged();
            if (!alarm.syncId.empty()) {
                alarm.syncModified = m_clock.epochSeconds(m_clock.today()); // the later change wins a conflict
            }
        }
        requestWork(alarmDataChanged);
    }
    refreshSeeAlarmsLists(alarms, kinds & (kindRemoved | kindStateChanged | kindTimingChanged),
                          kinds & (kindLoaded | kindAdded | kindStateChanged | kindTimingChanged));
    if (kinds & (kindLoaded | kindAdded | kindRemoved | kindStateChanged | kindTimingChanged)) {
        updateUpcoming();
    } else if (!m_working) {
        reportNextAlarm(); // work in hand reports when it is done
    }
    tell(&WatchListener::alarmDataChanged);
}

void AlarmWatch::groupsChanged(const Vector<AlarmGroup>& groups, std::int16_t kinds) {
    if (kinds == 0) {
        return;
    }
    m_scanStillHolds = false;
    if (kinds == kindLoaded) {
        soundMissedAlarms(); // what fell due while the groups were not loaded
    }
    advanceLastCheck();
    if (kinds & (kindAdded | kindRemoved | kindStateChanged | kindContentChanged)) {
        for (int i = 0; i < groups.numberOfElements(); ++i) {
            groups.elementAt(i)->setChanged();
        }
        requestWork(alarmDataChanged);
    }
    Vector<Alarm> theirAlarms;
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        theirAlarms.addVector(groups.elementAt(i)->alarms);
    }
    refreshSeeAlarmsLists(theirAlarms, kinds & (kindRemoved | kindStateChanged),
                          kinds & (kindLoaded | kindAdded | kindStateChanged));
    if (kinds & (kindLoaded | kindAdded | kindRemoved | kindStateChanged)) {
        updateUpcoming();
    }
    tell(&WatchListener::alarmDataChanged);
}

void AlarmWatch::refreshSeeAlarmsLists(const Vector<Alarm>& alarms, bool removeFirst, bool addAgain) {
    m_seeAlarmsBusy = true;
    const Date now = currentMoment(false);
    if (removeFirst) {
        m_seeLists.remove(alarms);
    }
    if (addAgain) {
        m_seeLists.add(alarms, 0, now);
        m_seeLists.add(alarms, 1, now);
    }
    m_seeAlarmsBusy = false;
}

void AlarmWatch::updateSeeAlarmsList(int list) {
    if (m_seeLists.update(list, currentMoment(false))) {
        tell(&WatchListener::seeAlarmsListChanged, list);
    }
}

void AlarmWatch::rebuildSeeAlarmsList(int list) {
    m_seeLists.rebuild(list, currentMoment(false));
    tell(&WatchListener::seeAlarmsListChanged, list);
}

void AlarmWatch::allGroupsUnloaded() {
    m_scanStillHolds = false;
    m_upcoming.clear();
    m_nextAlarmMoment = Date::none();
    m_toldUpcoming.clear();
    m_toldNextMoment = Date::none();
    clearWork(alarmDue);
    m_seeLists.clear();
    for (int list = 0; list < 2; ++list) {
        tell(&WatchListener::seeAlarmsListChanged, list);
    }
    tell(&WatchListener::nextAlarmChanged);
    tell(&WatchListener::alarmDataChanged);
}

void AlarmWatch::setActivity(const Vector<Alarm>& alarms, ActivityMode mode) {
    advanceLastCheck();
    for (int i = 0; i < alarms.numberOfElements(); ++i) {
        Alarm& a = *alarms.elementAt(i);
        switch (mode) {
        case ActivityMode::Toggle:
            a.Active = !a.Active;
            break;
        case ActivityMode::SwitchOn:
            a.Active = true;
            break;
        case ActivityMode::SwitchOff:
            a.Active = false;
            break;
        case ActivityMode::StopSnoozing:
            a.snoozing = false;
            break;
        }
    }
    alarmsChanged(alarms, kindStateChanged);
}

void AlarmWatch::setActivity(const Vector<AlarmGroup>& groups, ActivityMode mode) {
    advanceLastCheck();
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        AlarmGroup& g = *groups.elementAt(i);
        if (mode == ActivityMode::Toggle) {
            g.Active = !g.Active;
        } else if (mode == ActivityMode::SwitchOn || mode == ActivityMode::SwitchOff) {
            g.Active = mode == ActivityMode::SwitchOn;
        }
    }
    groupsChanged(groups, kindStateChanged);
}

void AlarmWatch::setBlocked(bool on) {
    m_scanStillHolds = false;
    const bool leaving = m_blocked && !on;
    if (m_blocked != on) {
        requestWork(settingsChanged); // blocked mode is kept in the settings: a crash must not forget it
    }
    m_blocked = on;
    tell(&WatchListener::blockedChanged, on);
    if (leaving && !m_seeAlarmsBusy) {
        if (m_settings.whenUnblocked == WhenUnblocked::SkipWhatFellDue) {
            m_lastCheckMoment = currentMoment(false); // what fell due while blocked never sounds
        } else if (m_settings.whenUnblocked == WhenUnblocked::SoundWhatSoundsAfterInactivity) {
            soundMissedAlarms();
        }
    }
    updateUpcoming();
}

int AlarmWatch::pickRandomMinute(const Date& now) {
    std::uniform_int_distribution<int> pick(1, 42);
    return (now.minute() + pick(m_random) + 21) % 60;
}

AlarmWatch::SnoozeResult AlarmWatch::snoozeCommand(Alarm& alarm, const Date& shownMoment, const Date& systemNow,
                                                   std::int16_t addTo, std::int32_t amount, std::int16_t unitPosition) {
    bool snoozeAgain = true;
    if (alarm.snoozing && alarm.nextSnoozeAlarmDate > systemNow) {
        const std::string question = m_texts.getText("frmAlarm", textAlreadySnoozedUntil) + " " +
                                     formatDate(m_settings.generalDateFormat, alarm.nextSnoozeAlarmDate);
        snoozeAgain =
            m_messages.msgBox(question, Dialogs::styleYesNo + Dialogs::styleExclamation) == Dialogs::answerYes;
    }
    const std::int16_t unit = unitCodeOfListPosition(unitPosition);
    Date moment;
    try {
        moment = snoozeMoment(shownMoment, systemNow, addTo, amount, unit);
    } catch (const ArithmeticError&) {
        moment = Date::zero();
    }
    if (moment <= systemNow) {
        m_messages.msgBox(m_texts.getText("frmAlarm", textSnoozeNotInFuture), Dialogs::styleExclamation);
        return SnoozeResult::InThePast;
    }
    if (snoozeAgain) {
        alarm.snooze(moment);
    }
    alarm.lastSnoozeSet = true;
    alarm.lastSnoozeAmount = static_cast<std::int16_t>(amount);
    alarm.lastSnoozeUnit = unit;
    alarm.lastSnoozeAddTo = addTo;
    return snoozeAgain ? SnoozeResult::Snoozed : SnoozeResult::NotAgain;
}

Date AlarmWatch::snoozeMoment(const Date& alarmMoment, const Date& systemNow, std::int16_t addTo, std::int32_t amount,
                              std::int16_t unitCode) {
    return dateAddUnit(addTo == 0 ? alarmMoment : systemNow, amount, unitCode);
}

} // namespace halvika
