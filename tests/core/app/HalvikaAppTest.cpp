// The spine: start-up questions and the state file, the tick, the exit routine, version check, log.
#include "app/HalvikaApp.h"
#include "app/ProgramVersion.h"
#include "app/StateFile.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingSubsystems.h"
#include "fakes/RecordingViews.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "xml/XMLNode.h"

#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace halvika {
namespace {

using test::ManualClock;

class HalvikaAppTest : public ::testing::Test {
protected:
    HalvikaApp& app() {
        if (!m_app) {
            m_app = std::make_unique<HalvikaApp>(HalvikaApp::Services{clock, timer, dialogs, shell, views}, subsystems,
                                                 AppPaths(home.path(), {shipped.path()}));
        }
        return *m_app;
    }
    std::string state() const { return home.read("state"); }
    /// Starts a run the way the program does and returns whether it went on.
    bool start() { return app().runStartupCheck() && app().mainStart(); }
    bool has(const std::string& call) const {
        return std::find(subsystems.calls.begin(), subsystems.calls.end(), call) != subsystems.calls.end();
    }

    test::TempHome home;
    test::TempHome shipped;
    ManualClock clock{Date::fromParts(2026, 3, 7, 12, 0, 0)};
    test::ManualTimer timer;
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    test::RecordingViews views;
    test::RecordingSubsystems subsystems;

private:
    std::unique_ptr<HalvikaApp> m_app;
};

TEST_F(HalvikaAppTest, FirstRunAsksNothingAndAShortRunWritesOne) {
    ASSERT_TRUE(start());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(state(), "2"); // written at once, so a crash leaves it behind
    EXPECT_FALSE(app().safeMode());
    clock.advance(10, unitSecond);
    ASSERT_TRUE(app().exitProgram(true));
    EXPECT_EQ(state(), "1");
    EXPECT_TRUE(app().exiting());
    EXPECT_EQ(views.unloads, 1);
    EXPECT_TRUE(views.ended);
    EXPECT_FALSE(timer.isEnabled());
    // The data is saved before any plug-in is asked anything, and the plug-ins get a bounded time; after that
    // nothing more is written.
    EXPECT_EQ(subsystems.calls,
              (std::vector<std::string>{"mainStart", "saveForExit",
                                        "refreshPluginState " + std::to_string(HalvikaApp::exitPluginBudgetMs),
                                        "stopSaving", "releaseRunningPlugins"}));
}

TEST_F(HalvikaAppTest, AWakeUpOrAClockChangeTicksAtOnceAndASleepSavesFirst) {
    app().tickNow(); // before the start: nothing to tick yet
    app().prepareForSleep();
    EXPECT_TRUE(subsystems.calls.empty());
    ASSERT_TRUE(start());
    timer.setInterval(30000);
    timer.enable();
    app().prepareForSleep();
    app().tickNow();
    EXPECT_EQ(subsystems.calls, (std::vector<std::string>{"mainStart", "saveBeforeSleep", "watchTick"}));
    EXPECT_TRUE(timer.isEnabled());
    // A plug-in call in flight holds the tick as the timer's own shot would be held; the timer stays armed.
    subsystems.pluginCallInProgress = true;
    app().tickNow();
    EXPECT_EQ(subsystems.calls.back(), "watchTick");
    EXPECT_EQ(subsystems.calls.size(), 3u);
    EXPECT_EQ(timer.interval(), HalvikaApp::messageBoxRetryMs);
    EXPECT_TRUE(timer.isEnabled());
    subsystems.pluginCallInProgress = false;
    ASSERT_TRUE(app().exitProgram(false));
    app().tickNow();
    app().prepareForSleep();
    EXPECT_EQ(std::count(subsystems.calls.begin(), subsystems.calls.end(), "watchTick"), 1);
    EXPECT_EQ(std::count(subsystems.calls.begin(), subsystems.calls.end(), "saveBeforeSleep"), 1);
}

TEST_F(HalvikaAppTest, ShortLastRunOffersSafeMode) {
    home.write("state", "1");
    dialogs.setNextAnswer(Dialogs::answerNo);
    ASSERT_TRUE(start());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, StartupCheck::shortRunQuestion);
    EXPECT_EQ(dialogs.shown()[0].style, 308);
    EXPECT_EQ(dialogs.shown()[0].caption, "Halvika");
    EXPECT_FALSE(app().safeMode());
    EXPECT_EQ(state(), "2");
}

TEST_F(HalvikaAppTest, ShortLastRunAnsweredYesStartsInSafeMode) {
    home.write("state", "1");
    dialogs.setNextAnswer(Dialogs::answerYes);
    ASSERT_TRUE(start());
    EXPECT_TRUE(app().safeMode());
    EXPECT_TRUE(has("mainStart(safe)"));
}

TEST_F(HalvikaAppTest, CrashAnsweredNoEndsAndKeepsTheState) {
    home.write("state", "2");
    dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_FALSE(start());
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, StartupCheck::crashQuestion);
    EXPECT_EQ(dialogs.shown()[0].style, 52);
    EXPECT_EQ(state(), "2");
    EXPECT_TRUE(subsystems.calls.empty());
}

TEST_F(HalvikaAppTest, CrashAnsweredYesThenAsksForSafeMode) {
    home.write("state", "2");
    dialogs.setNextAnswer(Dialogs::answerYes);
    dialogs.setNextAnswer(Dialogs::answerYes);
    ASSERT_TRUE(start());
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, StartupCheck::safeModeQuestion);
    EXPECT_EQ(dialogs.shown()[1].style, 308);
    EXPECT_TRUE(app().safeMode());
}

TEST_F(HalvikaAppTest, CheckSwitchedOffAsksNothingAndStaysOff) {
    home.write("state", "3");
    ASSERT_TRUE(start());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(state(), "3");
    clock.advance(3, unitSecond);
    ASSERT_TRUE(app().exitProgram(true));
    EXPECT_EQ(state(), "3");
}

TEST_F(HalvikaAppTest, UnknownStateContentAsksNothing) {
    home.write("state", "7\n");
    ASSERT_TRUE(start());
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_EQ(state(), "2");
}

TEST_F(HalvikaAppTest, RunOverMidnightLongerThan30SecondsWritesZero) {
    clock.set(Date::fromParts(2026, 3, 7, 23, 59, 50));
    ASSERT_TRUE(start());
    clock.set(Date::fromParts(2026, 3, 8, 0, 0, 30));
    ASSERT_TRUE(app().exitProgram(true));
    EXPECT_EQ(state(), "0");
}

TEST_F(HalvikaAppTest, ExitStateRule) {
    const Date start = Date::fromParts(2026, 3, 7, 23, 59, 59);
    EXPECT_EQ(StateFile::exitState("2", start, Date::fromParts(2026, 3, 8, 0, 0, 10)), "1");
    EXPECT_EQ(StateFile::exitState("2", start, Date::fromParts(2026, 3, 8, 0, 0, 29)), "1");
    EXPECT_EQ(StateFile::exitState("2", start, Date::fromParts(2026, 3, 8, 0, 0, 30)), "0");
    EXPECT_EQ(StateFile::exitState("2", start, Date::fromParts(2026, 3, 9, 0, 0, 0)), "0");
    // A clock set back during the run is not a long run.
    EXPECT_EQ(StateFile::exitState("2", start, Date::fromParts(2026, 3, 1)), "1");
    EXPECT_EQ(StateFile::exitState("3", start, Date::fromParts(2027, 1, 1)), "3");
}

TEST_F(HalvikaAppTest, RunStateFromTheSettingsDialogIsWrittenAtExit) {
    ASSERT_TRUE(start());
    app().setRunState("3");
    clock.advance(1, unitHour);
    ASSERT_TRUE(app().exitProgram(false));
    EXPECT_EQ(state(), "3");
    EXPECT_FALSE(views.ended); // the caller ends the process itself
    // Asked again to end, the program goes without saving or unloading a second time.
    const auto calls = subsystems.calls.size();
    EXPECT_TRUE(app().exitProgram(true));
    EXPECT_TRUE(views.ended);
    EXPECT_EQ(views.unloads, 1);
    EXPECT_EQ(subsystems.calls.size(), calls);
}

TEST_F(HalvikaAppTest, AFailedSaveIsAskedAboutOnceAndNoAbandonsTheExit) {
    shipped.write("English.lng", "[frmHalvikaMain]\ns104=Not everything could be saved. Go on?\n");
    ASSERT_TRUE(start());
    subsystems.groupsSaveWorks = false;
    clock.advance(1, unitHour);
    dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_FALSE(app().exitProgram(true));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Not everything could be saved. Go on?\n/home/usg_0.agx: No space left on device");
    EXPECT_FALSE(app().exiting());
    EXPECT_EQ(state(), "2");
    EXPECT_EQ(views.unloads, 0);
    EXPECT_FALSE(views.ended);
    EXPECT_FALSE(has("refreshPluginState 3000"));
    EXPECT_TRUE(timer.isEnabled());

    dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_TRUE(app().exitProgram(true));
    EXPECT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(state(), "0");
}

TEST_F(HalvikaAppTest, ASessionEndSavesWhatItCanAndAsksNothing) {
    ASSERT_TRUE(start());
    subsystems.groupsSaveWorks = false;
    app().sessionEnding();
    EXPECT_TRUE(dialogs.shown().empty());
    EXPECT_TRUE(app().exiting());
    EXPECT_TRUE(views.ended);
}

TEST_F(HalvikaAppTest, NoWorkWhileAMessageBoxIsOpen) {
    ASSERT_TRUE(start());
    subsystems.calls.clear();
    dialogs.setWhileShown([this] { timer.fire(); });
    app().msgBox("Something happened", Dialogs::styleExclamation);
    EXPECT_EQ(timer.interval(), HalvikaApp::messageBoxRetryMs);
    EXPECT_TRUE(subsystems.calls.empty());
    EXPECT_FALSE(app().messageBoxOpen());
    timer.fire();
    EXPECT_EQ(subsystems.calls, std::vector<std::string>{"watchTick"});
}

TEST_F(HalvikaAppTest, MainStartLeavesAShotTheWatchScheduledAlone) {
    subsystems.onMainStart = [this] {
        timer.setInterval(4000); // the watch's exact shot at the first alarm
        timer.enable();
    };
    ASSERT_TRUE(start());
    EXPECT_EQ(timer.interval(), 4000);
}

TEST_F(HalvikaAppTest, SettingsThatCannotBeReadEndTheStart) {
    subsystems.mainStartWorks = false;
    EXPECT_FALSE(start());
    EXPECT_FALSE(app().startupFinished());
    EXPECT_FALSE(timer.isEnabled());
}

TEST_F(HalvikaAppTest, NoWorkDuringAPluginCall) {
    ASSERT_TRUE(start());
    subsystems.calls.clear();
    subsystems.pluginCallInProgress = true;
    timer.fire();
    EXPECT_EQ(timer.interval(), HalvikaApp::messageBoxRetryMs);
    EXPECT_TRUE(subsystems.calls.empty());
    subsystems.pluginCallInProgress = false;
    timer.fire();
    EXPECT_EQ(subsystems.calls, std::vector<std::string>{"watchTick"});
}

TEST_F(HalvikaAppTest, TrayExitAsksFirstAndSessionEndExitsOnce) {
    shipped.write("English.lng", "[frmHalvikaMain]\nfrmHalvikaMain=Halvika!\ns220=Really exit?\n");
    ASSERT_TRUE(start());
    dialogs.setNextAnswer(Dialogs::answerNo);
    app().trayExit();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Really exit?");
    EXPECT_EQ(dialogs.shown()[0].caption, "Halvika!");
    EXPECT_EQ(dialogs.shown()[0].style, 36);
    EXPECT_FALSE(app().exiting());

    dialogs.setNextAnswer(Dialogs::answerYes);
    app().trayExit();
    EXPECT_TRUE(app().exiting());
    EXPECT_TRUE(views.ended);
    app().sessionEnding();
    EXPECT_EQ(views.unloads, 1);
}

TEST_F(HalvikaAppTest, ASessionEndDuringTheStartUpQuestionEndsAndLeavesTheLastRunsState) {
    // Whatever the closed box answers: "continue starting?" after a crash, "safe mode?" after a short run.
    for (const char* last : {"2", "1"}) {
        home.write("state", last);
        test::ScriptedDialogs questions;
        test::RecordingViews ending;
        HalvikaApp run({clock, timer, questions, shell, ending}, subsystems, AppPaths(home.path(), {shipped.path()}));
        questions.setWhileShown([&run] { run.sessionEnding(); });
        questions.setNextAnswer(Dialogs::answerNo);
        EXPECT_FALSE(run.runStartupCheck());
        EXPECT_EQ(questions.shown().size(), 1u);
        EXPECT_TRUE(ending.ended);
        EXPECT_EQ(ending.unloads, 0);
        EXPECT_EQ(state(), last); // the next start asks again
        EXPECT_TRUE(subsystems.calls.empty());
    }
}

TEST_F(HalvikaAppTest, SessionEndRunsTheExitRoutine) {
    ASSERT_TRUE(start());
    clock.advance(2, unitMinute);
    app().sessionEnding();
    EXPECT_TRUE(views.ended);
    EXPECT_EQ(state(), "0");
}

TEST_F(HalvikaAppTest, VersionCheckStartsTheProgramWithItsXmlArgument) {
    EXPECT_FALSE(app().versionCheck(true));
    EXPECT_TRUE(shell.started.empty());

    shipped.write("hvc", "#!/bin/sh\n");
    ASSERT_TRUE(app().versionCheck(true));
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0].program, shipped.file("hvc"));
    ASSERT_EQ(shell.started[0].arguments.size(), 1u);
    auto args = XMLNode::createFromXML(shell.started[0].arguments[0]);
    EXPECT_EQ(args->name, "args");
    ASSERT_EQ(args->getNumberOfNodes(), 4);
    EXPECT_EQ(args->getNodeAt(0)->name, "silent");
    EXPECT_TRUE(args->getBoolean("silent"));
    EXPECT_EQ(args->getNodeAt(1)->name, "reldat");
    EXPECT_EQ(args->getDate("reldat"), ProgramVersion::releaseDate());
    EXPECT_EQ(args->getString("version"), ProgramVersion::text());
    EXPECT_EQ(args->getNodeAt(3)->name, "lanfil");
    EXPECT_EQ(args->getString("lanfil"), "English");
}

TEST_F(HalvikaAppTest, DebugLogIsNamedAfterTheMomentAndHoldsTheState) {
    ASSERT_TRUE(start());
    subsystems.debug.dueAlarmCount = 3;
    subsystems.debug.pendingWork = 72;
    timer.setInterval(33000);
    const std::string path = app().writeDebugLog();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).filename().string(), "2026-03-07 120000debug.log");
    auto log = XMLNode::createFromFile(path);
    EXPECT_EQ(log->name, "debuglog");
    ASSERT_EQ(log->getNumberOfNodesWithName("s"), 14);
    EXPECT_EQ(log->getNumberOfNodes(), 14);
    EXPECT_EQ(log->getString("s", 0), std::to_string(ProgramVersion::major));
    EXPECT_EQ(log->getDate("s", 3), Date::none());
    EXPECT_EQ(log->getInteger("s", 4), 3);
    EXPECT_EQ(log->getLong("s", 6), 33000);
    EXPECT_TRUE(log->getBoolean("s", 7));
    EXPECT_EQ(log->getInteger("s", 11), 72);
    EXPECT_EQ(log->getDate("s", 12), clock.today());
}

TEST_F(HalvikaAppTest, LoadingErrorNamesTheErrorAndWhereToGetHelp) {
    const std::string text = HalvikaApp::loadingErrorText(53, "File not found");
    EXPECT_NE(text.find(ProgramVersion::downloadAddress), std::string::npos);
    EXPECT_NE(text.find(ProgramVersion::supportAddress), std::string::npos);
    EXPECT_NE(text.find("The error message is: error53: File not found"), std::string::npos);
}

} // namespace
} // namespace halvika
