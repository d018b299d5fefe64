// The alarm window: caption, message, snooze controls and bookkeeping, the one-second guard and its commands.
#include "fakes/DatePrinter.h"
#include "fakes/SoundingTestRig.h"
#include "sounding/AlarmWindowLogic.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

const Date eight = Date::fromParts(2026, 3, 7, 8, 0, 0);

class AlarmWindowTest : public ::testing::Test, protected test::SoundingTestRig {
protected:
    AlarmWindowTest() { clock.set(eight); }
    AlarmWindowLogic& show(const std::shared_ptr<Alarm>& alarm, bool real = true, const std::string& replacement = "") {
        windows.showAlarmMessage(alarm, alarm->actions.elementAt(0), eight, real, replacement);
        return *windows.alarmWindow(windows.alarmWindowCount() - 1);
    }
    const std::vector<test::ScriptedDialogs::Shown>& boxes() { return setUp.dialogs.shown(); }
};

TEST_F(AlarmWindowTest, CaptionMessageAndSnoozeControlsDependOnTheActionTheSoundingAndReadOnly) {
    auto alarm = alarmWith(1, "Tea is ready");
    alarm->actions.elementAt(0)->settings->addInteger("i", 1);
    AlarmWindowLogic& real = show(alarm);
    EXPECT_EQ(real.caption(), "Tea - 2026-03-07 08:00");
    EXPECT_EQ(real.message(), "Tea is ready");
    EXPECT_TRUE(real.snoozeVisible());
    EXPECT_TRUE(real.snoozeEnabled());
    EXPECT_TRUE(real.menuEnabled());
    // The defaults "dsa", "dsu" (minutes, list position 1) and "dsat".
    EXPECT_EQ(real.snoozeAmount(), 5);
    EXPECT_EQ(real.snoozeUnitPosition(), 1);

    AlarmWindowLogic& test = show(alarm, false);
    EXPECT_EQ(test.caption(), "Tea - (test)");
    EXPECT_FALSE(test.snoozeEnabled());

    // No snooze wanted by the action: hidden, unless an error replaces the message.
    auto plain = alarmWith(1, "Stretch");
    plain->readOnly = true;
    plain->lastSnoozeSet = true;
    plain->lastSnoozeAmount = 2;
    plain->lastSnoozeUnit = 6; // weeks: list position 4
    AlarmWindowLogic& ro = show(plain);
    EXPECT_FALSE(ro.snoozeVisible());
    EXPECT_FALSE(ro.snoozeEnabled());
    EXPECT_FALSE(ro.menuEnabled());
    EXPECT_EQ(ro.snoozeAmount(), 2);
    EXPECT_EQ(ro.snoozeUnitPosition(), 4);
    AlarmWindowLogic& replaced = show(alarmWith(16), true, "The printer is out of paper");
    EXPECT_TRUE(replaced.snoozeVisible());
    EXPECT_TRUE(replaced.replacementMode());
    EXPECT_EQ(replaced.message(), "The printer is out of paper");
}

TEST_F(AlarmWindowTest, TheSnoozedSoundingEndsTheSnoozeAndALaterOneReportsItPassedOver) {
    auto alarm = alarmWith(1);
    alarm->snooze(eight);
    EXPECT_EQ(show(alarm).snoozeNote(), "This is the snoozed alarm.");
    EXPECT_FALSE(alarm->snoozing);

    auto other = alarmWith(1);
    other->snooze(Date::fromParts(2026, 3, 7, 9, 0, 0)); // snoozed to after this sounding: stays snoozed
    EXPECT_FALSE(show(other).snoozeNote().empty());
    EXPECT_TRUE(other->snoozing);
    other->snooze(Date::fromParts(2026, 3, 7, 7, 0, 0));
    show(other);
    EXPECT_FALSE(other->snoozing);
}

TEST_F(AlarmWindowTest, ClicksInTheFirstSecondAreIgnoredThenOkClosesAndReportsWhatChanged) {
    auto alarm = alarmWith(1, "Tea is ready");
    alarm->snooze(eight);
    AlarmWindowLogic& w = show(alarm);
    clock.set(Date::fromParts(2026, 3, 7, 8, 0, 1));
    EXPECT_FALSE(w.ok("Tea is ready", 464, 177));
    clock.set(Date::fromParts(2026, 3, 7, 8, 0, 2));
    setUp.dialogs.setNextAnswer(Dialogs::answerYes); // keep the edited message
    EXPECT_TRUE(w.ok("Tea is ready, and biscuits", 600, 300));
    EXPECT_EQ(alarm->actions.elementAt(0)->settings->getString("s"), "Tea is ready, and biscuits");
    EXPECT_EQ(w.changeKinds(), kindTimingChanged | kindContentChanged);
    EXPECT_TRUE(group->changed);
    // The window's size is kept, in twips, for the next window.
    EXPECT_EQ(settings.alarmWindowWidth, 9000);
    EXPECT_EQ(settings.alarmWindowHeight, 4500);
    EXPECT_TRUE(watch.pendingWork() & AlarmWatch::settingsChanged);
    // A clock set back also lets the click through.
    AlarmWindowLogic& again = show(alarm);
    clock.set(Date::fromParts(2026, 3, 7, 7, 59, 59));
    EXPECT_TRUE(again.guardPassed());
}

TEST_F(AlarmWindowTest, SnoozingIntoThePastWarnsAndKeepsTheWindowOpen) {
    auto alarm = alarmWith(1);
    alarm->actions.elementAt(0)->settings->addInteger("i", 1);
    AlarmWindowLogic& w = show(alarm);
    clock.set(Date::fromParts(2026, 3, 7, 8, 10, 0));
    // Five minutes after the alarm's moment is already past.
    EXPECT_FALSE(w.snooze(5, 1, 0, w.message(), 464, 177));
    EXPECT_EQ(boxes().back().text, "The snooze time you chose has already passed. Please choose a later time.");
    EXPECT_FALSE(alarm->snoozing);
    // Five minutes from now is fine.
    EXPECT_TRUE(w.snooze(5, 1, 1, w.message(), 464, 177));
    EXPECT_TRUE(alarm->snoozing);
    EXPECT_EQ(alarm->nextSnoozeAlarmDate, Date::fromParts(2026, 3, 7, 8, 15, 0));
    EXPECT_TRUE(alarm->lastSnoozeSet);
    EXPECT_EQ(alarm->lastSnoozeAddTo, 1);
    EXPECT_EQ(w.changeKinds() & kindTimingChanged, kindTimingChanged);
    // The next window starts from that choice.
    EXPECT_EQ(show(alarm).snoozeAddTo(), 1);
}

TEST_F(AlarmWindowTest, MenuCommandsChangeTheAlarmAndDeleteOnlyAfterTheQuestion) {
    auto alarm = alarmWith(1);
    AlarmWindowLogic& w = show(alarm);
    w.turnOff();
    EXPECT_FALSE(alarm->Active);
    w.turnOn();
    EXPECT_TRUE(alarm->Active);

    setUp.dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_FALSE(w.deleteAlarm(false));
    EXPECT_EQ(group->alarms.numberOfElements(), 1);
    EXPECT_EQ(boxes().back().text, "Do you want to delete this alarm?");

    // "Delete if it will not sound again": a one-time alarm at 09:00 seen at 08:00 will still sound.
    alarm->onceDate = Date::fromParts(2026, 3, 7, 9, 0, 0);
    alarm->invalidateCaches();
    setUp.dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_FALSE(w.deleteAlarm(true));
    EXPECT_EQ(group->alarms.numberOfElements(), 1);

    setUp.dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_TRUE(w.deleteAlarm(false));
    EXPECT_EQ(group->alarms.numberOfElements(), 0);
    EXPECT_EQ(boxes().size(), 3u); // no second question from the group collection
}

} // namespace
} // namespace halvika
