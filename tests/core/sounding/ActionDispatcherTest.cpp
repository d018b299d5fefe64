// Each action kind reaches the right window, voice, program or system command; special commands are split
// and recognised in any case.
#include "sounding/ActionDispatcher.h"
#include "fakes/SoundingTestRig.h"
#include "sounding/AlarmClockLogic.h"

#include <gtest/gtest.h>

#include <fstream>

namespace halvika {
namespace {

const Date eight = Date::fromParts(2026, 3, 7, 8, 0, 0);

class ActionDispatcherTest : public ::testing::Test, protected test::SoundingTestRig {
protected:
    ActionDispatcherTest() {
        dispatcher.exitRoutine = [this] {
            events.push_back("exit routine");
            return exitAllowed;
        };
        dispatcher.endProgram = [this] { events.push_back("end"); };
        currentVoices.finishesAtOnce = true;
        olderVoices.finishesAtOnce = true;
    }
    std::vector<std::string> events;
    bool exitAllowed = true;
};

TEST_F(ActionDispatcherTest, SpecialCommandsAreSplitAtBarsAndTheirWordsRecognisedInAnyCase) {
    dispatcher.runSpecialCommand("SPEAK|Time to go");
    dispatcher.runSpecialCommand("speak");
    dispatcher.runSpecialCommand("Tt|now \"<hh:nn>\"");
    clock.set(eight);
    ASSERT_EQ(currentVoices.spoken.size(), 3u);
    EXPECT_EQ(currentVoices.spoken[0].text, "Time to go");
    EXPECT_EQ(currentVoices.spoken[1].text, "");
    EXPECT_EQ(currentVoices.spoken[2].text, "07:05");

    dispatcher.runSpecialCommand("ScreenSaver");
    EXPECT_EQ(power.calls, (std::vector<std::string>{"screensaver"}));

    dispatcher.runSpecialCommand("gedit|/home/u/notes.txt");
    dispatcher.runSpecialCommand("xterm|-e top|/tmp|ignored");
    dispatcher.runSpecialCommand("/usr/bin/mpv");
    dispatcher.runSpecialCommand("|");
    ASSERT_EQ(shell.executed.size(), 4u);
    EXPECT_EQ(shell.executed[0].path, "gedit");
    EXPECT_EQ(shell.executed[0].parameters, "/home/u/notes.txt");
    EXPECT_EQ(shell.executed[1].parameters, "-e top");
    EXPECT_EQ(shell.executed[1].folder, "/tmp");
    EXPECT_EQ(shell.executed[2].path, "/usr/bin/mpv");
    EXPECT_EQ(shell.executed[2].parameters, "");
    EXPECT_EQ(shell.executed[3].path, "");
}

TEST_F(ActionDispatcherTest, AWildcardProgramOpensARandomMatchOrThePathAsGiven) {
    for (const char* name : {"one.mp3", "two.mp3", "three.ogg"}) {
        std::ofstream(home.path() + "/" + name) << "x";
    }
    std::set<std::string> opened;
    for (int i = 0; i < 40; ++i) {
        dispatcher.runProgram(home.path() + "/*.mp3", "", "");
    }
    for (const auto& e : shell.executed) {
        opened.insert(e.path);
    }
    EXPECT_EQ(opened, (std::set<std::string>{home.path() + "/one.mp3", home.path() + "/two.mp3"}));
    dispatcher.runProgram(home.path() + "/*.flac", "", "");
    EXPECT_EQ(shell.executed.back().path, home.path() + "/*.flac");
}

TEST_F(ActionDispatcherTest, EachKindReachesItsWindowVoiceOrCommand) {
    clock.set(eight);
    const auto run = [this](std::int16_t kind, const std::string& text) {
        auto alarm = alarmWith(kind, text);
        alarm->soundAlarm(eight, true, dispatcher);
        return alarm;
    };
    run(1, "Tea");
    EXPECT_EQ(windows.alarmWindowCount(), 1u);
    run(2, "Hello");
    run(3, "Both");
    EXPECT_EQ(windows.alarmWindowCount(), 2u);
    run(9, "It is <h:nn>.");
    auto until = alarmWith(10, "<d> days to go.");
    until->actions.elementAt(0)->settings->addString("d", "2026/03/10");
    until->soundAlarm(eight, true, dispatcher);
    std::vector<std::string> spoken;
    for (const auto& s : currentVoices.spoken) {
        spoken.push_back(s.text);
    }
    EXPECT_EQ(spoken, (std::vector<std::string>{"Hello", "Both", "It is 8:00.", "3 days to go."}));

    sound.existing = {"/s/bell.wav"};
    run(8, "/s/bell.wav");
    EXPECT_EQ(windows.soundWindowCount(), 1u);
    run(12, "");
    run(17, "");
    EXPECT_EQ(power.calls, (std::vector<std::string>{"screensaver"}));
    ASSERT_NE(windows.alarmClock(), nullptr);
    EXPECT_EQ(windows.alarmClock()->state(), AlarmClockLogic::State::Sounding);

    // A kind this version does not know still shows that the alarm sounded.
    run(42, "");
    EXPECT_EQ(windows.alarmWindow(windows.alarmWindowCount() - 1)->message(),
              "This alarm has an action that this version of Halvika does not know. It sounded anyway.");
    EXPECT_EQ(settings.alarmsSounded, 0); // counting is the program's, not the dispatcher's
}

TEST_F(ActionDispatcherTest, AShutDownRunsTheExitRoutineFirstAndLaterActionsNeverRun) {
    auto alarm = alarmWith(1, "Going down");
    test::SoundingTestRig::addAction(*alarm, 13, "");
    test::SoundingTestRig::addAction(*alarm, 7, "/s/bell.wav");
    sound.existing = {"/s/bell.wav"};
    alarm->soundAlarm(eight, true, dispatcher);
    EXPECT_EQ(windows.alarmWindowCount(), 1u);
    EXPECT_EQ(events, (std::vector<std::string>{"exit routine", "end"}));
    EXPECT_EQ(power.calls, (std::vector<std::string>{"shutdown"}));
    EXPECT_EQ(windows.soundWindowCount(), 0u);
    EXPECT_TRUE(dispatcher.ended());
}

TEST_F(ActionDispatcherTest, ACancelledExitKeepsTheMachineRunning) {
    exitAllowed = false;
    dispatcher.runSpecialCommand("reboot");
    EXPECT_TRUE(power.calls.empty());
    EXPECT_FALSE(dispatcher.ended());
    exitAllowed = true;
    dispatcher.runSpecialCommand("LOGOFF");
    EXPECT_EQ(power.calls, (std::vector<std::string>{"logoff"}));
}

TEST_F(ActionDispatcherTest, APluginActionWithoutPluginsShowsTheFailureInTheAlarmWindow) {
    // No plug-in host: an empty reply, so an empty error, shown as a single blank.
    alarmWith(16)->soundAlarm(eight, true, dispatcher);
    ASSERT_EQ(windows.alarmWindowCount(), 1u);
    EXPECT_EQ(windows.alarmWindow(0)->message(), " ");
    EXPECT_TRUE(windows.alarmWindow(0)->replacementMode());

    ActionDispatcher safe({windows, speech, shell, power, setUp.texts}, true);
    alarmWith(16)->soundAlarm(eight, true, safe);
    EXPECT_EQ(windows.alarmWindow(1)->message(),
              "Plug-ins are switched off in safe mode, so this alarm's plug-in action could not run.");
}

} // namespace
} // namespace halvika
