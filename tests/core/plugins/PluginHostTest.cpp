// The plug-in host against a real plug-in program: discovery, the envelope, misbehaving plug-ins, running
// plug-ins, file formats, safe mode, and groups imported through it.
#include "plugins/PluginHost.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "groups/GroupServices.h"
#include "platform/posix/PosixPluginProcess.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/FileWriteQueue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace halvika {
namespace {

namespace fs = std::filesystem;

class PluginHostTest : public ::testing::Test {
protected:
    PluginHostTest() {
        fs::create_directory(home.file("PlugIns"));
        install("HalvikaTest.plugin");
        host.setTimeoutMs(3000);
        host.setLanguageTag("de-de");
    }
    void install(const std::string& name) {
        fs::copy_file(TEST_PLUGIN_PROGRAM, home.file("PlugIns/" + name), fs::copy_options::overwrite_existing);
        fs::permissions(home.file("PlugIns/" + name), fs::perms::owner_all);
    }
    void mode(const std::string& m) { home.write("PlugIns/HalvikaTest.mode", m); }
    std::string log() const { return home.read("PlugIns/HalvikaTest.log"); }

    test::TempHome home;
    PosixPluginProcess process;
    PluginHost host{process, {home.file("PlugIns"), home.file("installed/PlugIns")}, false};
};

TEST_F(PluginHostTest, DiscoveryFillsTheListsWithoutDuplicates) {
    install("HalvikaOther.plugin");
    home.write("PlugIns/NotOurs.plugin", "#!/bin/sh\n");
    home.write("PlugIns/HalvikaNotExecutable.plugin", "not a program");
    host.loadPlugins();
    EXPECT_EQ(host.plugins(PluginHost::Action),
              (std::vector<std::string>{"HalvikaOther*Act", "HalvikaTest*Act"})); // same name, two programs
    EXPECT_EQ(host.plugins(PluginHost::GeneralPurpose),
              (std::vector<std::string>{"HalvikaOther*GPP", "HalvikaTest*GPP"}));
    for (int t = 0; t < PluginHost::TypeCount; ++t) {
        EXPECT_EQ(host.plugins(static_cast<PluginHost::Type>(t)).size(), 2u) << t;
    }
    EXPECT_EQ(host.actionDescriptions(), (std::vector<std::string>{"Test action", "Test action"}));
    EXPECT_EQ(host.syncDescription("HalvikaTest*Sync"), "Test synchronisation");
    EXPECT_EQ(host.syncDescription("HalvikaGone*Sync"), "");
}

TEST_F(PluginHostTest, FoundInTheBackgroundTheListsAreTheSameAndNothingWaitsMeanwhile) {
    install("HalvikaOther.plugin");
    bool loaded = false;
    host.loadPluginsLater([&loaded] { loaded = true; });
    EXPECT_FALSE(loaded); // every program was started; none was waited for
    EXPECT_TRUE(host.callsInFlight());
    while (host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(loaded);
    EXPECT_EQ(host.plugins(PluginHost::Action), (std::vector<std::string>{"HalvikaOther*Act", "HalvikaTest*Act"}));
    EXPECT_EQ(host.actionDescriptions(), (std::vector<std::string>{"Test action", "Test action"}));
    EXPECT_EQ(host.syncDescription("HalvikaTest*Sync"), "Test synchronisation");
    EXPECT_EQ(host.menuCaption("HalvikaTest*Imp"), "From the test");
    EXPECT_EQ(host.menuCaption("HalvikaTest*Exp"), "To the test");
    EXPECT_EQ(host.menuCaption("HalvikaTest*GPP"), "Test helper");
    EXPECT_EQ(host.pluginName("HalvikaTest*FileImp"), "Halvika test plug-in");
    EXPECT_EQ(host.longDescription("HalvikaTest*Sync"), "Keeps the group the same as the test's.");
    EXPECT_TRUE(host.hasSettingsControl("HalvikaTest*Sync"));
    EXPECT_FALSE(host.hasSettingsControl("HalvikaTest*Act")); // it names no settings control
    EXPECT_TRUE(host.showsWindow("HalvikaTest*Act", "Help")); // it listed about and help windows only
    EXPECT_FALSE(host.showsWindow("HalvikaTest*Act", "Settings"));
    EXPECT_TRUE(host.showsWindow("HalvikaGone*Act", "Settings")); // nothing said: as every plug-in may
    const std::string asked = log();
    EXPECT_EQ(host.importFormats().size(), 2u); // learnt already: no program is started for it
    EXPECT_EQ(log(), asked);

    // A program that hangs holds up neither the others nor the caller; it is given up at its time limit.
    mode("hang");
    host.setTimeoutMs(2000);
    loaded = false;
    host.loadPluginsLater([&loaded] { loaded = true; });
    EXPECT_FALSE(loaded);
    while (host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(host.plugins(PluginHost::Action).empty());
}

TEST_F(PluginHostTest, WhatIsNotLearntYetIsNeverAskedForWhileTheUserWaits) {
    // Found, but not one description has come: the editor's action list and the file dialogs open at once,
    // without starting a program, and show what is known.
    mode("hangafterlist");
    host.setTimeoutMs(2000);
    bool loaded = false;
    host.loadPluginsLater([&loaded] { loaded = true; });
    while (host.plugins(PluginHost::FileImport).empty() && host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(loaded);
    const std::string asked = log();
    EXPECT_EQ(host.actionInfo("HalvikaTest*Act")->getString("shortdescription"), "HalvikaTest*Act");
    EXPECT_EQ(host.buildFileFilter("Alarm groups (*.agx#1)|*.agx#1", true), "Alarm groups (*.agx)|*.agx");
    EXPECT_TRUE(host.importFormats().empty());
    EXPECT_EQ(log(), asked);

    // Once learnt, the same calls give the plug-ins' own answers.
    mode("normal");
    while (host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    host.loadPluginsLater({});
    while (host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(host.actionInfo("HalvikaTest*Act")->getString("shortdescription"), "Test action");
    ASSERT_EQ(host.importFormats().size(), 1u);
    EXPECT_EQ(host.importFormats()[0].extensions, "*.tst");
}

TEST_F(PluginHostTest, AnswersWaitWhileAnAlarmIsAboutToSoundButNotForever) {
    host.loadPlugins();
    bool alarmDue = true;
    host.answersMustWait = [&alarmDue] { return alarmDue; };
    std::string answer;
    const auto call = [&] {
        answer.clear();
        host.methodCallLater("HalvikaTest*Sync", "GetSynchInfo", host.lang(), false,
                             [&answer](const std::string& reply) { answer = reply.empty() ? "(empty)" : reply; });
    };
    const auto pollFor = [this](std::chrono::milliseconds span) {
        const auto until = std::chrono::steady_clock::now() + span;
        while (std::chrono::steady_clock::now() < until && host.pollCalls()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    call();
    // The program has had the request and had time to answer (it answers at once); the answer is held.
    const auto asked = [this] { return log().find("GetSynchInfo") != std::string::npos; };
    for (int i = 0; i < 1000 && !asked(); ++i) {
        pollFor(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(asked());
    pollFor(std::chrono::milliseconds(500));
    EXPECT_EQ(answer, "");
    EXPECT_TRUE(host.callsInFlight());
    alarmDue = false;
    pollFor(std::chrono::milliseconds(5000)); // until it is handed over
    EXPECT_NE(answer.find("Test synchronisation"), std::string::npos);
    EXPECT_FALSE(host.callsInFlight());

    // An alarm due all the time (one every second) holds an answer back a few seconds at most.
    alarmDue = true;
    call();
    pollFor(std::chrono::milliseconds(PluginHost::maxAnswerWaitMs + 2000));
    EXPECT_NE(answer.find("Test synchronisation"), std::string::npos);

    // Whoever waits for the calls (here a new round of discovery) gets every answer at once.
    call();
    host.loadPlugins();
    EXPECT_NE(answer.find("Test synchronisation"), std::string::npos);
    EXPECT_TRUE(host.answersMustWait);
}

TEST_F(PluginHostTest, DescriptionsOfUnchangedProgramsComeFromTheCacheWithoutRunningThem) {
    install("HalvikaOther.plugin");
    const std::string cache = home.file("plugins.cache");
    FileWriteQueue writer; // as the program has it: this thread never waits for the disk
    host.setDescriptionCache(cache, &writer);
    host.loadPlugins();
    ASSERT_TRUE(writer.waitUntilDone());
    const std::string firstLog = log();
    ASSERT_FALSE(firstLog.empty());

    const auto sameAsFirst = [this](PluginHost& again) {
        for (int t = 0; t < PluginHost::TypeCount; ++t) {
            EXPECT_EQ(again.plugins(static_cast<PluginHost::Type>(t)), host.plugins(static_cast<PluginHost::Type>(t)));
        }
        EXPECT_EQ(again.actionDescriptions(), host.actionDescriptions());
        EXPECT_EQ(again.syncDescription("HalvikaTest*Sync"), "Test synchronisation");
        EXPECT_EQ(again.menuCaption("HalvikaTest*Imp"), "From the test");
        EXPECT_EQ(again.pluginName("HalvikaTest*FileImp"), "Halvika test plug-in");
        EXPECT_EQ(again.longDescription("HalvikaTest*Sync"), "Keeps the group the same as the test's.");
        EXPECT_TRUE(again.hasSettingsControl("HalvikaTest*Sync"));
        EXPECT_FALSE(again.showsWindow("HalvikaTest*Act", "Settings"));
        EXPECT_EQ(again.buildFileFilter("All|*", true), host.buildFileFilter("All|*", true));
    };
    // Another start over the same folder and cache, in a language.
    const auto startAgain = [this, &cache](const char* language) {
        auto again = std::make_unique<PluginHost>(process, std::vector<std::string>{home.file("PlugIns")}, false);
        again->setLanguageTag(language);
        again->setDescriptionCache(cache);
        return again;
    };
    {
        // The next start: everything is known at once, and no program runs.
        const auto again = startAgain("de-de");
        bool loaded = false;
        again->loadPluginsLater([&loaded] { loaded = true; });
        EXPECT_TRUE(loaded);
        EXPECT_FALSE(again->callsInFlight());
        sameAsFirst(*again);
        EXPECT_EQ(log(), firstLog);
    }
    {
        // Another language is other requests: asked of the programs, in that language.
        startAgain("en-us")->loadPlugins();
        EXPECT_NE(log().find("<language>en-us</language>"), std::string::npos);
    }
    {
        // A program that changed (a new version installed) is asked again; the other is not.
        const std::string stampBefore = home.file("PlugIns/HalvikaOther.plugin") + "\t" +
                                        std::to_string(fs::file_size(home.file("PlugIns/HalvikaOther.plugin"))) + "\t";
        std::ofstream(home.file("PlugIns/HalvikaOther.plugin"), std::ios::app) << "\n";
        home.write("PlugIns/HalvikaTest.log", "");
        const auto again = startAgain("de-de");
        again->loadPlugins();
        sameAsFirst(*again);
        EXPECT_NE(log().find("GetPlugIns"), std::string::npos);
        const std::string asked = log();
        EXPECT_EQ(std::count(asked.begin(), asked.end(), '\n'), std::count(firstLog.begin(), firstLog.end(), '\n') / 2);
        const std::string kept = home.read("plugins.cache");
        EXPECT_NE(kept.find("en-us"), std::string::npos);     // the other language's answers stay
        EXPECT_EQ(kept.find(stampBefore), std::string::npos); // the changed program's old answers go
    }
    {
        // Garbage in the cache file is no cache: the programs are asked, and the file is written anew.
        home.write("plugins.cache", "<plugincache><entry><key>x</key><reply>");
        home.write("PlugIns/HalvikaTest.log", "");
        const auto again = startAgain("de-de");
        again->loadPlugins();
        sameAsFirst(*again);
        EXPECT_FALSE(log().empty());
        EXPECT_NE(home.read("plugins.cache").find("Test synchronisation"), std::string::npos);
    }
    {
        // A failed answer is not remembered: the next start asks again.
        mode("hang");
        fs::remove(cache);
        const auto failing = startAgain("de-de");
        failing->setTimeoutMs(300);
        failing->loadPlugins();
        EXPECT_TRUE(failing->plugins(PluginHost::Action).empty());
        EXPECT_EQ(home.read("plugins.cache").find("GetPlugIns"), std::string::npos);
    }
}

TEST_F(PluginHostTest, TheEnvelopeCarriesNameMethodAndLanguage) {
    const std::string reply =
        host.methodCall("HalvikaTest*Act", "Execute", host.lang() + "<sett><s>x</s></sett>", false);
    EXPECT_EQ(XMLNode::createFromXML(reply)->getNumberOfNodesWithName("success"), 1);
    EXPECT_EQ(log(), "<xml><plugin>Act</plugin><method>Execute</method><params><language>de-de</language>"
                     "<sett><s>x</s></sett></params></xml>\n");
    EXPECT_EQ(host.commonMethodCall("HalvikaTest*Act", "GetActionInfo", "category"), "Tests");

    // Without "*" nothing is called; an unknown program gives "".
    EXPECT_EQ(host.methodCall("HalvikaTest", "Execute", "", false), "");
    EXPECT_EQ(host.methodCall("HalvikaMissing*Act", "Execute", "", false), "");
    EXPECT_EQ(host.methodCall("../HalvikaTest*Act", "Execute", "", false), "");
    const std::string calls = log();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 2);
    EXPECT_FALSE(host.busy());
}

TEST_F(PluginHostTest, MisbehavingPluginsGiveEmptyRepliesAndTheHostGoesOn) {
    const auto start = std::chrono::steady_clock::now();
    for (const char* m : {"hang", "crash", "exit3"}) {
        mode(m);
        EXPECT_EQ(host.methodCall("HalvikaTest*Act", "Execute", host.lang(), false), "") << m;
    }
    // The hanging one was stopped at the time limit, not waited for.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

    mode("nosuccess");
    EXPECT_EQ(XMLNode::createFromXML(host.methodCall("HalvikaTest*Act", "Execute", host.lang(), false))
                  ->getNumberOfNodesWithName("success"),
              0);
    mode("garbage");
    EXPECT_EQ(XMLNode::createFromXML(host.methodCall("HalvikaTest*Act", "Execute", host.lang(), false))
                  ->getNumberOfNodesWithName("success"),
              0);
    mode("huge");
    EXPECT_GT(host.methodCall("HalvikaTest*Act", "Execute", host.lang(), false).size(), 10u * 1024 * 1024);

    mode("normal");
    EXPECT_EQ(host.commonMethodCall("HalvikaTest*Act", "GetActionInfo", "shortdescription"), "Test action");
    EXPECT_FALSE(host.busy());
}

TEST_F(PluginHostTest, WhatAPluginStartedEndsWithIt) {
    mode("forkhang");
    host.setTimeoutMs(500);
    EXPECT_EQ(host.methodCall("HalvikaTest*Act", "Execute", host.lang(), false), "");
    const pid_t helper = static_cast<pid_t>(std::stol(home.read("PlugIns/HalvikaTest.helper")));
    // Ended with the plug-in's process group: no longer running (at most a zombie until it is collected).
    const auto running = [helper] {
        std::ifstream stat("/proc/" + std::to_string(helper) + "/stat");
        std::string pid, command, state;
        return static_cast<bool>(stat >> pid >> command >> state) && state != "Z" && state != "X";
    };
    bool gone = false;
    for (int i = 0; i < 200 && !gone; ++i) {
        gone = !running();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(gone);
}

TEST_F(PluginHostTest, RunningPluginsAreKeptPolledAndEnded) {
    mode("keeprunning");
    const auto start = std::chrono::steady_clock::now();
    const std::string reply = host.methodCall("HalvikaTest*GPP", "Run", host.lang(), true);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)); // not waited for
    EXPECT_EQ(XMLNode::createFromXML(reply)->getNumberOfNodesWithName("success"), 1);
    EXPECT_EQ(host.runningPlugins(), std::vector<std::string>{"HalvikaTest*GPP"});

    const auto check = [this] {
        host.checkRunningPlugins();
        // Asked in the background: the watch that asks goes on at once.
        EXPECT_TRUE(host.callsInFlight());
        while (host.pollCalls()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    check(); // still active (each answer comes from a fresh, running program)
    EXPECT_EQ(host.runningPlugins().size(), 1u);
    // One that does not answer is not asked again meanwhile, and is dropped when its time is up.
    mode("hang");
    host.setTimeoutMs(2000);
    host.checkRunningPlugins();
    host.checkRunningPlugins();
    EXPECT_EQ(host.runningPlugins().size(), 1u);
    while (host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(host.runningPlugins().empty());
    const std::string asked = log();
    int statusCalls = 0;
    for (std::size_t at = asked.find("GetStatus"); at != std::string::npos; at = asked.find("GetStatus", at + 1)) {
        ++statusCalls;
    }
    EXPECT_EQ(statusCalls, 2); // the first check's, and one to the hanging plug-in

    mode("keeprunning");
    host.methodCall("HalvikaTest*GPP", "Run", host.lang(), true);
    mode("inactive");
    check();
    EXPECT_TRUE(host.runningPlugins().empty());

    mode("keeprunning");
    host.methodCall("HalvikaTest*GPP", "Run", host.lang(), true);
    host.methodCall("HalvikaTest*GPP", "Run", host.lang(), false); // goes on too, ended at exit as well
    host.releaseRunningPlugins();
    EXPECT_TRUE(host.runningPlugins().empty());

    // An action that ended with its reply is not running: it is never asked again.
    mode("normal");
    host.methodCall("HalvikaTest*Act", "Execute", host.lang(), true);
    EXPECT_TRUE(host.runningPlugins().empty());
    const std::string before = log();
    host.checkRunningPlugins();
    EXPECT_FALSE(host.callsInFlight());
    EXPECT_EQ(log(), before);
}

TEST_F(PluginHostTest, ActivePluginsAreStoredAndStartedAgain) {
    host.loadPlugins();
    const XMLNodePtr acpl = host.getActivePlugins();
    EXPECT_EQ(acpl->toString(), "<acpl><plin>HalvikaTest*GPP</plin></acpl>");

    test::ScriptedDialogs dialogs;
    MessageBoxRoutine messages(dialogs);
    host.setActivePlugins(*acpl, messages);
    EXPECT_TRUE(dialogs.shown().empty());
    acpl->addString("plin", "HalvikaUninstalled*GPP");
    host.setActivePlugins(*acpl, messages);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, PluginHost::startFailedMessage);
    EXPECT_TRUE(host.runningPlugins().empty()); // started, but not among the running plug-ins
}

TEST_F(PluginHostTest, FileFilters) {
    EXPECT_EQ(host.buildFileFilter("Alarm groups (*.agx;#1)|*.agx;#1", true), "Alarm groups (*.agx;)|*.agx;");
    host.loadPlugins();
    EXPECT_EQ(host.buildFileFilter("Alarm groups (*.agx#1)|*.agx#1", true),
              "Alarm groups (*.agx;*.tst)|*.agx;*.tst|Test files (*.tst)|*.tst");
    EXPECT_EQ(host.importFormats().size(), 1u);
    EXPECT_EQ(host.exportFormats()[0].extensions, "*.tst");
}

XMLNodePtr editToTheEnd(PluginHost& host, const std::string& id, const XMLNode& settings) {
    auto edit = host.startEditSettings(id, settings, "sett");
    while (!edit->poll()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return edit->result();
}

TEST_F(PluginHostTest, SettingsAreEditedInThePluginsOwnWindowWhileTheProgramGoesOn) {
    const auto edited = editToTheEnd(host, "HalvikaTest*Act", *XMLNode::createFromXML("<sett><s>x</s></sett>"));
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->toString(), "<sett><s>x</s><edited>yes</edited></sett>");
    mode("cancel");
    EXPECT_FALSE(editToTheEnd(host, "HalvikaTest*Act", *XMLNode::Create("sett")));
    EXPECT_FALSE(editToTheEnd(host, "HalvikaMissing*Act", *XMLNode::Create("sett")));

    // A window left open is not waited for: the call returns, polls say "not yet", and closing the
    // dialog ends the plug-in.
    mode("hang");
    auto open = host.startEditSettings("HalvikaTest*Act", *XMLNode::Create("sett"), "sett");
    EXPECT_FALSE(host.busy());
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(open->poll());
    }
    open.reset();
}

TEST_F(PluginHostTest, UnregisteredPluginsAreNotRun) {
    EXPECT_EQ(host.setRegistered(false), 1);
    host.loadPlugins();
    EXPECT_TRUE(host.plugins(PluginHost::Action).empty());
    EXPECT_EQ(host.setRegistered(true), 1);
    host.loadPlugins();
    EXPECT_EQ(host.plugins(PluginHost::Action).size(), 1u);
}

TEST_F(PluginHostTest, SafeModeStartsNoPluginProgram) {
    PluginHost safe(process, {home.file("PlugIns")}, true);
    safe.loadPlugins();
    EXPECT_TRUE(safe.plugins(PluginHost::Action).empty());
    EXPECT_EQ(safe.methodCall("HalvikaTest*Act", "Execute", safe.lang(), false), "");
    EXPECT_FALSE(fs::exists(home.file("PlugIns/HalvikaTest.log")));
}

TEST_F(PluginHostTest, GroupsComeAndGoThroughRealPlugins) {
    host.loadPlugins();
    AppPaths paths(home.path(), {HALVIKA_SOURCE_DIR "/data"});
    modIniFileHandling ini;
    modTranslation texts(paths, ini);
    ColourScheme colours(paths, ini);
    test::ScriptedDialogs dialogs;
    MessageBoxRoutine messages(dialogs);
    GroupServices services(texts, colours, messages);
    services.plugins = &host;
    services.alarmGroupFolder = home.path();

    auto imported = AlarmGroup::createAlarmGroupFromImportedFile(home.file("holidays.tst"), services);
    ASSERT_TRUE(imported);
    EXPECT_EQ(imported->name, "Imported from " + home.file("holidays.tst"));
    EXPECT_EQ(imported->numberOfAlarms(), 1);

    ASSERT_TRUE(imported->save(home.file("out.tst"), true, services));
    EXPECT_EQ(XMLNode::createFromFile(home.file("out.tst"))->name, "algr");

    imported->synchPlugin = "HalvikaTest*Sync";
    ASSERT_TRUE(imported->synchronize(services));
    EXPECT_EQ(imported->name, "Synchronised");

    // Paths reach the plug-in as they are, whatever characters they hold, and never another file.
    const std::string odd = home.file("Tom & Jerry <\"1\"> 'a'.tst");
    home.write("Tom & Jerry <\"1\"> 'a'.tst", "");
    auto oddImport = AlarmGroup::createAlarmGroupFromImportedFile(odd, services);
    ASSERT_TRUE(oddImport);
    EXPECT_EQ(oddImport->name, "Imported from " + odd);
    ASSERT_TRUE(oddImport->save(home.file("a<b>&.tst"), true, services));
    EXPECT_EQ(XMLNode::createFromFile(home.file("a<b>&.tst"))->name, "algr");
    EXPECT_FALSE(fs::exists(home.file("a")));
    // A control character has no XML form: such a path is refused rather than changed.
    EXPECT_FALSE(oddImport->save(home.file("bell\x07.tst"), true, services));
    EXPECT_FALSE(fs::exists(home.file("bell.tst")));
    EXPECT_FALSE(fs::exists(home.file("bell\x07.tst")));
}

} // namespace
} // namespace halvika
