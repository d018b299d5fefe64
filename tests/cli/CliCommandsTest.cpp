// halvika-cli: next moments of a group file, expression evaluation, and its errors.
#include "CliCommands.h"
#include "fakes/TempHome.h"
#include "xml/XMLNode.h"

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
