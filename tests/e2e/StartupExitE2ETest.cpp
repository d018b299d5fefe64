// Start-up and exit of the real halvika program: state file, single instance, termination signal.
#include "e2e/HalvikaProcess.h"
#include "fakes/DatePrinter.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"
#include "xml/XMLNode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace halvika {
namespace {

using namespace std::chrono_literals;
using test::Process;
using test::waitForContent;
using test::waitForContentPrefix;

TEST(StartupExitE2E, ShortRunIsRecordedAndASecondInstanceEndsSilently) {
    test::TempHome home;
    Process first(home.path());
    ASSERT_TRUE(waitForContent(home, "state", "2"));

    Process second(home.path());
    EXPECT_EQ(second.waitForExit(30s), 0);
    EXPECT_TRUE(first.running());

    first.signal(SIGTERM);
    EXPECT_EQ(first.waitForExit(30s), 0);
    EXPECT_EQ(home.read("state"), "1");
}

TEST(StartupExitE2E, KilledRunLeavesTwoAndItsLockIsReclaimed) {
    test::TempHome home;
    {
        Process killed(home.path());
        ASSERT_TRUE(waitForContent(home, "state", "2"));
        killed.signal(SIGKILL);
        killed.waitForExit(30s);
    }
    EXPECT_EQ(home.read("state"), "2");

    // With the check off no question blocks the start; the stale lock must not stop it either.
    home.write("state", "3");
    Process next(home.path());
    // Up once it holds the lock (its pid in the lock file): from then on SIGTERM ends it through the exit
    // routine. A slow machine may take more than a second or two to get there.
    ASSERT_TRUE(waitForContentPrefix(home, "halvika.lock", std::to_string(next.pid()) + "\n"));
    std::this_thread::sleep_for(500ms);
    ASSERT_TRUE(next.running());
    next.signal(SIGTERM);
    EXPECT_EQ(next.waitForExit(30s), 0);
    EXPECT_EQ(home.read("state"), "3");
}

TEST(StartupExitE2E, HelpAndVersionNeedNoDisplayAndAHomeThatCannotBeWrittenIsSaidSo) {
    const std::string bare = std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") + HALVIKA_BINARY;
    int status = -1;
    EXPECT_NE(test::commandOutput(bare + " --version", &status).find("Halvika "), std::string::npos);
    EXPECT_EQ(status, 0);
    EXPECT_NE(test::commandOutput(bare + " --help", &status).find("--home <folder>"), std::string::npos);
    EXPECT_EQ(status, 0);

    // Not even root can write here.
    const std::string said = test::commandOutput(
        std::string("QT_QPA_PLATFORM=offscreen ") + HALVIKA_BINARY + " --home /proc/1", &status, true);
    EXPECT_NE(status, 0);
    EXPECT_NE(said.find("the home folder /proc/1 cannot be written"), std::string::npos) << said;
}

TEST(StartupExitE2E, AGroupNamingAMissingSynchronisationPluginDoesNotBringTheProgramDown) {
    test::TempHome home;
    home.write("usg_0.agx", "<algr><name>Synced</name><stat>-1</stat><sync>HalvikaGone.plugin</sync></algr>");
    Process program(home.path());
    ASSERT_TRUE(waitForContent(home, "state", "2"));
    std::this_thread::sleep_for(3s);
    ASSERT_TRUE(program.running());
    program.signal(SIGTERM);
    EXPECT_EQ(program.waitForExit(30s), 0);
    EXPECT_EQ(home.read("state"), "1");
}

TEST(StartupExitE2E, GroupsAreLoadedAtStartAndSavedAtExitThroughRealPlugins) {
    test::TempHome home;
    std::filesystem::create_directory(home.file("PlugIns"));
    std::filesystem::copy_file(TEST_PLUGIN_PROGRAM, home.file("PlugIns/HalvikaTest.plugin"));
    std::filesystem::permissions(home.file("PlugIns/HalvikaTest.plugin"), std::filesystem::perms::owner_all);
    home.write("usg_0.agx", "<algr><name>Mine</name><stat>-1</stat><chsi>0</chsi><alrm><name>A</name></alrm></algr>");
    home.write("usg_holidays.tst", "a file of a foreign format");

    Process run(home.path());
    ASSERT_TRUE(waitForContent(home, "state", "2"));
    // The foreign file was imported through the plug-in at load and removed from the folder.
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::filesystem::exists(home.file("usg_holidays.tst")) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_FALSE(std::filesystem::exists(home.file("usg_holidays.tst")));
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);

    // The exit saved the imported group under the first free name; the unchanged group was left alone.
    const std::string saved = home.read("usg_1.agx");
    EXPECT_NE(saved.find("<name>Imported from " + home.file("usg_holidays.tst") + "</name>"), std::string::npos);
    EXPECT_EQ(home.read("usg_0.agx"),
              "<algr><name>Mine</name><stat>-1</stat><chsi>0</chsi><alrm><name>A</name></alrm></algr>");
}

TEST(StartupExitE2E, AnAlarmSoundsInItsSecond) {
    test::TempHome home;
    // Tests run with TZ=UTC, so local time is UTC here and in the program. The stamp program reads the clock
    // itself: a file's time comes from the kernel's coarse clock, which may lag a few milliseconds.
    const std::time_t dueAt = std::time(nullptr) + 4;
    const std::string stamps = home.file("stamps.txt");
    home.write("usg_0.agx",
               "<algr><name>G</name><stat>-1</stat><chsi>0</chsi>" + test::stampAlarms(dueAt, 1, stamps) + "</algr>");
    // Files that cannot be read are told of, but the user's OK is not waited for: the alarms come first.
    home.write("usg_1.agx", "<algr><name>Cut off</name><alrm><name>X</name>");
    std::filesystem::create_directory(home.file("todo.txt"));

    Process run(home.path());
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (test::readStamps(stamps).empty() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    const auto lateness = test::latenessOf(test::readStamps(stamps), dueAt);
    ASSERT_EQ(lateness.size(), 1u);
    EXPECT_GE(lateness[0], 0.0);  // never before its second
    EXPECT_LT(lateness[0], 1000); // within it, starting the program included
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);
}

TEST(StartupExitE2E, AFrozenSoundServerHoldsNeitherTheAlarmsNorTheExit) {
    // A server stopped, not gone: the connection stays open and no answer ever comes.
    test::TempHome home;
    std::filesystem::create_directory(home.file("runtime"));
    const auto pulse = test::startPulseAudio(home.file("runtime"));
    ASSERT_TRUE(pulse) << "the PulseAudio server did not start";
    struct Restore {
        ~Restore() {
            pulse.signal(SIGCONT);
            ::unsetenv("PULSE_SERVER");
        }
        const test::Daemon& pulse;
    } restore{*pulse};
    pulse->signal(SIGSTOP);

    // An alarm a second for five seconds, each starting the stamp program; the first sounds a file and
    // speaks before, the second speaks.
    const std::time_t dueAt = std::time(nullptr) + 4;
    const std::string stamps = home.file("stamps.txt");
    std::string alarms = test::stampAlarms(dueAt, 5, stamps);
    const std::string speak = "<acti><acid>2</acid><plug></plug><sett><s>Wake up</s></sett></acti>";
    alarms.replace(alarms.find("<acti>", alarms.find("<name>A1<")), 0, speak);
    alarms.replace(alarms.find("<acti>"), 0,
                   "<acti><acid>7</acid><plug></plug><sett><s>" HALVIKA_SOURCE_DIR "/data/sounds/beeps.wav</s></sett>"
                   "</acti>" +
                       speak);
    home.write("usg_0.agx", "<algr><name>G</name><stat>-1</stat><chsi>0</chsi>" + alarms + "</algr>");

    Process run(home.path());
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (test::readStamps(stamps).size() < 5 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(test::readStamps(stamps).size(), 5u);
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);
    EXPECT_EQ(home.read("state"), "1");
}

using test::fileMoment;

TEST(StartupExitE2E, SettingsCarryTheLastCheckAcrossRunsAndMissedAlarmsSound) {
    test::TempHome home;
    const std::time_t now = std::time(nullptr);
    const std::string marker = home.file("missed");
    home.write("usr.cfx", "<settings><lsd>" + fileMoment(now - 3600) +
                              "</lsd><tiia>0</tiia><lng>English</lng>"
                              "<sta><s2>41</s2></sta></settings>");
    home.write("usg_0.agx", "<algr><name>G</name><stat>-1</stat><chsi>0</chsi><alrm><name>Missed</name><datk>0</datk>"
                            "<oncd>" +
                                fileMoment(now - 1800) +
                                "</oncd><acti><acid>5</acid><plug></plug><sett>"
                                "<s>/usr/bin/touch|" +
                                marker + "</s></sett></acti></alrm></algr>");
    const std::string group = home.read("usg_0.agx");

    Process run(home.path());
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!std::filesystem::exists(marker) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_TRUE(std::filesystem::exists(marker)); // sounded as overdue: no inactivity limit
    run.signal(SIGTERM);
    ASSERT_EQ(run.waitForExit(30s), 0);

    const auto settings = XMLNode::createFromFile(home.file("usr.cfx"));
    ASSERT_EQ(settings->name, "settings");
    const Date lsd = settings->getDate("lsd");
    const Date before = *Date::fromFileString(fileMoment(now - 5));
    EXPECT_GE(lsd, before); // moved up to the run's last check
    EXPECT_EQ(settings->getNode("sta")->getLong("s2"), 42);
    EXPECT_EQ(settings->getLong("tiia"), 0);
    EXPECT_EQ(home.read("state"), "1");
    EXPECT_EQ(home.read("usg_0.agx"), group); // nothing about the group changed
}

/// Starts the program and sends it SIGTERM once it shows a question; returns its exit code.
int terminateAtTheFirstQuestion(const test::TempHome& home) {
    const std::string trace = home.file("events.txt");
    std::filesystem::remove(trace);
    ::setenv("HALVIKA_EVENT_TRACE", trace.c_str(), 1);
    Process run(home.path());
    ::unsetenv("HALVIKA_EVENT_TRACE");
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (home.read("events.txt").find(" question") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_NE(home.read("events.txt").find(" question"), std::string::npos);
    run.signal(SIGTERM);
    return run.waitForExit(30s);
}

TEST(StartupExitE2E, ATerminationWhileAQuestionHoldsTheStartEndsTheProgramAndLosesNothing) {
    // The session ends while the start waits for an answer that will not come: the program must end, not
    // stay up with its timer off, and what it has not read yet must not be written over.
    test::TempHome home;
    const std::time_t now = std::time(nullptr);
    home.write("usr.cfx", "<settings><lsd>" + fileMoment(now - 3600) +
                              "</lsd><tiia>0</tiia><wl>2</wl><lng>English</lng></settings>");
    std::string group = "<algr><name>G</name><stat>-1</stat><chsi>0</chsi>";
    for (int i = 0; i < 3; ++i) {
        group += "<alrm><name>Missed " + std::to_string(i) + "</name><datk>0</datk><oncd>" +
                 fileMoment(now - 1800 + i) + "</oncd></alrm>";
    }
    home.write("usg_0.agx", group + "</algr>");
    home.write("todo.txt", "buy milk");

    // The last run did not end properly, or was short: "continue starting?", "safe mode?".
    for (const char* last : {"2", "1"}) {
        home.write("state", last);
        EXPECT_EQ(terminateAtTheFirstQuestion(home), 0);
        EXPECT_EQ(home.read("state"), last); // the next start asks again
    }

    // More missed alarms than the warning limit: "sound them all?" while the groups load.
    home.write("state", "0");
    EXPECT_EQ(terminateAtTheFirstQuestion(home), 0);
    EXPECT_EQ(home.read("state"), "1"); // a short run
    EXPECT_EQ(home.read("todo.txt"), "buy milk");
    EXPECT_EQ(home.read("usg_0.agx"), group + "</algr>");

    // The first-run window (the language file has gone), closed by the end: nothing was chosen, so nothing
    // is set up, and the next start asks again.
    test::TempHome again;
    again.write("usr.cfx", "<settings><lng>Gone</lng></settings>");
    EXPECT_EQ(terminateAtTheFirstQuestion(again), 0);
    EXPECT_FALSE(std::filesystem::exists(again.file("config/autostart/halvika.desktop")));
    EXPECT_EQ(XMLNode::createFromFile(again.file("usr.cfx"))->getString("lng"), "Gone");
}

} // namespace
} // namespace halvika
