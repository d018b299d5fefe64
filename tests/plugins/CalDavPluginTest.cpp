// The CalDAV synchronisation against real servers on the loopback address: two computers' copies of one
// group kept the same through one calendar, conflicts kept as copies, failures that leave everything as
// it was, a third-party client's event, and the plug-in program itself through its envelope.
#include "CalDavSync.h"
#include "CredentialStore.h"
#include "DavClient.h"
#include "caldav/CalDavServers.h"
#include "caldav/SyncedComputer.h"
#include "fakes/TempHome.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "services/ServiceDaemons.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace halvika {
namespace {

using test::CalDavServer;

using test::alarm;
using test::qtApp;

class CalDavPluginTest : public ::testing::TestWithParam<CalDavServer::Kind> {
protected:
    void SetUp() override {
        qtApp();
        server = std::make_unique<CalDavServer>(GetParam());
        ASSERT_TRUE(server->up());
        std::string problem;
        calendar = server->newCalendar("Alarms", problem);
        ASSERT_FALSE(calendar.empty()) << problem;
    }

    test::SyncedComputer computer(const std::string& alarms) const { return {calendar, alarms}; }
    static CalDavSync::Outcome
    sync(test::SyncedComputer& c, const std::string& password = CalDavServer::password,
         std::chrono::steady_clock::time_point stopUploading = std::chrono::steady_clock::time_point::max()) {
        return c.sync(password, stopUploading);
    }

    std::unique_ptr<CalDavServer> server;
    std::string calendar;
};

TEST_P(CalDavPluginTest, TwoComputersKeepOneCalendarInBothDirections) {
    test::SyncedComputer laptop =
        computer(alarm("Pills", "2030/01/01 08:00:00") + alarm("Bins", "2030/01/02 19:00:00"));
    test::SyncedComputer desktop = computer("");
    auto out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.uploaded, 2);
    out = sync(desktop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.downloaded, 2);
    EXPECT_EQ(desktop.names(), (std::vector<std::string>{"Bins", "Pills"}));
    EXPECT_EQ(desktop.alarmNamed("Pills")->getDate("oncd"), Date::fromParts(2030, 1, 1, 8, 0, 0));

    // Nothing changed: one round trip, nothing moves.
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.requests, 1);
    EXPECT_EQ(out.uploaded + out.downloaded + out.deletedHere + out.deletedThere, 0);

    // Renamed and moved on the desktop: the laptop's alarm follows, under the same UID.
    const std::string uid = laptop.alarmNamed("Pills")->getString("suid");
    ASSERT_FALSE(uid.empty());
    XMLNodePtr pills = desktop.alarmNamed("Pills");
    pills->setString("name", "Vitamins");
    pills->setString("oncd", "2030/01/01 08:30:00");
    ASSERT_TRUE(sync(desktop).group);
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(laptop.names(), (std::vector<std::string>{"Bins", "Vitamins"}));
    EXPECT_EQ(laptop.alarmNamed("Vitamins")->getString("suid"), uid);
    EXPECT_EQ(laptop.alarmNamed("Vitamins")->getDate("oncd"), Date::fromParts(2030, 1, 1, 8, 30, 0));

    // Deleted on the laptop, then on the desktop too; a new one on the desktop reaches the laptop.
    laptop.removeAlarm("Bins");
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.deletedThere, 1);
    desktop.group->addXMLString(alarm("Dentist", "2030/02/03 10:00:00"));
    out = sync(desktop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.deletedHere, 1);
    EXPECT_EQ(out.uploaded, 1);
    EXPECT_EQ(desktop.names(), (std::vector<std::string>{"Dentist", "Vitamins"}));
    ASSERT_TRUE(sync(laptop).group);
    EXPECT_EQ(laptop.names(), (std::vector<std::string>{"Dentist", "Vitamins"}));
}

TEST_P(CalDavPluginTest, ChangedOnBothSidesTheLaterWinsAndTheOtherIsKeptAsACopy) {
    test::SyncedComputer laptop = computer(alarm("Pills", "2030/01/01 08:00:00"));
    test::SyncedComputer desktop = computer("");
    ASSERT_TRUE(sync(laptop).group);
    ASSERT_TRUE(sync(desktop).group);
    // The desktop's change is the later one.
    laptop.alarmNamed("Pills")->setString("oncd", "2030/01/01 07:00:00");
    laptop.alarmNamed("Pills")->setString("smod", std::to_string(std::time(nullptr) - 600));
    desktop.alarmNamed("Pills")->setString("oncd", "2030/01/01 09:00:00");
    desktop.alarmNamed("Pills")->setString("smod", std::to_string(std::time(nullptr) - 60));
    ASSERT_TRUE(sync(desktop).group);
    const auto out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.conflicts, 1);
    EXPECT_EQ(laptop.names(), (std::vector<std::string>{"Pills", "Pills (conflict)"}));
    EXPECT_EQ(laptop.alarmNamed("Pills")->getDate("oncd"), Date::fromParts(2030, 1, 1, 9, 0, 0));
    EXPECT_EQ(laptop.alarmNamed("Pills (conflict)")->getDate("oncd"), Date::fromParts(2030, 1, 1, 7, 0, 0));
    // The copy is an alarm of its own from now on, on both computers.
    ASSERT_TRUE(sync(laptop).group);
    ASSERT_TRUE(sync(desktop).group);
    EXPECT_EQ(desktop.names(), (std::vector<std::string>{"Pills", "Pills (conflict)"}));
}

TEST_P(CalDavPluginTest, AWrongPasswordAServerThatIsGoneOrADeletedCalendarLeaveTheGroupAsItWas) {
    test::SyncedComputer laptop = computer(alarm("Pills", "2030/01/01 08:00:00"));
    const std::string before = laptop.group->toString();
    CalDavSync::Outcome out;
    if (GetParam() == CalDavServer::Kind::Radicale) { // Xandikos asks for no password
        out = sync(laptop, "wrong");
        EXPECT_FALSE(out.group);
        EXPECT_EQ(out.problem, "The calendar server did not accept the user name or password.");
        EXPECT_EQ(laptop.group->toString(), before);
    }

    ASSERT_TRUE(sync(laptop).group);
    laptop.alarmNamed("Pills")->setString("name", "Vitamins");
    const std::string changed = laptop.group->toString();
    server->stop();
    out = sync(laptop);
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem.rfind("The calendar server could not be reached", 0), 0u) << out.problem;
    EXPECT_EQ(laptop.group->toString(), changed);
    // Back again: the change goes up then.
    server->start();
    ASSERT_TRUE(server->up());
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.uploaded, 1);

    // The calendar deleted on the server (by another program): said so, and nothing here is lost.
    DavClient client(CalDavServer::user, CalDavServer::password, 8000);
    ASSERT_TRUE(client.send("DELETE", QUrl(QString::fromStdString(calendar))).ok());
    const std::string kept = laptop.group->toString();
    out = sync(laptop);
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem, "The calendar no longer exists on the server.");
    EXPECT_EQ(laptop.group->toString(), kept);
}

TEST_P(CalDavPluginTest, FiveHundredAlarmsGoUpWithinTheTimeAllowedAndTheRestNextTimeWithoutDuplicates) {
    if (GetParam() != CalDavServer::Kind::Radicale) {
        GTEST_SKIP() << "one server is enough for the large case; Xandikos stores each upload in git, slowly";
    }
    std::string alarms;
    for (int i = 0; i < 500; ++i) {
        alarms += alarm("A" + std::to_string(i),
                        "2030/03/01 08:" + std::string(i % 60 < 10 ? "0" : "") + std::to_string(i % 60) + ":00");
    }
    test::SyncedComputer laptop = computer(alarms);
    test::SyncedComputer desktop = computer("");
    // Time for a part only: the rest waits for the next round, and nothing goes up twice.
    auto out = sync(laptop, CalDavServer::password, std::chrono::steady_clock::now() + std::chrono::seconds(2));
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_GT(out.leftForNextTime, 0);
    EXPECT_EQ(out.uploaded + out.leftForNextTime, 500);
    const int first = out.uploaded;
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.uploaded, 500 - first);
    EXPECT_EQ(out.leftForNextTime, 0);
    out = sync(desktop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.downloaded, 500);
    EXPECT_EQ(out.requests, 2); // the listing and one multiget
    EXPECT_EQ(desktop.names().size(), 500u);
}

TEST_P(CalDavPluginTest, AnAnswerThatNeverArrivedUploadsNothingTwice) {
    test::SyncedComputer laptop =
        computer(alarm("Pills", "2030/01/01 08:00:00") + alarm("Pills", "2030/01/01 08:00:00"));
    test::SyncedComputer lost = laptop;
    lost.group = laptop.group->getCopy();
    // The first answer is lost (the host gave up on the call): the same alarms go up again.
    ASSERT_TRUE(sync(lost).group);
    auto out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.uploaded, 0);
    ASSERT_EQ(laptop.names(), (std::vector<std::string>{"Pills", "Pills"}));
    EXPECT_FALSE(laptop.group->getNode("alrm", 0)->getString("suid").empty());
    test::SyncedComputer desktop = computer("");
    ASSERT_TRUE(sync(desktop).group);
    EXPECT_EQ(desktop.names(), (std::vector<std::string>{"Pills", "Pills"})); // two alarms, not four
}

TEST_P(CalDavPluginTest, AnEventThatMakesSeveralAlarmsStaysOneResource) {
    // Every other Monday and Wednesday: one alarm per weekday here.
    DavClient client(CalDavServer::user, CalDavServer::password, 8000);
    const std::string event = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                              "UID:gym@elsewhere\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20300107T180000\r\n"
                              "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE\r\nSUMMARY:Gym\r\nEND:VEVENT\r\n"
                              "END:VCALENDAR\r\n";
    ASSERT_TRUE(client
                    .send("PUT", QUrl(QString::fromStdString(calendar + "gym.ics")), event,
                          {{"Content-Type", "text/calendar"}, {"If-None-Match", "*"}})
                    .ok());
    test::SyncedComputer laptop = computer("");
    auto out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    const auto alarms = laptop.names();
    ASSERT_GE(alarms.size(), 2u);
    ASSERT_TRUE(sync(laptop).group);
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.uploaded, 0);
    EXPECT_EQ(laptop.names(), alarms); // its alarms stay together and are not sent as resources of their own
    // A change to one of them stays here, and says so.
    laptop.group->getNode("alrm", 0)->setString("name", "Gym (mine)");
    out = sync(laptop);
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.uploaded, 0);
    ASSERT_EQ(out.notes.size(), 1u);
    EXPECT_EQ(laptop.names().size(), alarms.size());
}

INSTANTIATE_TEST_SUITE_P(Servers, CalDavPluginTest,
                         ::testing::Values(CalDavServer::Kind::Radicale, CalDavServer::Kind::Xandikos),
                         [](const auto& info) {
                             return info.param == CalDavServer::Kind::Radicale ? "Radicale" : "Xandikos";
                         });

/// Asks the real plug-in program, through the host, to synchronise an empty group with the calendar as
/// alice; the program finds the password where the settings window keeps it.
std::string synchronizeThroughProgram(const std::string& calendar) {
    PosixPluginProcess process;
    PluginHost host{process, {HALVIKA_PLUGIN_FOLDER}, false};
    host.loadPlugins();
    EXPECT_EQ(host.plugins(PluginHost::Synchronization), std::vector<std::string>{"HalvikaCalDAV*CalDAV"});
    return host.methodCall("HalvikaCalDAV*CalDAV", "Synchronize",
                           host.lang() + "<syst><url>" + calendar + "</url><user>alice</user></syst>" +
                               "<algr><name>Home</name><stat>-1</stat></algr>",
                           false);
}

/// The environment of one test, put back when it ends.
class ScopedEnvironment {
public:
    void set(const char* name, const std::string& value) {
        remember(name);
        ::setenv(name, value.c_str(), 1);
    }
    void unset(const char* name) {
        remember(name);
        ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : m_saved) {
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
        }
    }

private:
    void remember(const char* name) {
        const char* value = std::getenv(name);
        m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

/// The real plug-in program against a Radicale with a calendar of alice's.
class CalDavProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        qtApp();
        ASSERT_TRUE(server.up());
        std::string problem;
        calendar = server.newCalendar("Alarms", problem);
        ASSERT_FALSE(calendar.empty()) << problem;
    }

    CalDavServer server{CalDavServer::Kind::Radicale};
    std::string calendar;
};

TEST_F(CalDavProgramTest, AThirdPartyClientsEventBecomesAnAlarmThroughThePluginProgram) {
    // python3-caldav writes an event, as any calendar program would.
    std::ostringstream script;
    script << "import caldav, datetime\n"
           << "c = caldav.DAVClient(url='" << server.root() << "', username='alice', password='correct horse')\n"
           << "cal = caldav.Calendar(client=c, url='" << calendar << "')\n"
           << "cal.save_event(dtstart=datetime.datetime(2030, 5, 6, 7, 8), summary='Written elsewhere')\n";
    int status = -1;
    const std::string output = test::commandOutput("/usr/bin/python3 -c \"" + script.str() + "\"", &status, true);
    ASSERT_EQ(status, 0) << output;

    // No keyring runs: the password is in a file only the user can read, never in the settings.
    test::TempHome home;
    ScopedEnvironment environment;
    environment.unset("DBUS_SESSION_BUS_ADDRESS");
    environment.unset("XDG_RUNTIME_DIR");
    environment.set("XDG_CONFIG_HOME", home.file("config"));
    ::mkdir(home.file("config").c_str(), 0700);
    CredentialStore credentials(home.file("config") + "/halvika");
    EXPECT_FALSE(credentials.usesKeyring());
    EXPECT_NE(credentials.describe().find("caldav-passwords, readable only by you"), std::string::npos);
    ASSERT_TRUE(credentials.store(calendar, "alice", CalDavServer::password));
    struct stat st {};
    ASSERT_EQ(::stat((home.file("config") + "/halvika/caldav-passwords").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::string reply = synchronizeThroughProgram(calendar);
    const XMLNodePtr answer = XMLNode::createFromXML(reply);
    ASSERT_EQ(answer->getNumberOfNodesWithName("algr"), 1) << reply;
    const XMLNodePtr group = answer->getNode("algr");
    ASSERT_EQ(group->getNumberOfNodesWithName("alrm"), 1) << reply;
    EXPECT_EQ(group->getNode("alrm")->getString("name"), "Written elsewhere");
    EXPECT_EQ(group->getNode("alrm")->getDate("oncd"), Date::fromParts(2030, 5, 6, 7, 8, 0));
    EXPECT_EQ(reply.find(CalDavServer::password), std::string::npos);
    EXPECT_EQ(group->getNode("syst")->toString().find("correct"), std::string::npos);
}

TEST_F(CalDavProgramTest, WhereAKeyringRunsThePasswordIsKeptThereAndALockedOneIsSaidSo) {
    test::TempHome home;
    ScopedEnvironment environment;
    environment.set("HOME", home.path());
    environment.set("XDG_DATA_HOME", home.file("data"));
    environment.set("XDG_RUNTIME_DIR", home.file("run"));
    environment.set("XDG_CONFIG_HOME", home.file("config"));
    environment.unset("DBUS_SESSION_BUS_ADDRESS");
    ::mkdir(home.file("run").c_str(), 0700);
    // A password kept in the file before a keyring ran...
    {
        CredentialStore beforeKeyring(home.file("config") + "/halvika");
        EXPECT_FALSE(beforeKeyring.usesKeyring());
        ASSERT_TRUE(beforeKeyring.store(calendar, "alice", "an old password"));
    }

    // ...and then GNOME Keyring on a bus of the test's own, its login keyring made and unlocked with a password
    // of ours.
    home.write("unlock", "keyring password");
    const auto bus = test::startPrivateBus(home.path());
    ASSERT_TRUE(bus);
    test::Daemon keyring(
        {"sh", "-c", "exec gnome-keyring-daemon --unlock --components=secrets --foreground < " + home.file("unlock")},
        home.file("keyring.log"));
    const auto registered = [](const std::string& command) {
        return test::commandOutput(command).find("boolean true") != std::string::npos;
    };
    ASSERT_TRUE(test::waitUntil(10, registered,
                                "dbus-send --session --print-reply --dest=org.freedesktop.DBus / "
                                "org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets"))
        << test::readText(home.file("keyring.log"));

    // The old password is still found, and moves into the keyring at the next change.
    {
        CredentialStore credentials(home.file("config") + "/halvika");
        ASSERT_TRUE(credentials.usesKeyring());
        EXPECT_EQ(credentials.describe(), "in your desktop's keyring (the Secret Service)");
        EXPECT_EQ(credentials.password(calendar, "alice", false).password, "an old password");
        ASSERT_TRUE(credentials.store(calendar, "alice", CalDavServer::password));
        EXPECT_EQ(credentials.password(calendar, "alice", false).password, CalDavServer::password);
        EXPECT_EQ(credentials.password(calendar, "bob", false).password, std::nullopt);
    }
    EXPECT_EQ(home.read("config/halvika/caldav-passwords"), "");
    // It is really in the keyring: another program of the desktop finds it there.
    EXPECT_EQ(test::commandOutput("secret-tool lookup xdg:schema org.halvika.CalDAV url '" + calendar + "' user alice"),
              CalDavServer::password);

    // The plug-in program takes it from there and reaches the calendar.
    const std::string reply = synchronizeThroughProgram(calendar);
    EXPECT_EQ(XMLNode::createFromXML(reply)->getNumberOfNodesWithName("algr"), 1) << reply;
    EXPECT_EQ(reply.find(CalDavServer::password), std::string::npos);

    // Locked, it asks nobody during a synchronisation in the background and says why it cannot go on.
    int status = -1;
    test::commandOutput("dbus-send --session --print-reply --dest=org.freedesktop.secrets /org/freedesktop/secrets "
                        "org.freedesktop.Secret.Service.Lock array:objpath:/org/freedesktop/secrets/collection/login",
                        &status, true);
    ASSERT_EQ(status, 0);
    const std::string locked = synchronizeThroughProgram(calendar);
    const XMLNodePtr answer = XMLNode::createFromXML(locked);
    EXPECT_EQ(answer->getNumberOfNodesWithName("algr"), 0) << locked;
    EXPECT_EQ(answer->getString("error"), "The keyring that holds the calendar password is locked; the group is "
                                          "synchronised again once it is unlocked.");
}

} // namespace
} // namespace halvika
