// The notification plug-in, called through the plug-in host as an alarm action would call it, against a
// mocked notification service on a private bus: what arrived is read from the mock's log.
#include "fakes/TempHome.h"
#include "platform/DesktopNotification.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "qt/QtTestApp.h"
#include "services/ServiceDaemons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace halvika {
namespace {

/// Whether a service has its name on the session bus, asked with dbus-send.
bool registered(const std::string& service) {
    const std::string command = "dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "
                                "org.freedesktop.DBus.NameHasOwner string:" +
                                service;
    const std::string output = test::commandOutput(command);
    return output.find("boolean true") != std::string::npos;
}

bool logHasNotify(const std::string& path) {
    return test::readText(path).find("Notify") != std::string::npos;
}

class NotifyPluginServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<test::TempHome>();
        bus = test::startPrivateBus(home->path());
        ASSERT_TRUE(bus);
        startNotifications("{}", log());
    }
    /// The mocked service with its parameters (JSON), writing what it is asked into `logFile`.
    static void startNotifications(const std::string& parameters, const std::string& logFile) {
        notifications.reset();
        notifications = std::make_unique<test::Daemon>(
            std::vector<std::string>{"/usr/bin/python3", "-m", "dbusmock", "--session", "-t", "notification_daemon",
                                     "-p", parameters, "-l", logFile});
        ASSERT_TRUE(test::waitUntil(20, registered, "org.freedesktop.Notifications"));
    }
    static void TearDownTestSuite() {
        notifications.reset();
        bus.reset();
        home.reset();
    }
    static std::string log() { return home->file("notifications.log"); }

    /// Runs the action for an alarm; the reply's text.
    std::string execute(const std::string& settings, const std::string& alarm) {
        return host.methodCall("HalvikaNotify*Notify", "Execute", host.lang() + settings + alarm, false);
    }

    static std::unique_ptr<test::TempHome> home;
    static std::unique_ptr<test::Daemon> bus;
    static std::unique_ptr<test::Daemon> notifications;
    PosixPluginProcess process;
    PluginHost host{process, {HALVIKA_PLUGIN_FOLDER}, false};
};

std::unique_ptr<test::TempHome> NotifyPluginServiceTest::home;
std::unique_ptr<test::Daemon> NotifyPluginServiceTest::bus;
std::unique_ptr<test::Daemon> NotifyPluginServiceTest::notifications;

TEST_F(NotifyPluginServiceTest, TheAlarmArrivesAsANotificationWithItsTextAndUrgency) {
    host.loadPlugins();
    ASSERT_EQ(host.plugins(PluginHost::Action), std::vector<std::string>{"HalvikaNotify*Notify"});
    EXPECT_EQ(host.actionDescriptions(), std::vector<std::string>{"Desktop notification"});
    host.setLanguageTag("de-de"); // in Halvika's language
    host.loadPlugins();
    EXPECT_EQ(host.actionDescriptions(), std::vector<std::string>{"Desktop-Benachrichtigung"});
    EXPECT_EQ(host.pluginName("HalvikaNotify*Notify"), "Desktop-Benachrichtigung");
    host.setLanguageTag("en-us");

    // No text of its own: the alarm's first message, at normal urgency.
    const std::string reply = execute(
        "<sett></sett>", "<alrm><name>Tea</name><impr>0</impr><acti><acid>5</acid><sett><s>x.wav</s></sett></acti>"
                         "<acti><acid>1</acid><sett><s>The tea is ready</s></sett></acti></alrm>");
    EXPECT_NE(reply.find("<success"), std::string::npos) << reply;
    ASSERT_TRUE(test::waitUntil(10, logHasNotify, log()));
    std::string calls = test::readText(log());
    EXPECT_NE(calls.find("Notify \"Halvika\" 0 \"halvika\" \"Tea\" \"The tea is ready\""), std::string::npos) << calls;
    EXPECT_NE(calls.find("\"urgency\": 1} -1"), std::string::npos) << calls;

    // Its own text, and a very important alarm: critical, kept until closed.
    execute("<sett><body>Leave now &amp; take the umbrella</body></sett>",
            "<alrm><name>Train</name><impr>2</impr></alrm>");
    calls = test::readText(log());
    // This server takes markup in bodies, so the "&" goes escaped.
    EXPECT_NE(calls.find("\"Train\" \"Leave now &amp; take the umbrella\""), std::string::npos) << calls;
    EXPECT_NE(calls.find("\"urgency\": 2} 0"), std::string::npos) << calls; // never expires

    // One that shows bodies as they are gets the text as typed.
    startNotifications("{\"capabilities\": \"body\"}", log() + ".plain");
    execute("<sett><body>Tom &amp; Jerry &lt;3</body></sett>", "<alrm><name>Cartoon</name></alrm>");
    ASSERT_TRUE(test::waitUntil(10, logHasNotify, log() + ".plain"));
    calls = test::readText(log() + ".plain");
    EXPECT_NE(calls.find("\"Cartoon\" \"Tom & Jerry <3\""), std::string::npos) << calls;
    startNotifications("{}", log());
}

bool logHasMissed(const std::string& path) {
    QCoreApplication::processEvents();
    return test::readText(path).find("missed while away") != std::string::npos;
}

TEST_F(NotifyPluginServiceTest, TheProgramsOwnNotificationArrivesWithoutWaitingForTheServer) {
    test::ensureQtApp();
    // This suite's own bus: Qt keeps the first session bus of the process, which an earlier suite's was.
    const QDBusConnection bus =
        QDBusConnection::connectToBus(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"), "notifications-of-this-suite");
    DesktopNotification::show("Missed while away", "2 alarms were missed while away.", bus);
    ASSERT_TRUE(test::waitUntil(10, logHasMissed, log()));
    EXPECT_NE(test::readText(log()).find("Notify \"Halvika\" 0 \"halvika\" \"Missed while away\" \"2 alarms were "
                                         "missed while away.\""),
              std::string::npos)
        << test::readText(log());
}

TEST_F(NotifyPluginServiceTest, WithoutTheServiceTheActionReportsWhy) {
    notifications.reset();
    const std::string reply = execute("<sett></sett>", "<alrm><name>Tea</name></alrm>");
    EXPECT_EQ(reply.find("<success"), std::string::npos);
    EXPECT_NE(reply.find("The notification could not be shown"), std::string::npos) << reply;
}

} // namespace
} // namespace halvika
