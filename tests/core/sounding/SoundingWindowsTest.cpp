// Alarm and sound windows found, reused, limited to three sounds and stopped together.
#include "sounding/SoundingWindows.h"
#include "dates/DateUnits.h"
#include "fakes/DatePrinter.h"
#include "fakes/SoundingTestRig.h"
#include "sounding/AlarmClockLogic.h"
#include "sounding/SoundWindowLogic.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

const Date eight = Date::fromParts(2026, 3, 7, 8, 0, 0);
const Date nine = Date::fromParts(2026, 3, 7, 9, 0, 0);

class SoundingWindowsTest : public ::testing::Test, protected test::SoundingTestRig {};

TEST_F(SoundingWindowsTest, ASecondSoundingReusesTheWindowOnlyWithOneAlarmWindow) {
    auto alarm = alarmWith(1);
    const auto action = alarm->actions.elementAt(0);
    windows.showAlarmMessage(alarm, action, eight, true, "");
    windows.showAlarmMessage(alarm, action, nine, true, "");
    EXPECT_EQ(windows.alarmWindowCount(), 2u);
    EXPECT_EQ(views.alarmWindows.open, 2);

    windows.closeAll();
    settings.oneAlarmWindow = true;
    windows.showAlarmMessage(alarm, action, eight, true, "");
    windows.showAlarmMessage(alarm, action, nine, true, "");
    ASSERT_EQ(windows.alarmWindowCount(), 1u);
    EXPECT_EQ(windows.alarmWindow(0)->moment(), nine);
    EXPECT_EQ(windows.alarmWindow(0)->caption(), "Tea - 2026-03-07 09:00");
    EXPECT_EQ(views.alarmWindows.refreshes, 1);

    // Another action of the same alarm has a window of its own.
    const auto second = test::SoundingTestRig::addAction(*alarm, 1, "Milk");
    windows.showAlarmMessage(alarm, second, nine, true, "");
    EXPECT_EQ(windows.alarmWindowCount(), 2u);
}

TEST_F(SoundingWindowsTest, ScriptsSnoozeTheNewestAlarmWindowFromNowAndCloseIt) {
    EXPECT_FALSE(windows.snoozeLatest(5, unitMinute)); // none open
    auto tea = alarmWith(1);
    auto walk = alarmWith(1);
    walk->name = "Walk";
    clock.set(eight);
    windows.showAlarmMessage(tea, tea->actions.elementAt(0), eight, true, "");
    windows.showAlarmMessage(walk, walk->actions.elementAt(0), eight, true, "");
    clock.set(Date::fromParts(2026, 3, 7, 8, 0, 5)); // past the window's guard second
    ASSERT_TRUE(windows.snoozeLatest(10, unitMinute));
    views.flush();
    ASSERT_EQ(windows.alarmWindowCount(), 1u);
    EXPECT_EQ(windows.alarmWindow(0)->alarm(), tea);
    EXPECT_TRUE(walk->snoozing);
    EXPECT_EQ(walk->nextSnoozeAlarmDate, Date::fromParts(2026, 3, 7, 8, 10, 5));
}

TEST_F(SoundingWindowsTest, AtMostThreeSoundsPlayAndAWindowPlaysOneSoundAtATime) {
    sound.existing = {"/s/1.wav", "/s/2.wav", "/s/3.wav", "/s/4.wav"};
    std::vector<std::shared_ptr<Alarm>> alarms;
    for (int i = 1; i <= 4; ++i) {
        alarms.push_back(alarmWith(7, "/s/" + std::to_string(i) + ".wav"));
        windows.playAlarmSound(alarms.back(), alarms.back()->actions.elementAt(0), eight, true);
    }
    // The first sound stopped when the fourth started.
    ASSERT_EQ(windows.soundWindowCount(), 3u);
    EXPECT_EQ(windows.soundWindow(0)->firstFile(), "/s/2.wav");
    EXPECT_EQ(windows.soundWindow(2)->firstFile(), "/s/4.wav");
    EXPECT_EQ(views.soundWindows.open, 3);
    // The alarm windows that only play a sound stay hidden and go with their sound.
    EXPECT_EQ(windows.alarmWindowCount(), 3u);
    EXPECT_EQ(views.alarmWindows.opened, 0);
    EXPECT_EQ(views.soundCaptions.front(), "Tea - 2026-03-07 08:00");

    // Another sounding with its own window: the oldest sound makes room.
    windows.playAlarmSound(alarms[0], alarms[0]->actions.elementAt(0), nine, false);
    ASSERT_EQ(windows.soundWindowCount(), 3u);
    EXPECT_EQ(windows.soundWindow(0)->firstFile(), "/s/3.wav");
    EXPECT_EQ(views.soundCaptions.back(), "Tea - (test)");

    // The fourth alarm's window is reused and plays again: the oldest sound goes for the limit, and the
    // window's own earlier sound because a window plays one sound at a time.
    settings.oneAlarmWindow = true;
    windows.playAlarmSound(alarms[3], alarms[3]->actions.elementAt(0), nine, true);
    ASSERT_EQ(windows.soundWindowCount(), 2u);
    EXPECT_EQ(windows.soundWindow(0)->firstFile(), "/s/1.wav");
    EXPECT_EQ(windows.soundWindow(1)->firstFile(), "/s/4.wav");
    EXPECT_EQ(windows.alarmWindowCount(), 2u);

    windows.showAlarmMessage(alarms[0], alarms[0]->actions.elementAt(0), nine, true, "");
    windows.stopAllSounds();
    EXPECT_EQ(windows.soundWindowCount(), 0u);
    EXPECT_EQ(views.soundWindows.open, 0);
    EXPECT_EQ(windows.alarmWindowCount(), 1u); // the message stays
    EXPECT_EQ(views.alarmWindows.open, 1);
}

TEST_F(SoundingWindowsTest, ASoundThatEndsClosesItsWindowAndTheStopButtonCancelsTheAttentionAlarm) {
    sound.existing = {"/s/1.wav"};
    auto alarm = alarmWith(7, "/s/1.wav");
    windows.playAlarmSound(alarm, alarm->actions.elementAt(0), eight, true);
    windows.soundWindow(0)->mediaPlayerDone();
    EXPECT_EQ(windows.soundWindowCount(), 1u); // closed once back in the event loop
    views.flush();
    EXPECT_EQ(windows.soundWindowCount(), 0u);

    windows.playAlarmSound(alarm, alarm->actions.elementAt(0), eight, true);
    windows.soundWindowStopped(*windows.soundWindow(0), true);
    views.flush();
    EXPECT_EQ(windows.soundWindowCount(), 0u);
    EXPECT_EQ(watch.attentionMoment(), Date::none());
}

TEST_F(SoundingWindowsTest, TheAlarmClockIsCreatedOnFirstUseAndStopsWithTheOtherSounds) {
    EXPECT_EQ(windows.alarmClock(), nullptr);
    windows.soundAlarmClock();
    ASSERT_NE(windows.alarmClock(), nullptr);
    EXPECT_EQ(windows.alarmClock()->state(), AlarmClockLogic::State::Sounding);
    EXPECT_EQ(sound.entries("loop:"), (std::vector<std::string>{"loop:/data/ring.wav"}));
    windows.stopAllSounds();
    EXPECT_EQ(windows.alarmClock()->state(), AlarmClockLogic::State::Idle);
    EXPECT_EQ(views.alarmClocks.open, 1); // the clock itself stays on screen
    windows.alarmClockClosed();
    views.flush();
    EXPECT_EQ(views.alarmClocks.open, 0);
    EXPECT_EQ(windows.alarmClock(), nullptr);
}

} // namespace
} // namespace halvika
