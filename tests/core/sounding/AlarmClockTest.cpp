// The alarm clock rings, snoozes and stops by the clock.
#include "fakes/FakeSoundOutput.h"
#include "fakes/ManualClock.h"
#include "sounding/AlarmClockLogic.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

using State = AlarmClockLogic::State;

class AlarmClockTest : public ::testing::Test {
protected:
    AlarmClockLogic& make(std::int16_t maxMinutes, std::int16_t snoozeMinutes) {
        clockWindow = std::make_unique<AlarmClockLogic>(clock, output.openChannel(), "ring.wav", maxMinutes,
                                                        snoozeMinutes, [this] { output.beep(); });
        return *clockWindow;
    }
    void after(int seconds) {
        clock.advance(seconds, 0);
        clockWindow->tick();
    }
    bool ringing() const { return output.channels.back()->looping; }

    test::ManualClock clock{Date::fromParts(2026, 3, 7, 7, 0, 0)};
    test::FakeSoundOutput output;
    std::unique_ptr<AlarmClockLogic> clockWindow;
};

TEST_F(AlarmClockTest, RingingStopsAfterTheLimitWhichRestartsAfterEverySnooze) {
    AlarmClockLogic& c = make(5, 2);
    c.soundAlarmClock();
    EXPECT_TRUE(ringing());
    after(4 * 60);
    c.click(); // snooze at 07:04
    EXPECT_EQ(c.state(), State::Snoozing);
    EXPECT_TRUE(c.snoozeLabelVisible());
    EXPECT_FALSE(ringing());
    after(119);
    EXPECT_EQ(c.state(), State::Snoozing);
    after(1); // 07:06: rings again, until 07:11
    EXPECT_EQ(c.state(), State::Sounding);
    EXPECT_TRUE(ringing());
    after(4 * 60 + 59);
    EXPECT_EQ(c.state(), State::Sounding);
    after(1);
    EXPECT_EQ(c.state(), State::Idle);
    EXPECT_FALSE(ringing());
}

TEST_F(AlarmClockTest, ClicksDependOnTheState) {
    AlarmClockLogic& c = make(5, 0);
    c.click();
    EXPECT_EQ(c.state(), State::Idle); // a click on the idle clock does nothing
    c.snoozeLabelClicked();
    EXPECT_EQ(c.state(), State::Idle);
    c.doubleClick();
    EXPECT_EQ(c.state(), State::Sounding);
    c.doubleClick(); // while ringing: a snooze
    EXPECT_EQ(c.state(), State::Snoozing);
    after(0); // no snooze time: rings again at the next tick
    EXPECT_EQ(c.state(), State::Sounding);
    c.click();
    c.snoozeLabelClicked();
    EXPECT_EQ(c.state(), State::Idle);
    after(60); // no ringing after snoozing was ended
    EXPECT_EQ(c.state(), State::Idle);

    c.soundAlarmClock();
    c.close();
    EXPECT_EQ(c.state(), State::Idle);
    EXPECT_FALSE(ringing());
}

TEST_F(AlarmClockTest, AClockWhoseSoundWillNotPlayBeepsEverySecondAndRingsOnceItPlays) {
    output.loopWorks = false; // a stalled sound server
    AlarmClockLogic& c = make(5, 1);
    c.soundAlarmClock();
    EXPECT_EQ(output.beeps, 1);
    after(1);
    after(1);
    EXPECT_EQ(output.beeps, 3);
    output.loopWorks = true;
    after(1);
    EXPECT_TRUE(ringing());
    after(1);
    EXPECT_EQ(output.beeps, 3);
    EXPECT_EQ(output.entries("loop:").size(), 4u); // tried at every tick until it played, then left alone

    // Snoozed and stopped clocks stay quiet, whatever the sound does.
    output.loopWorks = false;
    c.click();
    after(30);
    c.soundAlarmClock();
    c.stopSounding();
    after(1);
    EXPECT_EQ(output.beeps, 4);
}

TEST_F(AlarmClockTest, TheFaceIsRedrawnWhenTheMinuteChanges) {
    AlarmClockLogic& c = make(5, 5);
    clock.advance(30, 0);
    EXPECT_FALSE(c.tick());
    clock.advance(30, 0);
    EXPECT_TRUE(c.tick());
    EXPECT_FALSE(c.tick());
}

} // namespace
} // namespace halvika
