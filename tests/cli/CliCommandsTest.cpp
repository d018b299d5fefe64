// halvika-cli: next moments of a group file, expression evaluation, and its errors.
#include "CliCommands.h"
#include "RemoteClient.h"
#include "fakes/TempHome.h"
#include "xml/XMLNode.h"

#include "platform/posix/PosixClock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

namespace halvika {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = CliCommands::run(args, out, err);
    return {status, out.str(), err.str()};
}

const char* kGroup = "<algr><name>Test</name><stat>-1</stat>"
                     "<alrm><name>Daily</name><datk>1</datk><perl>1</perl><peru>3</peru>"
                     "<nexd>2020/01/01 07:00:00</nexd><adda>-5</adda><addu>1</addu></alrm>"
                     "<tmpl><name>template is not an alarm</name></tmpl>"
                     "<alrm><name>Once</name><datk>0</datk><oncd>2026/03/07 09:00:00</oncd></alrm>"
                     "<alrm><name>Broken</name><datk>1</datk><perl>0</perl></alrm>"
                     "<alrm><name>Never</name></alrm></algr>";

TEST(CliCommands, NextMomentsOfEveryAlarmInFileOrder) {
    test::TempHome home;
    home.write("g.agx", kGroup);
    const Result r = run({"next", home.file("g.agx"), "--after", "2026/03/07 07:00:00", "--count", "2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Daily\t2026/03/08 06:55:00\n"
                     "Daily\t2026/03/09 06:55:00\n"
                     "Once\t2026/03/07 09:00:00\n"
                     "Once\tnone\n"
                     "Broken\terror: division by zero: the alarm's period is 0\n"
                     "Never\tnone\n");

    const Result calendar = run({"next", home.file("g.agx"), "--after", "2026/03/07 07:00:00", "--calendar"});
    EXPECT_EQ(calendar.out.substr(0, 26), "Daily\t2026/03/08 07:00:00\n");

    // The ISO form and a moment without seconds mean the same.
    for (const char* same : {"2026-03-07 07:00", "2026-03-07T07:00:00", "2026/03/07 07:00"}) {
        EXPECT_EQ(run({"next", home.file("g.agx"), "--after", same, "--count", "2"}).out, r.out) << same;
    }
    for (const char* impossible : {"2026-02-30 07:00", "2026/03/07 25:61", "2026-03-07 07:00 tomorrow"}) {
        EXPECT_EQ(run({"next", home.file("g.agx"), "--after", impossible}).status, 2) << impossible;
    }

    // A daily noon alarm corrected by a month: the clamped 28 February is skipped, never "none".
    home.write("m.agx", "<algr><name>G</name><alrm><name>Noon</name><datk>1</datk><perl>1</perl><peru>3</peru>"
                        "<nexd>2026/01/01 12:00:00</nexd><adda>1</adda><addu>4</addu></alrm></algr>");
    EXPECT_EQ(run({"next", home.file("m.agx"), "--after", "2026/03/29 10:00:00", "--count", "2"}).out,
              "Noon\t2026/04/01 12:00:00\nNoon\t2026/04/02 12:00:00\n");
}

TEST(CliCommands, VersionAndHelp) {
    const Result version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("halvika-cli ", 0), 0u);
    const Result help = run({"--help"});
    EXPECT_NE(help.out.find("iCalendar files (.ics"), std::string::npos);
    EXPECT_NE(help.out.find("yyyy-mm-dd hh:nn:ss"), std::string::npos);
}

TEST(CliCommands, Eval) {
    EXPECT_EQ(run({"eval", "WEEKDAY==MONDAY&&DAYOFMONTH<=7", "2026/03/02 00:00:00"}).out, "True\n");
    EXPECT_EQ(run({"eval", "weekday == saturday", "2026/03/02 00:00:00"}).out, "False\n");
    const Result bad = run({"eval", "MONTH", "2026/03/02 00:00:00"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out.rfind("error: ", 0), 0u);
}

TEST(CliCommands, ClearErrorsForBadInput) {
    test::TempHome home;
    home.write("g.agx", kGroup);
    home.write("settings.xml", "<settings></settings>");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"bogus"},
        {"next", home.file("g.agx")},
        {"next", home.file("g.agx"), "--after", "tomorrow"},
        {"next", home.file("g.agx"), "--after", "2026/03/07 07:00:00", "--count", "0"},
        {"next", home.file("g.agx"), "--after", "2026/03/07 07:00:00", "--count", "1.5"},
        {"next", home.file("g.agx"), "--after"},
        {"next", home.file("missing.agx"), "--after", "2026/03/07 07:00:00"},
        {"next", home.file("settings.xml"), "--after", "2026/03/07 07:00:00"},
        {"eval", "TRUE"},
        {"eval", "TRUE", "2026/13"},
    };
    for (const auto& args : bad) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(r.err.empty());
    }
    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("halvika-cli next"), std::string::npos);
}

TEST(CliCommands, TheInstalledProgramBehavesTheSame) {
    test::TempHome home;
    home.write("g.agx", kGroup);
    const std::string command = std::string(HALVIKA_CLI_BINARY) + " next '" + home.file("g.agx") +
                                "' --after '2026/03/07 07:00:00' 2>&1; echo \"status $?\"";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    ::pclose(pipe);
    EXPECT_EQ(output.substr(0, 26), "Daily\t2026/03/08 06:55:00\n");
    EXPECT_NE(output.find("status 0"), std::string::npos);
}

} // namespace
} // namespace halvika

namespace halvika {
namespace {

TEST(CliCommands, ImportIntoAFolderAndExportItAsACollection) {
    test::TempHome source;
    test::TempHome folder;
    source.write("work.agx", "<algr><name>Work</name><alrm><name>Stand-up</name></alrm></algr>");
    source.write("set.agc", "<alarmgroupcollection><algr><name>A</name></algr><algr><name>B</name></algr>"
                            "</alarmgroupcollection>");
    folder.write("usg_0.agx", "<algr><name>Existing</name></algr>");
    const Result imported = run({"import", source.file("work.agx"), source.file("set.agc"), "--to", folder.path()});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "Work\t" + folder.file("usg_1.agx") + "\nA\t" + folder.file("usg_2.agx") + "\nB\t" +
                                folder.file("usg_3.agx") + "\n");
    EXPECT_EQ(XMLNode::createFromFile(folder.file("usg_1.agx"))->getNode("alrm")->getString("name"), "Stand-up");

    const Result exported = run({"export", "--from", folder.path(), "--to", source.file("all.agc")});
    EXPECT_EQ(exported.status, 0) << exported.err;
    const auto collection = XMLNode::createFromFile(source.file("all.agc"));
    ASSERT_EQ(collection->getNumberOfNodes(), 4);
    EXPECT_EQ(collection->getNodeAt(0)->getString("name"), "Existing");
    EXPECT_EQ(collection->getNodeAt(3)->getString("name"), "B");

    EXPECT_EQ(run({"import", source.file("missing.agx"), "--to", folder.path()}).status, 2);
    EXPECT_EQ(run({"import", source.file("work.agx"), "--to", folder.file("nope")}).status, 2);
    EXPECT_EQ(run({"import", source.file("work.agx")}).status, 2);
    EXPECT_EQ(run({"export", "--from", folder.file("nope"), "--to", source.file("x.agc")}).status, 2);
    EXPECT_EQ(run({"export", "--from", folder.path(), "--to", source.file("no/such/x.agc")}).status, 2);
    source.write("notes.txt", "plain text");
    const Result foreign = run({"import", source.file("notes.txt"), "--to", folder.path()});
    EXPECT_EQ(foreign.status, 2);
    EXPECT_FALSE(foreign.err.empty());
}

} // namespace
} // namespace halvika

namespace halvika {
namespace {

/// A running Halvika that answers from fixed lists, or is not running at all.
class ScriptedRemote : public RemoteClient {
public:
    bool reachable() override { return running; }
    std::vector<Entry> upcoming(int limit) override {
        asked.push_back("upcoming " + std::to_string(limit));
        return entries;
    }
    Status status() override { return state; }
    std::string addAlarm(const std::string& name, const std::string& moment, const std::string& message,
                         const std::string& group) override {
        asked.push_back("add " + name + "|" + moment + "|" + message + "|" + group);
        return addProblem;
    }
    void setBlocked(bool blocked) override { asked.push_back(blocked ? "block" : "unblock"); }
    void stopSounds() override { asked.push_back("stop"); }
    std::string error() const override { return running ? "" : "org.halvika.Halvika is not on the session bus"; }

    bool running = true;
    std::vector<Entry> entries;
    Status state;
    std::string addProblem;
    std::vector<std::string> asked;
};

Result runWith(ScriptedRemote& remote, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = CliCommands::run(args, out, err, &remote);
    return {status, out.str(), err.str()};
}

TEST(CliRemoteCommands, ListAndStatusShowWhatTheRunningHalvikaSays) {
    ScriptedRemote remote;
    remote.entries = {{"2026/12/24 18:00:00", "Candles \"big\"\tand\\small", "Home"},
                      {"2026/12/25 08:00:00", "Gifts", "Home"}};
    EXPECT_EQ(runWith(remote, {"list"}).out,
              "2026/12/24 18:00:00\tCandles \"big\"\tand\\small\tHome\n2026/12/25 08:00:00\tGifts\tHome\n");
    EXPECT_EQ(runWith(remote, {"list", "--json", "--count", "2"}).out,
              "[\n {\"moment\": \"2026/12/24 18:00:00\", \"name\": \"Candles \\\"big\\\"\\tand\\\\small\", \"group\": "
              "\"Home\"},\n {\"moment\": \"2026/12/25 08:00:00\", \"name\": \"Gifts\", \"group\": \"Home\"}\n]\n");
    EXPECT_EQ(remote.asked, (std::vector<std::string>{"upcoming 50", "upcoming 2"}));
    remote.entries.clear();
    EXPECT_EQ(runWith(remote, {"list", "--json"}).out, "[]\n");
    EXPECT_EQ(runWith(remote, {"list", "--count", "0"}).status, CliCommands::exitUsage);

    remote.state = {"2026/12/24 18:00:00", {"Candles", "Tree"}, true, 2, 7};
    EXPECT_EQ(runWith(remote, {"status"}).out,
              "next alarm: 2026/12/24 18:00:00 (Candles, Tree)\nblocked: yes\ngroups: 2\nalarms: 7\n");
    remote.state = {};
    EXPECT_EQ(runWith(remote, {"status"}).out.substr(0, 17), "next alarm: none\n");
}

TEST(CliRemoteCommands, AddBlockAndStopAreCheckedFirstAndSaySoWhenHalvikaIsNotRunning) {
    ScriptedRemote remote;
    EXPECT_EQ(runWith(remote, {"add", "--message", "x"}).status, CliCommands::exitUsage);
    const Result badMoment = runWith(remote, {"add", "--at", "tomorrow", "--message", "x"});
    EXPECT_EQ(badMoment.status, CliCommands::exitUsage);
    EXPECT_NE(badMoment.err.find("not a moment"), std::string::npos);
    EXPECT_TRUE(remote.asked.empty()); // nothing was sent

    const Result added = runWith(
        remote, {"add", "--at", "2026-12-24 18:00", "--message", "Light them", "--group", "Home", "--name", "Candles"});
    EXPECT_EQ(added.status, CliCommands::exitOk);
    EXPECT_EQ(added.out, "added: Candles at 2026/12/24 18:00:00\n");
    remote.addProblem = "the moment 2026/12/24 18:00:00 has passed";
    const Result refused = runWith(remote, {"add", "--at", "2026/12/24 18:00:00", "--message", "Late"});
    EXPECT_EQ(refused.status, CliCommands::exitUsage);
    EXPECT_EQ(refused.err, "halvika-cli: the moment 2026/12/24 18:00:00 has passed\n");
    runWith(remote, {"block"});
    runWith(remote, {"unblock"});
    runWith(remote, {"stop-sounds"});
    EXPECT_EQ(remote.asked, (std::vector<std::string>{"add Candles|2026/12/24 18:00:00|Light them|Home",
                                                      "add |2026/12/24 18:00:00|Late|", "block", "unblock", "stop"}));

    // "--in" counts from now: the moment sent lies that far ahead (within the seconds this test takes).
    remote.addProblem.clear();
    remote.asked.clear();
    const Date before = PosixClock().now().date;
    const Result soon = runWith(remote, {"add", "--in", "25m", "--message", "Tea"});
    EXPECT_EQ(soon.status, CliCommands::exitOk) << soon.err;
    ASSERT_EQ(remote.asked.size(), 1u);
    const auto sent = Date::fromFileString(remote.asked[0].substr(5, 19));
    ASSERT_TRUE(sent.has_value());
    EXPECT_GE(sent->serialSeconds() - before.serialSeconds(), 25 * 60);
    EXPECT_LE(sent->serialSeconds() - before.serialSeconds(), 25 * 60 + 5);
    for (const char* bad : {"25x", "0m", "m", "400d", "-5m"}) {
        EXPECT_EQ(runWith(remote, {"add", "--in", bad, "--message", "x"}).status, CliCommands::exitUsage) << bad;
    }
    EXPECT_EQ(runWith(remote, {"add", "--in", "5", "--at", "2026/12/24 18:00:00", "--message", "x"}).status,
              CliCommands::exitUsage); // one or the other
    EXPECT_EQ(remote.asked.size(), 1u);

    remote.running = false;
    const Result down = runWith(remote, {"block"});
    EXPECT_EQ(down.status, CliCommands::exitNotRunning);
    EXPECT_EQ(down.err, "halvika-cli: Halvika is not running (org.halvika.Halvika is not on the session bus). "
                        "Start it with: halvika\n");
    EXPECT_EQ(run({"status"}).status, CliCommands::exitNotRunning); // a build without D-Bus says so too
}

} // namespace
} // namespace halvika
