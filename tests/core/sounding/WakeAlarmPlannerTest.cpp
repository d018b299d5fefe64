// The wake-up alarm follows the earliest alarm that is to wake the computer, asking the helper only when
// that changes, and gives up on a missing or refusing helper until the user changes the choice.
#include "sounding/WakeAlarmPlanner.h"
#include "fakes/GroupTestServices.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingChangeListener.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroupCollection.h"
#include "sounding/WatchSettings.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

Date at(int h, int n = 0, int s = 0) {
    return Date::fromParts(2026, 3, 7, h, n, s);
}

/// Answers each call when the test says so.
struct RecordingSetter : WakeAlarmSetter {
    void set(std::int64_t epochSeconds, std::function<void(Outcome)> done) override {
        calls.push_back(epochSeconds);
        pending = std::move(done);
    }
    void answer(Outcome outcome) {
        auto done = std::move(pending);
        pending = nullptr;
        done(outcome);
    }
    std::vector<std::int64_t> calls;
    std::function<void(Outcome)> pending;
};

class WakeAlarmPlannerTest : public ::testing::Test {
protected:
    std::shared_ptr<Alarm> once(const Date& when, std::int16_t importance) {
        auto a = Alarm::createAlarm(g);
        a->onceDate = when;
        a->importance = importance;
        g->alarms.addElement(a);
        return a;
    }
    std::int64_t epoch(const Date& d) const { return clock.epochSeconds(d); }

    test::TempHome home;
    test::GroupTestServices setUp{home.path()};
    test::RecordingChangeListener ignored;
    AlarmGroupCollection groups{setUp.services, ignored};
    std::shared_ptr<AlarmGroup> g = [this] {
        auto group = AlarmGroup::createDefaultAlarmGroup(setUp.services);
        groups.alarmGroups.addElement(group);
        return group;
    }();
    test::ManualClock clock{at(6)};
    WatchSettings settings;
    RecordingSetter setter;
    WakeAlarmPlanner planner{clock, groups, settings, setter};
};

TEST_F(WakeAlarmPlannerTest, FollowsTheEarliestImportantAlarmAndAsksOnlyWhenItChanges) {
    once(at(7), 0);
    auto important = once(at(8), 1);
    planner.update();
    EXPECT_TRUE(setter.calls.empty()); // off: never run

    settings.wakeOn = true;
    settings.wakeImportance = 1;
    planner.update();
    ASSERT_EQ(setter.calls, std::vector<std::int64_t>{epoch(at(8)) - 60});
    planner.update(); // one call at a time
    EXPECT_EQ(setter.calls.size(), 1u);
    setter.answer(WakeAlarmSetter::Outcome::Done);
    planner.update();
    EXPECT_EQ(setter.calls.size(), 1u); // unchanged: not asked again

    // The timer correction makes alarms sound later by the wall clock; so does the wake-up.
    settings.timerCorrectionMs = 5000;
    planner.update();
    ASSERT_EQ(setter.calls.size(), 2u);
    EXPECT_EQ(setter.calls[1], epoch(at(8)) + 5 - 60);
    setter.answer(WakeAlarmSetter::Outcome::Done);
    settings.timerCorrectionMs = 0;

    // Within the lead time already: wake at the alarm itself; past it: clear.
    clock.set(at(7, 59, 30));
    planner.update();
    EXPECT_EQ(setter.calls.back(), epoch(at(8)));
    setter.answer(WakeAlarmSetter::Outcome::Done);
    important->Active = false;
    planner.update();
    EXPECT_EQ(setter.calls.back(), 0);
    setter.answer(WakeAlarmSetter::Outcome::Done);

    // More than a year ahead is beyond the helper: nothing is set, and nothing to clear.
    once(Date::fromParts(2027, 6, 1, 8, 0, 0), 2);
    const auto calls = setter.calls.size();
    planner.update();
    EXPECT_EQ(setter.calls.size(), calls);

    // Switched off with a wake-up set: it is cleared.
    once(at(9), 2);
    planner.update();
    setter.answer(WakeAlarmSetter::Outcome::Done);
    settings.wakeOn = false;
    planner.update();
    EXPECT_EQ(setter.calls.back(), 0);
}

TEST_F(WakeAlarmPlannerTest, AMissingOrRefusingHelperIsToldOnceAndLeftAloneUntilTheChoiceChanges) {
    once(at(8), 0);
    settings.wakeOn = true;
    int told = 0;
    planner.problemFound = [&told] { ++told; };
    planner.update();
    setter.answer(WakeAlarmSetter::Outcome::Refused);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(planner.problem(), WakeAlarmSetter::Outcome::Refused);
    clock.set(at(7));
    planner.update();
    planner.update();
    EXPECT_EQ(setter.calls.size(), 1u);

    settings.wakeLeadSeconds = 120; // the user changed the choice: tried again
    planner.update();
    ASSERT_EQ(setter.calls.size(), 2u);
    EXPECT_EQ(setter.calls[1], epoch(at(8)) - 120);
    EXPECT_FALSE(planner.problem());
    setter.answer(WakeAlarmSetter::Outcome::Missing);
    EXPECT_EQ(told, 2);
    EXPECT_EQ(planner.wakeSecond(), 0);
}

} // namespace
} // namespace halvika
