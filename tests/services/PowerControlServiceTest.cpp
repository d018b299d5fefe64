// Shut down, restart, log off and the screen saver against mocked logind and screen saver services on a
// private bus. Nothing here ever reaches the machine's own services.
#include "fakes/TempHome.h"
#include "platform/DBusPowerControl.h"
#include "qt/QtTestApp.h"
#include "services/ServiceDaemons.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

namespace halvika {
namespace {

bool registered(const std::string& service) {
    const auto reply = QDBusConnection::sessionBus().interface()->isServiceRegistered(QString::fromStdString(service));
    return reply.isValid() && reply.value();
}

class PowerControlServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<test::TempHome>();
        // The mocked logind lives on the private bus, which stands in for the system bus too.
        bus = test::startPrivateBus(home->path(), true);
        ASSERT_TRUE(bus);
        logind = std::make_unique<test::Daemon>(std::vector<std::string>{
            "/usr/bin/python3", "-m", "dbusmock", "--system", "-t", "logind", "-l", home->file("logind.log")});
        saver = std::make_unique<test::Daemon>(std::vector<std::string>{
            "/usr/bin/python3", "-m", "dbusmock", "--session", "-t",
            HALVIKA_SOURCE_DIR "/tests/services/screensaver_mock.py", "-l", home->file("screensaver.log")});
        test::ensureQtApp();
        ASSERT_TRUE(test::waitUntil(20, registered, "org.freedesktop.login1"));
        ASSERT_TRUE(test::waitUntil(20, registered, "org.freedesktop.ScreenSaver"));
    }
    static void TearDownTestSuite() {
        saver.reset();
        logind.reset();
        bus.reset();
        home.reset();
    }
    static std::string logindCalls() { return test::readText(home->file("logind.log")); }

    static std::unique_ptr<test::TempHome> home;
    static std::unique_ptr<test::Daemon> bus;
    static std::unique_ptr<test::Daemon> logind;
    static std::unique_ptr<test::Daemon> saver;
    DBusPowerControl power;
};

std::unique_ptr<test::TempHome> PowerControlServiceTest::home;
std::unique_ptr<test::Daemon> PowerControlServiceTest::bus;
std::unique_ptr<test::Daemon> PowerControlServiceTest::logind;
std::unique_ptr<test::Daemon> PowerControlServiceTest::saver;

TEST_F(PowerControlServiceTest, EachCommandCallsItsServiceMethod) {
    power.startScreenSaver();
    EXPECT_NE(test::readText(home->file("screensaver.log")).find("SetActive True"), std::string::npos);

    power.shutDown();
    EXPECT_NE(logindCalls().find("PowerOff False"), std::string::npos) << logindCalls();
    EXPECT_EQ(logindCalls().find("Reboot"), std::string::npos);
    power.restart();
    EXPECT_NE(logindCalls().find("Reboot False"), std::string::npos) << logindCalls();

    // Log off ends our own session, found by its id.
    QDBusInterface mock("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.DBus.Mock",
                        QDBusConnection::systemBus());
    ASSERT_TRUE(mock.call("AddSession", "c7", "seat0", 1000u, "user", true).errorName().isEmpty());
    ::setenv("XDG_SESSION_ID", "c7", 1);
    power.logOff();
    ::unsetenv("XDG_SESSION_ID");
    EXPECT_NE(logindCalls().find("Terminate"), std::string::npos) << logindCalls();
}

} // namespace
} // namespace halvika
