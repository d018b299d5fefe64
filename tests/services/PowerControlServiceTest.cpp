// Shut down, restart, log off and the screen saver against mocked logind and screen saver services on a
// private bus. Nothing here ever reaches the machine's own services.
#include "fakes/TempHome.h"
#include "platform/DBusPowerControl.h"
#include "qt/QtTestApp.h"
#include "services/ServiceDaemons.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

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

/// The commands do not wait for their services: the test waits for the service's record instead.
bool logged(const std::string& fileAndText) {
    const auto tab = fileAndText.find('\t');
    QCoreApplication::processEvents();
    return test::readText(fileAndText.substr(0, tab)).find(fileAndText.substr(tab + 1)) != std::string::npos;
}

TEST_F(PowerControlServiceTest, EachCommandCallsItsServiceMethod) {
    power.startScreenSaver();
    EXPECT_TRUE(test::waitUntil(10, logged, home->file("screensaver.log") + "\tSetActive True"));

    power.shutDown();
    EXPECT_TRUE(test::waitUntil(10, logged, home->file("logind.log") + "\tPowerOff False")) << logindCalls();
    EXPECT_EQ(logindCalls().find("Reboot"), std::string::npos);
    power.restart();
    EXPECT_TRUE(test::waitUntil(10, logged, home->file("logind.log") + "\tReboot False")) << logindCalls();

    // Log off ends our own session, found by its id.
    QDBusMessage addSession = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                                             "org.freedesktop.DBus.Mock", "AddSession");
    addSession << "c7"
               << "seat0" << 1000u << "user" << true;
    ASSERT_TRUE(QDBusConnection::systemBus().call(addSession).errorName().isEmpty());
    ::setenv("XDG_SESSION_ID", "c7", 1);
    power.logOff();
    ::unsetenv("XDG_SESSION_ID");
    EXPECT_TRUE(test::waitUntil(10, logged, home->file("logind.log") + "\tTerminate")) << logindCalls();
}

} // namespace
} // namespace halvika
