// The program's subsystems together: settings, groups and the to-do note loaded at the main start, saved by
// the tick and at exit.
#include "app/CoreSubsystems.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/CoreTestRig.h"
#include "fakes/DatePrinter.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingRunner.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "platform/posix/PosixPluginProcess.h"
#include "settings/SettingsDialogRules.h"
#include "settings/modTranslation.h"
#include "text/Placeholders.h"
#include "text/WriteTally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace halvika {
namespace {

class CoreSubsystemsTest : public ::testing::Test, protected test::CoreTestServices {
protected:
    std::string problem; ///< of a direct write
};

TEST_F(CoreSubsystemsTest, StartTickAndSave) {
    home.write("usr.cfx", "<settings><lsd>2026/03/07 11:00:00</lsd><tiia>0</tiia><wl>5</wl><cls>missing</cls>"
                          "<agp>&lt;app_path&gt;/groups</agp></settings>");
    std::filesystem::create_directory(home.file("groups"));
    home.write("groups/usg_0.agx", "<algr><name>G</name><alrm><name>Missed</name><oncd>2026/03/07 11:30:00</oncd>"
                                   "<acti><acid>1</acid><plug></plug><sett><s>x</s></sett></acti></alrm></algr>");
    home.write("groups/todo.txt", "buy milk");
    CoreSubsystems core = makeCore();
    ASSERT_TRUE(core.mainStart(false));

    EXPECT_EQ(core.settings().warningLimit, 5);
    EXPECT_EQ(core.watchSettings().warningLimit, 5);
    EXPECT_EQ(core.settings().colourScheme, ""); // no such scheme file
    EXPECT_EQ(core.groups().alarmGroups.numberOfElements(), 1);
    EXPECT_EQ(core.toDo(), "buy milk");
    ASSERT_EQ(runner.soundings.size(), 1u); // fell due since the last check
    EXPECT_EQ(runner.soundings[0].moment, Date::fromParts(2026, 3, 7, 11, 30, 0));
    EXPECT_EQ(core.settings().alarmsSounded, 1);

    core.setToDo("buy milk and bread");
    core.markSettingsChanged();
    clock.advance(30, unitSecond);
    core.watchTick();
    ASSERT_TRUE(core.groups().fileWriter().waitUntilDone()); // written on the writer's thread
    EXPECT_EQ(home.read("groups/todo.txt"), "buy milk and bread");
    const auto saved = XMLNode::createFromFile(home.file("usr.cfx"));
    EXPECT_EQ(saved->getDate("lsd"), Date::fromParts(2026, 3, 7, 12, 0, 0));
    EXPECT_EQ(saved->getNode("sta")->getLong("s2"), 1);
    EXPECT_EQ(core.watch().pendingWork() & (AlarmWatch::settingsChanged | AlarmWatch::toDoChanged), 0);

    // "Save all"'s part: both files go to the writer, confirmed on one tally; one refused is made again by the
    // tick.
    const auto saveAll = [&core] {
        std::optional<std::string> told;
        const auto tally = WriteTally::create([&told](const std::string& problems) { told = problems; });
        core.queueSettingsAndToDo(*tally);
        tally->close();
        EXPECT_TRUE(core.groups().fileWriter().waitUntilDone());
        core.groups().fileWriter().reportOutcomes();
        return told.value_or("not told");
    };
    core.setToDo("bread");
    EXPECT_EQ(saveAll(), "");
    EXPECT_EQ(home.read("groups/todo.txt"), "bread");
    std::filesystem::remove_all(home.file("groups"));
    EXPECT_EQ(saveAll(), "\n" + texts.getMainText(CoreSubsystems::textToDoNotSaved) + "\n" +
                             home.file("groups/todo.txt") + ": No such file or directory");
    EXPECT_NE(core.watch().pendingWork() & AlarmWatch::toDoChanged, 0);
}

TEST_F(CoreSubsystemsTest, StoredActivePluginsAreStartedAndAMissingOneIsReported) {
    home.write("usr.cfx", "<settings><acpl><plin>HalvikaGone*GPP</plin></acpl></settings>");
    CoreSubsystems core = makeCore();
    ASSERT_TRUE(core.mainStart(false));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, PluginHost::startFailedMessage);
    EXPECT_TRUE(dialogs.shown()[0].notice); // no box left open to hold up the alarms
    // Saving keeps the record as it is, without asking any plug-in; the exit brings it up to date afterwards.
    ASSERT_TRUE(core.writeSettings(problem));
    EXPECT_EQ(XMLNode::createFromFile(home.file("usr.cfx"))->getNode("acpl")->getNumberOfNodes(), 1);
    core.refreshPluginState(1000);
    EXPECT_EQ(XMLNode::createFromFile(home.file("usr.cfx"))->getNode("acpl")->getNumberOfNodes(), 0);
}

TEST_F(CoreSubsystemsTest, ANewGroupFolderReceivesEveryGroupAndIsWhereTheNextStartLooks) {
    namespace fs = std::filesystem;
    home.write("usr.cfx", "<settings><lng>English</lng><agp>&lt;app_path&gt;/old</agp></settings>");
    fs::create_directory(home.file("old"));
    fs::create_directory(home.file("new"));
    home.write("old/usg_0.agx", "<algr><name>Work</name></algr>");
    home.write("old/usg_1.agx", "<algr><name>Home</name></algr>");
    const std::string foreign = "<algr><name>Already there</name></algr>";
    home.write("new/usg_0.agx", foreign);
    {
        CoreSubsystems core = makeCore();
        ASSERT_TRUE(core.mainStart(false));
        SettingsDialogRules::Input in = SettingsDialogRules::fill(core.settings(), texts);
        in.alarmGroupLocation = "<app_path>/new";
        in.displayFormats = SettingsStore::displayFormatsFor(0, 0);
        ASSERT_TRUE(SettingsDialogRules::store(
            in, core.settings(), clock.now().date, home.path(), messages, texts,
            [&core](const std::string& folder) { core.groups().saveAllIntoFolder(folder); },
            [&core] { core.reapplySettings(); }));
        ASSERT_TRUE(core.writeSettings(problem));
    }
    EXPECT_EQ(home.read("new/usg_0.agx"), foreign); // another file of the folder is never overwritten
    CoreSubsystems restarted = makeCore();
    ASSERT_TRUE(restarted.mainStart(false));
    std::vector<std::string> names;
    for (int i = 0; i < restarted.groups().alarmGroups.numberOfElements(); ++i) {
        names.push_back(restarted.groups().alarmGroups.elementAt(i)->name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Already there", "Home", "Work"}));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(CoreSubsystemsTest, ASaveThatFailsInTheTickIsToldOnceAndTriedAgainUntilItWorks) {
    home.write("usr.cfx", "<settings><lng>English</lng></settings>");
    CoreSubsystems core = makeCore();
    ASSERT_TRUE(core.mainStart(false));
    std::filesystem::create_directory(home.file("todo.txt")); // stands where the note should go
    core.setToDo("water the plants");
    const auto tick = [&] {
        clock.advance(30, unitSecond);
        core.watchTick();
        ASSERT_TRUE(core.groups().fileWriter().waitUntilDone());
    };
    for (int round = 0; round < 3; ++round) {
        tick();
    }
    // Each refusal is taken at the next tick, which hands the note over again; it is told once.
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              texts.getMainText(CoreSubsystems::textToDoNotSaved) + "\n" + home.file("todo.txt") + ": Is a directory");

    std::filesystem::remove(home.file("todo.txt"));
    tick();
    EXPECT_EQ(home.read("todo.txt"), "water the plants");
    EXPECT_FALSE(core.watch().pendingWork() & AlarmWatch::toDoChanged);
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

TEST_F(CoreSubsystemsTest, UnreadableSettingsAreKeptAsideAndTheUserStartsAfreshAndIsTold) {
    const std::string garbage = "<settings><lng>English</lng><wl>5</wl>"; // cut off
    home.write("usr.cfx", garbage);
    home.write("todo.txt", "");
    std::filesystem::remove(home.file("todo.txt"));
    std::filesystem::create_directory(home.file("todo.txt")); // a note that cannot be read
    bool firstRun = false;
    CoreSubsystems core = makeCore();
    core.firstRunDialog = [&firstRun](SettingsStore&) { firstRun = true; };
    ASSERT_TRUE(core.mainStart(false));
    EXPECT_TRUE(firstRun);
    EXPECT_EQ(home.read("usr.cfx.bad"), garbage);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].text,
              Placeholders::fill(texts.getMainText(CoreSubsystems::textSettingsUnreadable), home.file("usr.cfx.bad")));
    EXPECT_EQ(dialogs.shown()[1].text.rfind(texts.getMainText(CoreSubsystems::textToDoUnreadable), 0), 0u);
    EXPECT_TRUE(dialogs.shown()[0].notice && dialogs.shown()[1].notice); // the start does not wait for an OK
    EXPECT_EQ(core.settings().warningLimit, 10);

    // The note that could not be read is never written over.
    core.setToDo("new note");
    std::string problems;
    EXPECT_TRUE(core.saveForExit(problems)) << problems;
    EXPECT_TRUE(std::filesystem::is_directory(home.file("todo.txt")));
}

TEST_F(CoreSubsystemsTest, AnExitAskedForDuringTheStartsQuestionsWritesOnlyWhatWasRead) {
    // The exit routine runs while a start-up question is open (the session ends, say). What has not been
    // read yet is not known, and must not be written as empty or as defaults.
    home.write("todo.txt", "buy milk");
    std::string problems;
    {
        const std::string garbage = "<settings><wl>5</wl>";
        home.write("usr.cfx", garbage);
        CoreSubsystems core = makeCore();
        // Unreadable settings: a new start, whose first-run window is open when the session ends.
        bool asked = false;
        core.firstRunDialog = [&](SettingsStore&) {
            if (!asked) {
                asked = true;
                EXPECT_TRUE(core.saveForExit(problems)) << problems;
                EXPECT_FALSE(std::filesystem::exists(home.file("usr.cfx")));
                EXPECT_EQ(home.read("todo.txt"), "buy milk");
            }
        };
        ASSERT_TRUE(core.mainStart(false));
        ASSERT_TRUE(asked);
        EXPECT_EQ(home.read("usr.cfx.bad"), garbage);
    }
    // More missed alarms than the warning limit: the question comes while the groups load, before the note.
    home.write("usr.cfx", "<settings><lsd>2026/03/07 11:00:00</lsd><tiia>0</tiia><wl>1</wl></settings>");
    home.write("usg_0.agx", "<algr><name>G</name><alrm><name>A</name><oncd>2026/03/07 11:30:00</oncd></alrm>"
                            "<alrm><name>B</name><oncd>2026/03/07 11:31:00</oncd></alrm></algr>");
    const std::string group = home.read("usg_0.agx");
    CoreSubsystems core = makeCore();
    dialogs.setWhileShown([&core, &problems] { EXPECT_TRUE(core.saveForExit(problems)) << problems; });
    ASSERT_TRUE(core.mainStart(false));
    ASSERT_EQ(dialogs.shown().size(), 2u); // the notice of the unreadable settings, then the question
    EXPECT_EQ(home.read("todo.txt"), "buy milk");
    EXPECT_EQ(home.read("usg_0.agx"), group);
    // The settings were read, and are written: the last check stays where it was, as nothing sounded.
    EXPECT_EQ(XMLNode::createFromFile(home.file("usr.cfx"))->getDate("lsd"), Date::fromParts(2026, 3, 7, 11, 0, 0));
}

TEST_F(CoreSubsystemsTest, WhatATickDoesAfterTheExitRoutineRanInItsQuestionIsNotWritten) {
    // Two alarms at once against a warning limit of one: the tick asks, and the session ends meanwhile. The
    // exit routine saves; the box it closed answers no, and the tick's "handled all the same" must not
    // reach the disk, or the alarms would be lost without ever having been offered.
    home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><tiia>0</tiia><wl>1</wl></settings>");
    home.write("usg_0.agx", "<algr><name>G</name><alrm><name>A</name><oncd>2026/03/07 12:00:30</oncd></alrm>"
                            "<alrm><name>B</name><oncd>2026/03/07 12:00:30</oncd></alrm></algr>");
    const std::string group = home.read("usg_0.agx");
    CoreSubsystems core = makeCore();
    ASSERT_TRUE(core.mainStart(false));
    std::string problems;
    dialogs.setWhileShown([&core, &problems] {
        EXPECT_TRUE(core.saveForExit(problems)) << problems;
        core.stopSaving();
    });
    core.markSettingsChanged(); // the tick would save them after its alarms
    clock.advance(40, unitSecond);
    core.watchTick();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(runner.soundings.empty());
    ASSERT_TRUE(core.groups().fileWriter().waitUntilDone());
    EXPECT_EQ(home.read("usg_0.agx"), group);
    EXPECT_LT(XMLNode::createFromFile(home.file("usr.cfx"))->getDate("lsd"), Date::fromParts(2026, 3, 7, 12, 0, 30));
}

TEST_F(CoreSubsystemsTest, FirstRunAndSafeMode) {
    CoreSubsystems core = makeCore(true);
    ASSERT_TRUE(core.mainStart(true));
    EXPECT_EQ(core.settings().language, "English");
    EXPECT_EQ(core.settings().displayFormats[3], "dd/mm/yyyy hh:nn:ss");
    EXPECT_TRUE(core.watch().blocked()); // safe mode blocks the alarms
    EXPECT_EQ(core.settings().colourScheme, "default");
    ASSERT_TRUE(core.writeSettings(problem));
    EXPECT_TRUE(XMLNode::createFromFile(home.file("usr.cfx"))->getBoolean("bl"));

    // A new user's alarms ring as well as show their window; the template is theirs to change.
    const auto alarm = core.settings().getDefaultTemplateAlarm(texts);
    ASSERT_EQ(alarm->actions.numberOfElements(), 2);
    EXPECT_EQ(alarm->actions.elementAt(0)->kind(), ActionKind::Message);
    EXPECT_EQ(alarm->actions.elementAt(1)->kind(), ActionKind::SoundOnce);
    EXPECT_EQ(alarm->actions.elementAt(1)->settings->getString("s"), HALVIKA_SOURCE_DIR "/data/sounds/ring.wav");
    EXPECT_NE(home.read("usr.cfx").find("ring.wav"), std::string::npos);
}

} // namespace
} // namespace halvika
