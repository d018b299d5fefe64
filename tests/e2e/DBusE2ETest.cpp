// Scripting a running halvika on a private session bus: halvika-cli and plain dbus-send against the real
// program, from adding an alarm to seeing it in the group file and sounding, to quitting.
#include "e2e/HalvikaProcess.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <thread>

namespace halvika::test {
namespace {

using namespace std::chrono_literals;

struct Output {
    int status;
    std::string text;
};

Output run(const std::string& command) {
    Output out{};
    out.text = commandOutput(command, &out.status, true);
    return out;
}

std::string cli(const std::string& arguments) {
    return std::string(HALVIKA_CLI_BINARY) + " " + arguments;
}

std::string call(const std::string& method, const std::string& arguments = "") {
    return "dbus-send --session --print-reply --dest=org.halvika.Halvika /org/halvika/Halvika org.halvika.Halvika1." +
           method + " " + arguments;
}

bool serviceUp(const std::string&) {
    return run(cli("status")).status == 0;
}

bool listedAsRecent(const std::string& name) {
    return run(call("ListRecent")).text.find(name) != std::string::npos;
}

class DBusE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        bus = startPrivateBus(busHome.path());
        ASSERT_TRUE(bus);
    }
    void TearDown() override { bus.reset(); }

    TempHome busHome;
    std::unique_ptr<Daemon> bus;
};

TEST_F(DBusE2ETest, ScriptsAddAnAlarmThatIsSavedAndSoundsThenBlockAndQuit) {
    // Without a running Halvika the commands say so; the offline ones still work.
    const Output none = run(cli("status"));
    EXPECT_EQ(none.status, 3);
    EXPECT_NE(none.text.find("Halvika is not running"), std::string::npos) << none.text;

    TempHome home;
    home.write("usg_0.agx", "<algr><name>Home</name><stat>-1</stat></algr>");
    Process halvika(home.path());
    ASSERT_TRUE(waitUntil(30, serviceUp, ""));
    const Output introspected = run("dbus-send --session --print-reply --dest=org.halvika.Halvika /org/halvika/Halvika "
                                    "org.freedesktop.DBus.Introspectable.Introspect");
    EXPECT_NE(introspected.text.find("<interface name=\"org.halvika.Halvika1\">"), std::string::npos);
    EXPECT_NE(introspected.text.find("<method name=\"AddAlarm\">"), std::string::npos);

    const std::string at = fileMoment(std::time(nullptr) + 4);
    const Output added = run(cli("add --at \"" + at + "\" --message \"Stretch your legs\" --name Stretch"));
    ASSERT_EQ(added.status, 0) << added.text;
    const Output bad = run(cli("add --at \"" + at + "\" --message x --group Garden"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.text.find("no alarm group named \"Garden\""), std::string::npos) << bad.text;
    // Refused input is a D-Bus error saying why, for any client.
    const Output impossible = run(call("AddAlarm", "string:x string:'2030/02/30 10:00:00' string:m string:''"));
    EXPECT_NE(impossible.status, 0);
    EXPECT_NE(impossible.text.find("org.freedesktop.DBus.Error.InvalidArgs"), std::string::npos) << impossible.text;
    const Output empty = run(cli("add --at \"" + at + "\" --message '   '"));
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.text.find("an alarm needs a name or a message"), std::string::npos) << empty.text;

    const Output listed = run(cli("list"));
    EXPECT_EQ(listed.text, at + "\tStretch\tHome\n");
    const Output json = run(cli("list --json"));
    EXPECT_NE(json.text.find("{\"moment\": \"" + at + "\", \"name\": \"Stretch\", \"group\": \"Home\"}"),
              std::string::npos)
        << json.text;
    EXPECT_NE(run(cli("status")).text.find("next alarm: " + at + " (Stretch)"), std::string::npos);

    // The tick saves the group, and the alarm sounds in its second and joins the recent ones.
    const auto saved = [&home](const std::string&) {
        return home.read("usg_0.agx").find("Stretch") != std::string::npos;
    };
    for (int i = 0; i < 100 && !saved(""); ++i) {
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(saved(""));
    EXPECT_NE(home.read("usg_0.agx").find("Stretch your legs"), std::string::npos);
    EXPECT_TRUE(waitUntil(20, listedAsRecent, "Stretch"));
    EXPECT_EQ(run(call("StopSounds")).status, 0);
    EXPECT_EQ(run(call("Snooze", "int32:5 string:minutes")).text.find("is not a unit"), std::string::npos);

    ASSERT_EQ(run(cli("block")).status, 0);
    EXPECT_NE(run(cli("status")).text.find("blocked: yes"), std::string::npos);
    ASSERT_EQ(run(cli("unblock")).status, 0);
    EXPECT_NE(run(cli("status")).text.find("blocked: no"), std::string::npos);

    // A second start asks the running one to show itself and ends.
    Process second(home.path(), "--show");
    EXPECT_EQ(second.waitForExit(30s), 0);
    EXPECT_TRUE(halvika.running());

    // Quit goes through the exit routine: the state file says it ended properly.
    EXPECT_EQ(run(call("Quit")).status, 0);
    EXPECT_EQ(halvika.waitForExit(30s), 0);
    EXPECT_EQ(home.read("state"), "1");
}

} // namespace
} // namespace halvika::test
