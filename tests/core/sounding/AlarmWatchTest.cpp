// The alarm watch driven by a manual clock and timer: what sounds, with which moments, and the timer's next shot.
#include "sounding/AlarmWatch.h"
#include "fakes/DatePrinter.h"
#include "fakes/GroupTestServices.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingChangeListener.h"
#include "fakes/RecordingChores.h"
#include "fakes/RecordingRunner.h"
#include "fakes/RecordingWatchListener.h"
#include "fakes/TempHome.h"
#include "sounding/AlarmQueries.h"
#include "sounding/MissedAlarmsList.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace halvika {
namespace {

Date at(int h, int n = 0, int s = 0) {
    return Date::fromParts(2026, 3, 7, h, n, s);
}

class AlarmWatchTest : public ::testing::Test {
protected:
    AlarmWatchTest() {
        groups.setListener(watch);
        watch.setListener(&reports);
        timer.setHandler([this] { watch.watchTick(); });
    }

    /// A one-time alarm (with a message action so that sounding it is recorded) in the group.
    std::shared_ptr<Alarm> once(const std::shared_ptr<AlarmGroup>& group, const std::string& name, const Date& when,
                                bool soundAfterInactive = true, std::int16_t importance = 0) {
        auto a = Alarm::createAlarm(group);
        a->name = name;
        a->onceDate = when;
        a->soundAfterInactive = soundAfterInactive;
        a->importance = importance;
        auto action = std::make_shared<clsAction>();
        action->action = 1;
        action->al = a.get();
        a->actions.addElement(action);
        group->alarms.addElement(a);
        return a;
    }
    /// A periodic alarm, likewise.
    std::shared_ptr<Alarm> every(const std::shared_ptr<AlarmGroup>& group, const std::string& name, const Date& anchor,
                                 std::int16_t unit) {
        auto a = once(group, name, Date::none());
        a->momentKind = 1;
        a->everyAmount = 1;
        a->everyUnit = unit;
        a->nextDate = anchor;
        a->startDate = a->endDate = Date::none();
        return a;
    }
    std::shared_ptr<AlarmGroup> group(const std::string& name) {
        auto g = AlarmGroup::createDefaultAlarmGroup(setUp.services);
        g->name = name;
        groups.alarmGroups.addElement(g);
        return g;
    }
    void startAt(const Date& now, int millisecond = 0) {
        clock.set(now, millisecond);
        watch.start(now, false);
        watch.updateUpcoming();
    }
    /// Moves the clock and lets the timer fire, as the event loop would.
    void tickAt(const Date& now, int millisecond = 0) {
        clock.set(now, millisecond);
        timer.fire();
    }

    test::TempHome home;
    test::GroupTestServices setUp{home.path()};
    test::RecordingChangeListener ignored;
    AlarmGroupCollection groups{setUp.services, ignored};
    test::ManualClock clock;
    test::ManualTimer timer;
    WatchSettings settings;
    test::RecordingRunner runner;
    test::RecordingChores chores;
    AlarmWatch watch{clock, timer, groups, settings, runner, chores, setUp.messages, setUp.texts};
    test::RecordingWatchListener reports;
};

TEST_F(AlarmWatchTest, AlarmsAtTheSameMomentSoundTogetherInGroupOrderAndTheTimerHitsTheSecond) {
    auto work = group("Work");
    auto home = group("Home");
    once(home, "B", at(8));
    once(work, "A", at(8));
    once(work, "C", at(8, 5));
    startAt(at(7, 59, 50), 250);
    EXPECT_EQ(watch.nextAlarmMoment(), at(8));
    EXPECT_EQ(timer.interval(), 9750); // to the start of 08:00:00
    EXPECT_TRUE(timer.exact());        // an alarm's shot; a regular tick's need not be
    EXPECT_FALSE(watch.alarmDueWithin(1000));
    clock.set(at(7, 59, 59), 1);
    EXPECT_TRUE(watch.alarmDueWithin(1000)); // 999 ms away
    EXPECT_FALSE(watch.alarmDueWithin(999));
    clock.set(at(7, 59, 50), 250);
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::alarmDue);
    EXPECT_TRUE(timer.isEnabled());

    tickAt(at(8));
    ASSERT_EQ(runner.names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(runner.soundings[0].moment, at(8));
    EXPECT_TRUE(runner.soundings[0].real);
    EXPECT_EQ(runner.counted, 2);
    EXPECT_EQ(watch.lastCheckMoment(), at(8));
    EXPECT_EQ(watch.nextAlarmMoment(), at(8, 5));
    EXPECT_EQ(timer.interval(), AlarmWatch::defaultIntervalMs); // 08:05 is more than 33 s away
    EXPECT_FALSE(timer.exact());

    tickAt(at(8, 4, 40), 500); // a default tick 20.5 s before: the next shot is exact
    EXPECT_EQ(timer.interval(), 19500);
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::alarmDue);
    EXPECT_TRUE(timer.exact());
    tickAt(at(8, 5));
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(AlarmWatchTest, ASynchronisedGroupIsSynchronisedOncePerHalfHourWithoutRecursing) {
    auto synced = group("Synced");
    synced->synchPlugin = "HalvikaSync*Cloud";
    setUp.plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] =
        "<r><algr><name>Synced</name><alrm><name>A</name><oncd>2026/03/07 12:00:10</oncd>"
        "<acti><acid>1</acid><plug></plug><sett><s>x</s></sett></acti></alrm></algr></r>";
    once(synced, "A", at(12, 0, 10));
    startAt(at(12));
    auto syncCalls = [this] {
        return std::count_if(setUp.plugins.calls.begin(), setUp.plugins.calls.end(),
                             [](const auto& call) { return call.method == "Synchronize"; });
    };
    EXPECT_EQ(syncCalls(), 1);
    EXPECT_EQ(timer.interval(), AlarmWatch::saveDelayMs); // the synchronised group is saved first
    tickAt(at(12, 0, 2));
    EXPECT_EQ(timer.interval(), 8000);
    EXPECT_TRUE(runner.soundings.empty());
    tickAt(at(12, 0, 10));
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"A"}));
    tickAt(at(12, 29, 59));
    EXPECT_EQ(syncCalls(), 1);
    tickAt(at(12, 30, 5));
    EXPECT_EQ(syncCalls(), 2);
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"A"}));
}

TEST_F(AlarmWatchTest, MissedMinutesSoundOncePerMomentWithoutAnInactivityLimit) {
    every(group("G"), "Tick", at(7), unitMinute);
    startAt(at(8, 0, 30));
    tickAt(at(8, 3, 30)); // busy for three minutes
    ASSERT_EQ(runner.soundings.size(), 3u);
    EXPECT_EQ(runner.soundings[0].moment, at(8, 1));
    EXPECT_EQ(runner.soundings[1].moment, at(8, 2));
    EXPECT_EQ(runner.soundings[2].moment, at(8, 3));
}

TEST_F(AlarmWatchTest, AfterSleepLongerThanTheLimitOnlyAlarmsThatSoundAfterInactivitySound) {
    settings.inactivityLimitMinutes = 30;
    auto g = group("G");
    once(g, "Keeps", at(9), true);
    once(g, "Skipped", at(9, 30), false);
    once(g, "Later", at(11), false);
    startAt(at(8));
    tickAt(at(10)); // two hours asleep
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Keeps"});
    EXPECT_EQ(runner.soundings[0].moment, at(9));
    EXPECT_EQ(watch.lastCheckMoment(), at(10));
    tickAt(at(10, 0, 30));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Keeps"}); // the skipped one never sounds
    EXPECT_EQ(watch.nextAlarmMoment(), at(11));
}

TEST_F(AlarmWatchTest, TheAlarmsAGapLeavesSilentAreListedAndCanBeSoundedAfterwards) {
    settings.inactivityLimitMinutes = 30;
    auto g = group("G");
    once(g, "Keeps", at(9), true);
    auto skipped = once(g, "Skipped", at(9, 30), false);
    every(g, "Hourly", at(8, 45), unitHour)->soundAfterInactive = false;
    once(g, "Later", at(11), false);
    startAt(at(8));
    tickAt(at(10)); // two hours asleep
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Keeps"});
    EXPECT_EQ(reports.missedReports, 1);
    EXPECT_FALSE(reports.lastMissedCut);
    EXPECT_EQ(reports.missed, (std::vector<std::pair<std::string, Date>>{
                                  {"Hourly", at(8, 45)}, {"Skipped", at(9, 30)}, {"Hourly", at(9, 45)}}));

    // A second gap adds to the list; the same alarm and moment is never listed twice.
    MissedAlarmsList list;
    Vector<Alarm> alarms;
    DateVector moments;
    alarms.addElement(skipped);
    moments.addDate(at(9, 30));
    list.add(alarms, moments);
    list.add(alarms, moments);
    alarms.addElement(g->alarms.elementAt(2));
    moments.addDate(at(8, 45));
    list.add(alarms, moments);
    auto rows = list.rows("hh:nn");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "Hourly");
    EXPECT_EQ(rows[0].moment, "08:45");
    EXPECT_EQ(rows[1].group, "G");
    EXPECT_EQ(rows[1].name, "Skipped");

    // The chosen one sounds for real with its own moment and leaves the list; the rest stays.
    list.choose(1, true);
    list.soundChosen(watch);
    ASSERT_EQ(runner.names(), (std::vector<std::string>{"Keeps", "Skipped"}));
    EXPECT_EQ(runner.soundings[1].moment, at(9, 30));
    EXPECT_TRUE(runner.soundings[1].real);
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.rows("hh:nn")[0].name, "Hourly");
    // An alarm deleted meanwhile does not sound.
    g->alarms.removeElementAt(2);
    list.choose(0, true);
    list.soundChosen(watch);
    EXPECT_EQ(runner.soundings.size(), 2u);

    // Blocked, nothing is listed: leaving blocked mode decides what fell due.
    tickAt(at(10, 0, 30));
    watch.setBlocked(true);
    tickAt(at(12));
    EXPECT_EQ(reports.missedReports, 1);
}

TEST_F(AlarmWatchTest, AClockJumpOfYearsEitherWayRecomputesWithoutSoundingTheWholeGap) {
    settings.inactivityLimitMinutes = 30;
    every(group("G"), "Minutely", at(7), unitMinute)->soundAfterInactive = false;
    startAt(at(8));
    tickAt(Date::fromParts(2090, 1, 1, 8, 0, 0)); // set forward by decades
    EXPECT_TRUE(runner.soundings.empty());
    EXPECT_EQ(reports.missedReports, 1); // the list is cut, not decades long, and says so
    EXPECT_TRUE(reports.lastMissedCut);
    EXPECT_EQ(watch.lastCheckMoment(), Date::fromParts(2090, 1, 1, 8, 0, 0));
    EXPECT_EQ(watch.nextAlarmMoment(), Date::fromParts(2090, 1, 1, 8, 1, 0));
    tickAt(Date::fromParts(1990, 6, 1, 8, 0, 30), 500); // and back
    EXPECT_EQ(watch.lastCheckMoment(), Date::fromParts(1990, 6, 1, 8, 0, 30));
    EXPECT_EQ(watch.nextAlarmMoment(), Date::fromParts(1990, 6, 1, 8, 1, 0));
    EXPECT_EQ(timer.interval(), 29500); // an exact shot at 08:01:00
    EXPECT_TRUE(timer.isEnabled());
}

TEST_F(AlarmWatchTest, ASynchronisedAlarmRemembersWhenItWasLastChangedHere) {
    auto g = group("G");
    auto synced = once(g, "Synced", at(18));
    auto local = once(g, "Local", at(18));
    synced->syncId = "uid@halvika";
    startAt(at(12));
    clock.set(at(12, 30));
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(synced, 1), kindContentChanged);
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(local, 1), kindContentChanged);
    EXPECT_EQ(synced->syncModified, clock.epochSeconds(at(12, 30)));
    EXPECT_EQ(local->syncModified, 0);
    clock.set(at(13));
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(synced, 1), kindSounded); // sounding is no change
    EXPECT_EQ(synced->syncModified, clock.epochSeconds(at(12, 30)));
}

TEST_F(AlarmWatchTest, WhatWaitsToBeSavedIsSavedAtOnceBeforeSleep) {
    auto g = group("G");
    auto a = once(g, "Far", at(18));
    startAt(at(12));
    chores.settingsSaves = 0;
    a->name = "Changed";
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(a, 1), kindContentChanged);
    watch.requestWork(AlarmWatch::settingsChanged);
    watch.savePendingWork();
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_NE(home.read("usg_0.agx").find("Changed"), std::string::npos);
    EXPECT_EQ(chores.settingsSaves, 1);
    EXPECT_EQ(watch.pendingWork() & AlarmWatch::saveWorkBits, 0);
}

TEST_F(AlarmWatchTest, BlockedModeAndTheThreeWaysOfLeavingIt) {
    for (std::int16_t wu : {0, 1, 2}) {
        for (bool saia : {true, false}) {
            SCOPED_TRACE(std::to_string(wu) + (saia ? " saia" : ""));
            groups.alarmGroups.clear();
            runner.soundings.clear();
            settings.whenUnblocked = static_cast<WhenUnblocked>(wu);
            auto g = group("G");
            once(g, "Half past", at(8, 30), saia);
            startAt(at(8));
            chores.settingsSaves = 0;
            watch.setBlocked(true);
            EXPECT_TRUE(watch.pendingWork() & AlarmWatch::settingsChanged); // kept across a crash
            tickAt(at(8, 30));
            tickAt(at(8, 45));
            EXPECT_TRUE(runner.soundings.empty());
            EXPECT_EQ(watch.lastCheckMoment(), at(8)); // does not move while blocked
            EXPECT_EQ(chores.settingsSaves, 1);
            clock.set(at(9));
            watch.setBlocked(false);
            const bool sounds = wu == 2 || (wu == 1 && saia);
            EXPECT_EQ(runner.soundings.size(), sounds ? 1u : 0u);
            if (sounds) {
                EXPECT_EQ(runner.soundings[0].moment, at(8, 30));
            }
        }
    }
}

TEST_F(AlarmWatchTest, TheListenerHearsBlockedModeAndEverySchedulingUntilItIsTakenAway) {
    once(group("G"), "Nine", at(9));
    startAt(at(8));
    const int scheduled = reports.schedulings;
    EXPECT_GT(scheduled, 0);
    EXPECT_GT(reports.nextAlarmReports, 0);
    EXPECT_GT(chores.polls, 0); // each scheduling looks after the running plug-ins
    watch.setBlocked(true);
    watch.setBlocked(false);
    EXPECT_EQ(reports.blockedReports, (std::vector<bool>{true, false}));
    tickAt(at(9));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Nine"});
    EXPECT_GT(reports.schedulings, scheduled);
    EXPECT_EQ(chores.settingsSaves, 1); // blocked mode is kept in the settings
    watch.stopAllSounds();
    EXPECT_EQ(runner.stops, 1); // stopped by what started them

    watch.setListener(nullptr);
    const int heard = reports.schedulings;
    tickAt(at(9, 30));
    EXPECT_EQ(reports.schedulings, heard);
}

TEST_F(AlarmWatchTest, TheNextAlarmIsToldWhenItCouldLookDifferentNotAtEveryIdleTick) {
    auto g = group("G");
    auto nine = once(g, "Nine", at(9));
    startAt(at(8));
    EXPECT_EQ(reports.nextAlarmReports, 1);
    tickAt(at(8, 0, 30));
    tickAt(at(8, 1));
    EXPECT_EQ(reports.nextAlarmReports, 1); // the same alarm at the same moment: nothing to show anew

    // Renamed: its moment stands, but the line that names it must not.
    nine->name = "Nine o'clock";
    Vector<Alarm> changed;
    changed.addElement(nine);
    watch.alarmsChanged(changed, kindContentChanged);
    EXPECT_EQ(reports.nextAlarmReports, 2);

    // Another alarm at the same moment joins it; then the first one sounds and the next day's is next.
    auto other = once(g, "Also nine", at(9));
    changed.clear();
    changed.addElement(other);
    watch.alarmsChanged(changed, kindAdded);
    EXPECT_EQ(reports.nextAlarmReports, 3);
    every(g, "Daily", at(10), unitDay);
    changed.clear();
    changed.addElement(g->alarms.elementAt(2));
    watch.alarmsChanged(changed, kindAdded);
    EXPECT_EQ(reports.nextAlarmReports, 3); // a later alarm: the next one is still the same pair
    tickAt(at(9));
    EXPECT_EQ(watch.nextAlarmMoment(), at(10));
    EXPECT_EQ(reports.nextAlarmReports, 4);

    // Nothing left to show after the groups go, and telling so once.
    watch.allGroupsUnloaded();
    EXPECT_EQ(reports.nextAlarmReports, 5);
}

TEST_F(AlarmWatchTest, AnIdleTickReusesTheLastLookUntilAChangeIsReportedOrFiveMinutesPass) {
    auto g = group("G");
    auto alarm = once(g, "Moving", at(9));
    startAt(at(8));
    ASSERT_EQ(watch.nextAlarmMoment(), at(9));
    // Changed behind the watch's back (as a change no one reported would be): the idle tick does not look.
    const auto moveUnreported = [&](const Date& to) {
        alarm->onceDate = to;
        alarm->invalidateCaches();
    };
    moveUnreported(at(8, 30));
    tickAt(at(8, 0, 30));
    EXPECT_EQ(watch.nextAlarmMoment(), at(9));

    Vector<Alarm> changed;
    changed.addElement(alarm);
    watch.alarmsChanged(changed, kindTimingChanged);
    EXPECT_EQ(watch.nextAlarmMoment(), at(8, 30));

    // Never reported: found at the first tick five minutes after the last full look, still in time.
    moveUnreported(at(8, 20));
    tickAt(at(8, 1));
    tickAt(at(8, 5));
    EXPECT_EQ(watch.nextAlarmMoment(), at(8, 30));
    tickAt(at(8, 5, 30));
    EXPECT_EQ(watch.nextAlarmMoment(), at(8, 20));
    tickAt(at(8, 20));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Moving"});

    // Whatever sounds may change alarms: the tick after a sounding looks afresh.
    auto later = once(g, "Later", at(10));
    changed.clear();
    changed.addElement(later);
    watch.alarmsChanged(changed, kindAdded);
    EXPECT_EQ(watch.nextAlarmMoment(), at(10));
    once(g, "Soon", at(8, 21)); // unreported
    watch.testAlarms(changed);
    tickAt(at(8, 20, 30));
    EXPECT_EQ(watch.nextAlarmMoment(), at(8, 21));

    // Alarms due together sound in their list's order: a move within the group, which asks for a save,
    // and a new order of the groups, after which the lists ask for the next alarms, are looked at afresh.
    auto alsoSoon = once(g, "Also soon", at(8, 21));
    changed.clear();
    changed.addElement(alsoSoon);
    watch.alarmsChanged(changed, kindAdded);
    const auto upcoming = [&] {
        std::vector<std::string> names;
        for (const auto& a : watch.upcomingAlarms()) {
            names.push_back(a->name);
        }
        return names;
    };
    EXPECT_EQ(upcoming(), (std::vector<std::string>{"Soon", "Also soon"}));
    ASSERT_EQ(g->alarms.indexOf(alsoSoon), 3);
    g->alarms.swap(2, 3);
    watch.requestWork(AlarmWatch::alarmDataChanged);
    tickAt(at(8, 20, 32));
    EXPECT_EQ(upcoming(), (std::vector<std::string>{"Also soon", "Soon"}));
    auto other = group("Other");
    once(other, "Elsewhere", at(8, 21));
    watch.updateUpcoming();
    EXPECT_EQ(upcoming(), (std::vector<std::string>{"Also soon", "Soon", "Elsewhere"}));
    groups.alarmGroups.swapObjects(g, other);
    watch.updateUpcoming();
    EXPECT_EQ(upcoming(), (std::vector<std::string>{"Elsewhere", "Also soon", "Soon"}));
}

TEST_F(AlarmWatchTest, TimerCorrectionMovesNowBack) {
    settings.timerCorrectionMs = 5000;
    auto g = group("G");
    once(g, "Eight", at(8));
    startAt(at(7, 59, 0));
    tickAt(at(8, 0, 4));
    EXPECT_TRUE(runner.soundings.empty());
    tickAt(at(8, 0, 5));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Eight"});

    settings.timerCorrectionMs = -2500; // rounded down: three seconds ahead
    EXPECT_EQ(watch.currentMoment(true), at(8, 0, 8));
}

TEST_F(AlarmWatchTest, ManyAlarmsAtOnceAreSoundedOnlyAfterAQuestion) {
    settings.warningLimit = 3;
    auto g = group("G");
    for (const char* name : {"1", "2", "3", "4"}) {
        once(g, name, at(8));
    }
    startAt(at(7, 59));
    setUp.dialogs.setNextAnswer(Dialogs::answerNo);
    tickAt(at(8));
    ASSERT_EQ(setUp.dialogs.shown().size(), 1u);
    EXPECT_EQ(setUp.dialogs.shown()[0].text, setUp.texts.getMainText(208) + " 4");
    EXPECT_TRUE(runner.soundings.empty());
    tickAt(at(8, 0, 30));
    EXPECT_EQ(setUp.dialogs.shown().size(), 1u); // handled: not asked again
}

TEST_F(AlarmWatchTest, AttentionAlarmUnlessTheUserReacts) {
    settings.attentionAlarmOn = true;
    settings.attentionImportance = 2;
    settings.attentionAlarm = Alarm::createAlarm(nullptr);
    settings.attentionAlarm->name = "Attention";
    auto action = std::make_shared<clsAction>();
    action->action = 1;
    action->al = settings.attentionAlarm.get();
    settings.attentionAlarm->actions.addElement(action);
    auto g = group("G");
    once(g, "Low", at(8), true, 0);
    once(g, "Important", at(8), true, 2);
    once(g, "Also important", at(8), true, 3);
    startAt(at(7, 59));
    tickAt(at(8));
    EXPECT_EQ(watch.attentionMoment(), at(8, 0, 10));
    EXPECT_EQ(timer.interval(), 10000);
    tickAt(at(8, 0, 10));
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"Low", "Important", "Also important", "Attention"}));
    EXPECT_EQ(watch.attentionMoment(), Date::none());

    // A reaction within the ten seconds keeps it quiet.
    runner.soundings.clear();
    once(g, "Nine", at(9), true, 2);
    tickAt(at(9));
    watch.cancelAttentionAlarm();
    tickAt(at(9, 0, 10));
    tickAt(at(9, 0, 40));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Nine"});
}

TEST_F(AlarmWatchTest, TheClockSetBackLetsLaterMomentsSoundAgain) {
    every(group("G"), "Daily", at(9, 30), unitDay);
    startAt(at(9, 29, 50));
    tickAt(at(9, 30));
    tickAt(at(10));
    tickAt(at(9)); // the clock is set back an hour
    EXPECT_EQ(watch.lastCheckMoment(), at(9));
    tickAt(at(9, 30));
    ASSERT_EQ(runner.soundings.size(), 2u);
    EXPECT_EQ(runner.soundings[1].moment, at(9, 30));
}

TEST_F(AlarmWatchTest, AShotOverTakenByAClockChangeOrASleepSoundsNothingTwice) {
    // The clock is set back an hour ten seconds before an alarm: the shot comes at 08:30 by the clock.
    once(group("G"), "Half past nine", at(9, 30));
    startAt(at(9, 29, 50));
    ASSERT_TRUE(watch.pendingWork() & AlarmWatch::alarmDue);
    tickAt(at(8, 30));
    EXPECT_TRUE(runner.soundings.empty());
    tickAt(at(9, 29, 40));
    tickAt(at(9, 30));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Half past nine"});
}

TEST_F(AlarmWatchTest, ASleepThatBeginsJustBeforeAnAlarmSoundsEachMissedAlarmOnce) {
    for (const int limit : {30, 0}) {
        SCOPED_TRACE(limit);
        runner.soundings.clear();
        groups.alarmGroups.clear();
        settings.inactivityLimitMinutes = limit;
        auto g = group("G");
        once(g, "Half past nine", at(9, 30));
        once(g, "Ten", at(10));
        startAt(at(9, 29, 50));
        // Asleep for two hours: the monotonic shot comes ten seconds after waking.
        tickAt(at(11, 30));
        tickAt(at(11, 30, 30));
        EXPECT_EQ(runner.names(), (std::vector<std::string>{"Half past nine", "Ten"}));
    }
}

TEST_F(AlarmWatchTest, ChangesAreSavedWithinTheSaveDelayHoweverManyFollow) {
    auto g = group("G");
    auto a = once(g, "Far", at(18));
    startAt(at(12));
    const std::string file = home.file("usg_0.agx");
    ASSERT_FALSE(std::filesystem::exists(file));
    // A change every second: each reschedules, none pushes the save back.
    for (int second = 0; second < 2; ++second) {
        clock.set(at(12, 0, second));
        a->name = "Far " + std::to_string(second);
        watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(a, 1), kindTimingChanged | kindContentChanged);
        EXPECT_LE(timer.interval(), AlarmWatch::saveDelayMs - second * 1000);
        EXPECT_FALSE(watch.pendingWork() & AlarmWatch::alarmDue);
    }
    tickAt(at(12, 0, 2));
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_NE(home.read("usg_0.agx").find("Far 1"), std::string::npos);
    EXPECT_EQ(watch.pendingWork() & AlarmWatch::saveWorkBits, 0);
    EXPECT_EQ(timer.interval(), AlarmWatch::defaultIntervalMs);
}

TEST_F(AlarmWatchTest, ASaveDueJustBeforeAnAlarmWaitsForItsTickAndComesAfterTheSounding) {
    settings.seeAlarmsAmount[1] = 2; // the coming list is kept
    settings.seeAlarmsUnit[1] = unitHour;
    auto g = group("G");
    auto a = once(g, "Soon", at(12, 0, 2));
    startAt(at(11, 59, 59), 700);
    EXPECT_EQ(timer.interval(), 2300);
    const std::string file = home.file("usg_0.agx");
    bool savedBeforeSounding = false;
    runner.onAction = [&] { savedBeforeSounding = std::filesystem::exists(file); };
    // The save would fall 300 ms before the alarm's shot: it is made in that tick, after the sounding.
    a->name = "Soon!";
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(a, 1), kindContentChanged);
    EXPECT_EQ(timer.interval(), 2300);
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::alarmDue);
    ASSERT_FALSE(std::filesystem::exists(file));
    tickAt(at(12, 0, 2));
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"Soon!"}));
    EXPECT_FALSE(savedBeforeSounding);
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(watch.pendingWork() & AlarmWatch::saveWorkBits, 0);

    // Further away from the alarm, the save keeps its own shot.
    auto later = once(g, "Later", at(12, 0, 10));
    clock.set(at(12, 0, 3));
    later->name = "Later!";
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(later, 1), kindContentChanged);
    EXPECT_EQ(timer.interval(), AlarmWatch::saveDelayMs);
    EXPECT_FALSE(watch.pendingWork() & AlarmWatch::alarmDue);
}

TEST_F(AlarmWatchTest, AnAlarmSharingItsShotWithAListSoundsBeforeASaveIsMade) {
    auto g = group("G");
    once(g, "First", at(12, 0, 1));
    auto second = once(g, "Second", at(12, 0, 2));
    startAt(at(12));
    watch.rebuildSeeAlarmsList(0); // as the main window does
    watch.rebuildSeeAlarmsList(1);
    const std::string file = home.file("usg_0.agx");
    bool savedBeforeSounding = false;
    runner.onAction = [&] { savedBeforeSounding = std::filesystem::exists(file); };
    tickAt(at(12, 0, 1));
    // A change just after the first alarm, saved two seconds later at the latest.
    clock.set(at(12, 0, 1), 600);
    second->name = "Second!";
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(second, 1), kindTimingChanged | kindContentChanged);
    // The second alarm enters the list of those just sounded at its moment: that list's shot is the alarm's.
    EXPECT_EQ(timer.interval(), 400);
    EXPECT_FALSE(watch.pendingWork() & AlarmWatch::alarmDue);
    EXPECT_TRUE(timer.exact());
    tickAt(at(12, 0, 2));
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"First", "Second!"}));
    EXPECT_FALSE(savedBeforeSounding);
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(AlarmWatchTest, AStalledDiskHoldsUpNoAlarmAndARefusedSaveIsToldOnceAndMadeAgainUntilItLands) {
    // A disk that holds every write until let go, and then refuses them while it is full.
    std::mutex mutex;
    std::condition_variable wake;
    bool letGo = false;
    bool full = true;
    setUp.disk = [&](const std::string& path, const std::string& content, std::string* reason) {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return letGo; });
        if (full) {
            *reason = "No space left on device";
            return false;
        }
        return TextFile::writeAtomically(path, content, reason);
    };
    const auto disk = [&](bool open, bool isFull) {
        const std::lock_guard lock(mutex);
        letGo = open;
        full = isFull;
        wake.notify_all();
    };
    auto g = group("G");
    auto far = once(g, "Far", at(18));
    once(g, "Soon", at(12, 0, 5));
    startAt(at(12));
    far->name = "Changed";
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(far, 1), kindContentChanged);
    tickAt(at(12, 0, 2)); // the save's own tick hands the group over; the disk holds it
    EXPECT_EQ(watch.pendingWork() & AlarmWatch::saveWorkBits, 0);
    EXPECT_TRUE(groups.fileWriter().holds(home.file("usg_0.agx")));
    tickAt(at(12, 0, 5));
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"Soon"}));

    disk(true, true);
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_TRUE(setUp.dialogs.shown().empty()); // nothing is told from the writer's thread
    tickAt(at(12, 0, 35));
    ASSERT_EQ(setUp.dialogs.shown().size(), 1u);
    EXPECT_NE(setUp.dialogs.shown()[0].text.find("usg_0.agx: No space left on device"), std::string::npos);
    EXPECT_TRUE(setUp.dialogs.shown()[0].notice); // told from the tick: no box there waits for a click
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    tickAt(at(12, 1, 5)); // refused again for the same reason: not told again, and handed over once more
    EXPECT_EQ(setUp.dialogs.shown().size(), 1u);
    EXPECT_EQ(timer.interval(), AlarmWatch::defaultIntervalMs); // the retry keeps to the regular ticks
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());

    disk(true, false);
    tickAt(at(12, 1, 35)); // the last refusal is taken, and the group handed over again lands
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_NE(home.read("usg_0.agx").find("Changed"), std::string::npos);
    tickAt(at(12, 2, 5));
    EXPECT_EQ(setUp.dialogs.shown().size(), 1u);
}

TEST_F(AlarmWatchTest, AChangeWhileAQuestionIsOpenWaitsForTheWorkInHand) {
    settings.warningLimit = 1;
    auto g = group("G");
    once(g, "1", at(8));
    once(g, "2", at(8));
    startAt(at(7, 59, 59));
    int questions = 0;
    // A script adds an alarm while the many-alarms question is open, and the timer fires meanwhile.
    setUp.dialogs.setWhileShown([&] {
        if (++questions > 1) {
            return;
        }
        auto added = once(g, "Added", at(9));
        watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(added, 1), kindAdded);
        timer.fire();
    });
    setUp.dialogs.setNextAnswer(Dialogs::answerYes);
    tickAt(at(8));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(runner.names(), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(watch.nextAlarmMoment(), at(9));
}

TEST_F(AlarmWatchTest, TestsSoundEvenWhenBlockedAndChangeNothing) {
    auto g = group("G");
    auto a = once(g, "Test me", at(12));
    startAt(at(8));
    watch.setBlocked(true);
    watch.testAlarms(Vector<Alarm>::createVectorWithObj(a, 1));
    ASSERT_EQ(runner.soundings.size(), 1u);
    EXPECT_FALSE(runner.soundings[0].real);
    EXPECT_EQ(runner.counted, 0);
    EXPECT_EQ(watch.lastCheckMoment(), at(8));
}

TEST_F(AlarmWatchTest, ChangesAndSwitching) {
    auto g = group("G");
    auto a = once(g, "A", at(9));
    startAt(at(8));
    EXPECT_EQ(watch.nextAlarmMoment(), at(9));
    watch.setActivity(Vector<Alarm>::createVectorWithObj(a, 1), AlarmWatch::ActivityMode::SwitchOff);
    EXPECT_FALSE(a->Active);
    EXPECT_EQ(watch.nextAlarmMoment(), Date::none());
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::alarmDataChanged);
    watch.setActivity(Vector<Alarm>::createVectorWithObj(a, 1), AlarmWatch::ActivityMode::Toggle);
    EXPECT_EQ(watch.nextAlarmMoment(), at(9));

    // A snooze reported as a timing change makes the snooze moment the next one.
    a->snooze(at(8, 30));
    watch.alarmsChanged(Vector<Alarm>::createVectorWithObj(a, 1), kindTimingChanged);
    EXPECT_EQ(watch.nextAlarmMoment(), at(8, 30));
    watch.setActivity(Vector<AlarmGroup>::createVectorWithObj(g, 1), AlarmWatch::ActivityMode::SwitchOff);
    EXPECT_EQ(watch.nextAlarmMoment(), Date::none());

    // A change never makes alarms of the past sound.
    watch.setActivity(Vector<AlarmGroup>::createVectorWithObj(g, 1), AlarmWatch::ActivityMode::SwitchOn);
    clock.set(at(9, 30));
    once(g, "Past", at(9, 10));
    groups.saveAlarmGroups(false);
    EXPECT_TRUE(runner.soundings.empty() || runner.soundings.back().alarm != "Past");
}

TEST_F(AlarmWatchTest, ReloadingReplacesTheListsAndAMissingFolderLeavesNothingToSound) {
    settings.seeAlarmsAmount[1] = 2;
    settings.seeAlarmsUnit[1] = unitHour;
    once(group("G"), "Soon", at(12, 0, 10));
    startAt(at(12));
    watch.rebuildSeeAlarmsList(1);
    ASSERT_TRUE(groups.saveAlarmGroups(true));
    ASSERT_TRUE(groups.reloadAlarmGroups());
    ASSERT_EQ(watch.seeAlarmsList(1).alarms.numberOfElements(), 1); // not the old entry beside the new one
    const auto reloaded = groups.alarmGroups.elementAt(0)->elementAt(0);
    EXPECT_EQ(watch.seeAlarmsList(1).alarms.elementAt(0), reloaded);
    ASSERT_EQ(watch.upcomingAlarms().numberOfElements(), 1);
    EXPECT_EQ(watch.upcomingAlarms().elementAt(0), reloaded);

    setUp.services.alarmGroupFolder = home.file("gone");
    EXPECT_FALSE(groups.reloadAlarmGroups());
    EXPECT_EQ(watch.seeAlarmsList(1).alarms.numberOfElements(), 0);
    EXPECT_EQ(watch.upcomingAlarms().numberOfElements(), 0);
    tickAt(at(12, 0, 10));
    EXPECT_TRUE(runner.soundings.empty());
}

TEST_F(AlarmWatchTest, SeeAlarmsListsFollowTheirWindows) {
    settings.seeAlarmsAmount[0] = 1;
    settings.seeAlarmsUnit[0] = unitHour;
    settings.seeAlarmsAmount[1] = 2;
    settings.seeAlarmsUnit[1] = unitHour;
    auto g = group("G");
    once(g, "Ten", at(10));
    startAt(at(7));
    watch.rebuildSeeAlarmsList(0);
    watch.rebuildSeeAlarmsList(1);
    EXPECT_EQ(watch.seeAlarmsList(1).alarms.numberOfElements(), 0);
    EXPECT_EQ(watch.seeAlarmsList(1).boundary, at(8)); // two hours before it is due
    EXPECT_EQ(watch.seeAlarmsList(0).boundary, at(10));

    tickAt(at(7, 59, 50));
    EXPECT_EQ(timer.interval(), 10000);
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::comingListDue);
    tickAt(at(8));
    ASSERT_EQ(watch.seeAlarmsList(1).alarms.numberOfElements(), 1);
    EXPECT_EQ(watch.seeAlarmsList(1).moments.dateAt(0), at(10));

    tickAt(at(9, 59, 50));
    tickAt(at(10));
    tickAt(at(10, 0, 1));
    EXPECT_EQ(runner.names(), std::vector<std::string>{"Ten"});
    EXPECT_EQ(watch.seeAlarmsList(1).alarms.numberOfElements(), 0); // dropped when due
    ASSERT_EQ(watch.seeAlarmsList(0).alarms.numberOfElements(), 1); // taken by the recent list
    EXPECT_EQ(watch.seeAlarmsList(0).boundary, at(11));             // it leaves an hour later

    // Switching the alarm off takes it out of the lists.
    watch.setActivity(g->alarms, AlarmWatch::ActivityMode::SwitchOff);
    EXPECT_EQ(watch.seeAlarmsList(0).alarms.numberOfElements(), 0);
}

TEST_F(AlarmWatchTest, IntervalsAndOverlaps) {
    auto g = group("G");
    auto meeting = once(g, "Meeting", at(10));
    meeting->durationAmount = 60;
    meeting->durationUnit = unitMinute;
    auto lunch = once(g, "Lunch", at(11, 20));
    auto call = once(g, "Call", at(11, 40));
    auto daily = every(g, "Daily", at(7), unitDay);
    auto off = once(g, "Off", at(10, 30));
    off->Active = false;
    clock.set(at(8));

    Vector<Alarm> found;
    DateVector starts, ends;
    ASSERT_TRUE(AlarmQueries::collectAlarmIntervals(g->alarms, at(10, 30), Date::fromParts(2026, 3, 9), 0, false, found,
                                                    starts, ends));
    // The meeting began before the range but lasts into it; the daily alarm once (the 8th); in start order.
    ASSERT_EQ(found.numberOfElements(), 4);
    EXPECT_EQ(found.elementAt(0), meeting);
    EXPECT_EQ(ends.dateAt(0), at(11));
    EXPECT_EQ(found.elementAt(1), lunch);
    EXPECT_EQ(found.elementAt(2), call);
    EXPECT_EQ(starts.dateAt(3), Date::fromParts(2026, 3, 8, 7, 0, 0));
    EXPECT_EQ(found.elementAt(3), daily);

    // More than a thousand occurrences: none at all.
    auto minutely = every(g, "Minutely", at(0), unitMinute);
    Vector<Alarm> many;
    DateVector s2, e2;
    EXPECT_TRUE(AlarmQueries::collectAlarmIntervals(Vector<Alarm>::createVectorWithObj(minutely, 1), at(8),
                                                    Date::fromParts(2026, 3, 7, 23, 0, 0), 0, false, many, s2, e2));
    EXPECT_EQ(many.numberOfElements(), 901); // 08:00 to 23:00, both ends included
    EXPECT_FALSE(AlarmQueries::collectAlarmIntervals(Vector<Alarm>::createVectorWithObj(minutely, 1), at(8),
                                                     Date::fromParts(2026, 3, 9), 0, false, many, s2, e2));
    EXPECT_EQ(many.numberOfElements(), 0);
    g->alarms.remove(minutely);

    // Within 30 minutes of the meeting (10:00-11:00): lunch at 11:20, not the call at 11:40 nor the daily one.
    const auto overlapping = AlarmQueries::findOverlappingAlarms(
        groups, clock.today(), Vector<Alarm>::createVectorWithObj(meeting, 1), 30, unitMinute, 0, false);
    ASSERT_EQ(overlapping.numberOfElements(), 1);
    EXPECT_EQ(overlapping.elementAt(0), lunch);
    EXPECT_EQ(AlarmQueries::findOverlappingAlarms(groups, clock.today(), Vector<Alarm>::createVectorWithObj(meeting, 1),
                                                  40, unitMinute, 0, false)
                  .numberOfElements(),
              2); // touching counts: 11:40 is exactly 40 minutes after the end
}

TEST_F(AlarmWatchTest, SnoozeCommandQuestionsAndWarnings) {
    auto g = group("G");
    auto a = once(g, "Wake", at(8));
    const Date shown = at(8);

    // Seven minutes late, five minutes added to the alarm's moment: in the past, refused.
    EXPECT_EQ(watch.snoozeCommand(*a, shown, at(8, 7), 0, 5, 1), AlarmWatch::SnoozeResult::InThePast);
    EXPECT_EQ(setUp.dialogs.shown().back().text, setUp.texts.getText("frmAlarm", 3));
    EXPECT_FALSE(a->snoozing);
    EXPECT_FALSE(a->lastSnoozeSet);

    // Added to now, in the unit at list position 1 (minutes).
    EXPECT_EQ(watch.snoozeCommand(*a, shown, at(8, 7), 1, 5, 1), AlarmWatch::SnoozeResult::Snoozed);
    EXPECT_TRUE(a->snoozing);
    EXPECT_EQ(a->nextSnoozeAlarmDate, at(8, 12));
    EXPECT_TRUE(a->lastSnoozeSet);
    EXPECT_EQ(a->lastSnoozeAmount, 5);
    EXPECT_EQ(a->lastSnoozeUnit, unitMinute);
    EXPECT_EQ(a->lastSnoozeAddTo, 1);

    // Already snoozed to a later moment: asked first, naming it in the user's format; No keeps the old snooze
    // but remembers the choice.
    settings.generalDateFormat = "dd/mm/yyyy hh:nn";
    setUp.dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_EQ(watch.snoozeCommand(*a, shown, at(8, 8), 1, 1, 4), AlarmWatch::SnoozeResult::NotAgain);
    EXPECT_EQ(setUp.dialogs.shown().back().text, setUp.texts.getText("frmAlarm", 2) + " 07/03/2026 08:12");
    EXPECT_EQ(a->nextSnoozeAlarmDate, at(8, 12));
    EXPECT_EQ(a->lastSnoozeUnit, unitWeek); // list position 4 is the week
}

TEST(AlarmWatchSnooze, ArithmeticAndUnitLists) {
    const Date shown = at(8);
    const Date now = at(8, 7);
    EXPECT_EQ(AlarmWatch::snoozeMoment(shown, now, 0, 5, unitMinute), at(8, 5)); // in the past: refused by the window
    EXPECT_LE(AlarmWatch::snoozeMoment(shown, now, 0, 5, unitMinute), now);
    EXPECT_EQ(AlarmWatch::snoozeMoment(shown, now, 1, 5, unitMinute), at(8, 12));
    for (std::int16_t p = 0; p < 7; ++p) {
        EXPECT_EQ(listPositionOfUnitCode(unitCodeOfListPosition(p)), p);
    }
    EXPECT_EQ(unitCodeOfListPosition(4), unitWeek);
    EXPECT_EQ(unitCodeOfListPosition(5), unitMonth);
    EXPECT_EQ(unitCodeOfListPosition(9), 9);
}

} // namespace
} // namespace halvika
