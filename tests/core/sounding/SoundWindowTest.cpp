// The sound window's repeat counting, player choice, retries and volume.
#include "alarms/clsAction.h"
#include "fakes/FakeMixer.h"
#include "fakes/FakeSoundOutput.h"
#include "fakes/TempHome.h"
#include "sounding/SoundVolume.h"
#include "sounding/SoundWindowLogic.h"

#include <gtest/gtest.h>

#include <fstream>

namespace halvika {
namespace {

using Request = SoundWindowLogic::Request;

const Date morning = Date::fromParts(2026, 3, 7, 7, 0, 0);

Request repeated(std::int16_t mode, std::int32_t times, bool timed = false) {
    Request r;
    r.kind = ActionKind::SoundRepeated;
    r.file = "/sounds/bell.wav";
    r.repeatMode = mode;
    r.repeatTimes = times;
    r.timed = timed;
    return r;
}

class SoundWindowTest : public ::testing::Test {
protected:
    SoundWindowLogic& open() {
        window = std::make_unique<SoundWindowLogic>(output, volume, output.openChannel(), random);
        window->onFinished = [this] { ++finishedCalls; };
        return *window;
    }

    test::FakeSoundOutput output;
    test::FakeMixer mixer;
    SoundVolume volume{&mixer};
    std::mt19937 random{7};
    std::unique_ptr<SoundWindowLogic> window;
    int finishedCalls = 0;
};

TEST_F(SoundWindowTest, RepeatCountsFollowTheModeAndStrikingTheHourLooksHalfAnHourAhead) {
    EXPECT_EQ(SoundWindowLogic::repeatCountFor(Request{}, morning), 1); // kind 7: once
    EXPECT_EQ(SoundWindowLogic::repeatCountFor(repeated(0, 4), morning), 4);
    EXPECT_EQ(SoundWindowLogic::repeatCountFor(repeated(1, 4), morning), -1);
    const auto strike = [](int h, int n) {
        return SoundWindowLogic::repeatCountFor(repeated(2, 0), Date::fromParts(2026, 3, 7, h, n, 0));
    };
    EXPECT_EQ(strike(11, 45), 12);
    EXPECT_EQ(strike(14, 40), 3);
    EXPECT_EQ(strike(23, 30), 12);
    EXPECT_EQ(strike(0, 10), 12);
    EXPECT_EQ(strike(0, 31), 1);

    // The action's settings: "s", then mode, times and timed as three "i", and "l".
    clsAction action;
    action.action = 8;
    action.settings = XMLNode::createFromXML("<sett><s>a.wav</s><i>2</i><i>5</i><i>1</i><l>2500</l></sett>");
    const Request read = Request::fromAction(action);
    EXPECT_EQ(read.file, "a.wav");
    EXPECT_EQ(read.repeatMode, 2);
    EXPECT_EQ(read.repeatTimes, 5);
    EXPECT_TRUE(read.timed);
    EXPECT_EQ(read.intervalMs, 2500);
    action.settings = XMLNode::createFromXML("<sett><s>a.wav</s></sett>");
    EXPECT_EQ(Request::fromAction(action).intervalMs, 1000);
}

TEST_F(SoundWindowTest, TheMediaPlayersEndStartsTheNextPlayUntilTheCountIsReached) {
    output.existing = {"/sounds/bell.wav"};
    SoundWindowLogic& w = open();
    w.setSoundAction(repeated(0, 3), morning);
    w.mediaPlayerDone();
    w.mediaPlayerDone();
    EXPECT_FALSE(w.finished());
    EXPECT_EQ(output.entries("media:").size(), 3u);
    w.mediaPlayerDone();
    EXPECT_TRUE(w.finished());
    EXPECT_EQ(finishedCalls, 1);
    EXPECT_EQ(w.playedCount(), 4);
    w.mediaPlayerDone(); // late events change nothing
    EXPECT_EQ(output.entries("media:").size(), 3u);
    EXPECT_EQ(finishedCalls, 1);
}

TEST_F(SoundWindowTest, PlayersAreTriedInOrderAndMissingFilesBeepEverySecond) {
    // The first file is missing: the fallback plays in the media player.
    output.existing = {"/sounds/default.wav"};
    Request r = repeated(0, 2);
    r.fallbackFile = "/sounds/default.wav";
    SoundWindowLogic& w = open();
    w.setSoundAction(r, morning);
    EXPECT_EQ(output.entries("media:"), (std::vector<std::string>{"media:/sounds/default.wav"}));

    // No media player: the simple player, which has no end event, plays once.
    output.log.clear();
    output.mediaWorks = false;
    output.existing = {"/sounds/bell.wav"};
    SoundWindowLogic& simple = open();
    simple.setSoundAction(repeated(0, 2), morning);
    EXPECT_EQ(output.entries("simple:"), (std::vector<std::string>{"simple:/sounds/bell.wav"}));
    EXPECT_EQ(simple.timerIntervalMs(), 0);
    EXPECT_FALSE(simple.finished());

    // Nothing plays and there is no default sound: a beep each second for the repeat count.
    output.log.clear();
    output.existing.clear();
    SoundWindowLogic& silent = open();
    silent.setSoundAction(repeated(0, 3), morning);
    EXPECT_EQ(output.beeps, 1);
    EXPECT_EQ(silent.timerIntervalMs(), 1000);
    silent.timerFired();
    silent.timerFired();
    EXPECT_EQ(output.beeps, 3);
    silent.timerFired();
    EXPECT_TRUE(silent.finished());
    EXPECT_EQ(output.beeps, 3);
    EXPECT_EQ(silent.timerIntervalMs(), 0);
    EXPECT_TRUE(output.entries("media:").empty());
}

TEST_F(SoundWindowTest, AMediaErrorPlaysOnceMoreWithTheSimplePlayerWithoutCounting) {
    output.existing = {"/sounds/bell.wav"};
    SoundWindowLogic& w = open();
    w.setSoundAction(repeated(0, 2), morning);
    EXPECT_TRUE(w.usingMediaPlayer());
    w.mediaPlayerError();
    EXPECT_EQ(w.playedCount(), 1);
    EXPECT_FALSE(w.usingMediaPlayer());
    EXPECT_EQ(output.entries("simple:").size(), 1u);
    w.mediaPlayerDone(); // no media player is playing any more
    EXPECT_EQ(w.playedCount(), 1);
}

TEST_F(SoundWindowTest, TimedRepetitionPlaysOnTheTimerAndEndlessPlaysUntilStopped) {
    output.existing = {"/sounds/bell.wav"};
    Request r = repeated(1, 0, true);
    r.intervalMs = 2500;
    SoundWindowLogic& w = open();
    w.setSoundAction(r, morning);
    EXPECT_EQ(w.timerIntervalMs(), 2500);
    for (int i = 0; i < 50; ++i) {
        w.timerFired();
    }
    EXPECT_EQ(w.playedCount(), 51);
    EXPECT_FALSE(w.finished());
    w.stop();
    EXPECT_EQ(w.timerIntervalMs(), 0);
    w.timerFired();
    EXPECT_EQ(w.playedCount(), 51);
    EXPECT_EQ(output.log.back(), "stop");
}

TEST_F(SoundWindowTest, WildcardFilesPickAMatchingFile) {
    test::TempHome folder;
    for (const char* name : {"a.wav", "b.wav", "c.ogg"}) {
        std::ofstream(folder.path() + "/" + name) << "x";
    }
    output.existing = {folder.path() + "/a.wav", folder.path() + "/b.wav"};
    Request r;
    r.file = folder.path() + "/*.wav";
    std::set<std::string> chosen;
    for (int i = 0; i < 40; ++i) {
        SoundWindowLogic& w = open();
        w.setSoundAction(r, morning);
        chosen.insert(w.firstFile());
    }
    EXPECT_EQ(chosen, (std::set<std::string>{folder.path() + "/a.wav", folder.path() + "/b.wav"}));
}

TEST_F(SoundWindowTest, TheVolumeIsOnlyEverRaisedAndIsPutBackWhenTheSoundCloses) {
    output.existing = {"/sounds/bell.wav"};
    Request r = repeated(0, 1);
    r.overrideVolume = true;
    r.volume = 30;
    mixer.current.volume = 80 * 65536 / 100;
    mixer.current.muted = true;
    SoundWindowLogic& quiet = open();
    quiet.setSoundAction(r, morning);
    EXPECT_EQ(mixer.percent(), 80); // 30 % would be quieter
    EXPECT_FALSE(mixer.current.muted);
    quiet.stop();
    EXPECT_TRUE(mixer.current.muted);
    EXPECT_EQ(mixer.percent(), 80);

    mixer.current.volume = 20 * 65536 / 100;
    mixer.current.muted = false;
    r.volume = 250; // counts as 100
    SoundWindowLogic& loud = open();
    loud.setSoundAction(r, morning);
    EXPECT_EQ(mixer.current.volume, 65536);
    loud.mediaPlayerDone(); // the end of the only play closes the window
    EXPECT_TRUE(loud.finished());
    EXPECT_EQ(mixer.percent(), 20);
    EXPECT_FALSE(volume.remembering());

    // A mixer that cannot be read is left alone; the sound still plays.
    mixer.broken = true;
    const int sets = mixer.volumeSets;
    SoundWindowLogic& anyway = open();
    anyway.setSoundAction(r, morning);
    EXPECT_EQ(mixer.volumeSets, sets);
    EXPECT_TRUE(anyway.usingMediaPlayer());
}

} // namespace
} // namespace halvika
