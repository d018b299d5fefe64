// The faults a calendar server seldom shows on demand, each made by a proxy in front of a real Radicale:
// refused writes, a full disk, a server gone in the middle of a synchronisation, answers cut off, huge or
// garbage multistatus replies, another client's change racing an upload, and clocks that disagree; and a
// name that does not resolve and a certificate nobody vouches for. Each
// time the group stays as it was or nothing of either side is lost, and the next synchronisation mends all.
#include "caldav/CalDavServers.h"
#include "caldav/FaultProxy.h"
#include "caldav/SyncedComputer.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <gtest/gtest.h>

#include <ctime>
#include <set>

namespace halvika {
namespace {

using test::alarm;
using test::CalDavServer;
using test::SyncedComputer;

class CalDavFaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        ASSERT_TRUE(server.up());
        std::string problem;
        const std::string direct = server.newCalendar("Alarms", problem);
        ASSERT_FALSE(direct.empty()) << problem;
        ASSERT_TRUE(proxy.up());
        calendar = proxy.through(direct);
    }

    static std::string alarms(const std::string& prefix, int count) {
        std::string out;
        for (int i = 0; i < count; ++i) {
            out += alarm(prefix + std::to_string(i), "2030/03/01 08:" + std::to_string(10 + i) + ":00");
        }
        return out;
    }
    /// The names on a computer that starts afresh from the calendar: what the server holds.
    std::vector<std::string> onTheServer() {
        SyncedComputer fresh(calendar, "");
        const auto out = fresh.sync();
        EXPECT_TRUE(out.group) << out.problem;
        return fresh.names();
    }

    CalDavServer server{CalDavServer::Kind::Radicale};
    test::FaultProxy proxy{server};
    std::string calendar;
};

TEST_F(CalDavFaultTest, RefusedOrFailedUploadsLeaveTheGroupAsItWasAndTheNextSyncMakesNoCopies) {
    SyncedComputer laptop(calendar, alarms("Old", 6));
    ASSERT_TRUE(laptop.sync().group);
    // Three changed and three new; the server takes the first two uploads and then refuses, then refuses all.
    for (int i = 0; i < 3; ++i) {
        laptop.alarmNamed("Old" + std::to_string(i))->setString("oncd", "2030/04/01 09:00:00");
    }
    for (int i = 0; i < 3; ++i) {
        laptop.group->addXMLString(alarm("New" + std::to_string(i), "2030/05/01 10:00:00"));
    }
    const std::string before = laptop.group->toString();
    const std::string state = laptop.settings->toString();
    struct Refusal {
        int firstRefused, status;
        std::string sentence;
    };
    for (const auto& [first, status, sentence] :
         {Refusal{3, 507, "The calendar server has no room left for the alarms."},
          Refusal{1, 403, "The calendar server does not allow this user to change the calendar."},
          Refusal{1, 500, "The calendar server answered with an error (HTTP 500)."}}) {
        proxy.setRules(R"([{"method": "PUT", "from": )" + std::to_string(first) +
                       R"(, "action": "status", "status": )" + std::to_string(status) + "}]");
        const auto out = laptop.sync();
        EXPECT_FALSE(out.group);
        EXPECT_EQ(out.problem, sentence);
        EXPECT_EQ(laptop.group->toString(), before);
        EXPECT_EQ(laptop.settings->toString(), state);
    }
    // Room again: what did reach the server is recognised, not copied as a conflict or sent twice.
    proxy.setRules("[]");
    const auto out = laptop.sync();
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.conflicts, 0);
    const std::vector<std::string> expected{"New0", "New1", "New2", "Old0", "Old1", "Old2", "Old3", "Old4", "Old5"};
    EXPECT_EQ(laptop.names(), expected);
    EXPECT_EQ(onTheServer(), expected);
    EXPECT_EQ(laptop.sync().uploaded, 0);
}

TEST_F(CalDavFaultTest, AServerGoneMidwayOrAnAnswerCutOffLeavesTheGroupAsItWas) {
    SyncedComputer laptop(calendar, alarms("A", 12));
    const std::string before = laptop.group->toString();
    // The server goes away after the third upload: every later request finds nobody.
    proxy.setRules(R"([{"method": "PUT", "from": 4, "action": "close"}, {"method": "PROPFIND", "from": 1,
                       "action": "close"}])");
    auto out = laptop.sync();
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem.rfind("The calendar server could not be reached", 0), 0u) << out.problem;
    EXPECT_EQ(laptop.group->toString(), before);

    // Answers cut off half-way: the listing, then the calendar data.
    for (const int report : {1, 2}) {
        proxy.setRules(R"([{"method": "REPORT", "from": )" + std::to_string(report) +
                       ", \"to\": " + std::to_string(report) + R"(, "action": "cut"}])");
        out = laptop.sync();
        EXPECT_FALSE(out.group) << "cut REPORT " << report;
        EXPECT_EQ(out.problem.rfind("The calendar server's answer was cut off: ", 0), 0u) << out.problem;
        EXPECT_EQ(laptop.group->toString(), before);
    }

    proxy.setRules("[]");
    out = laptop.sync();
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(laptop.names().size(), 12u);
    EXPECT_EQ(onTheServer(), laptop.names()); // the three that went up before are not there twice
}

TEST_F(CalDavFaultTest, AHugeMultistatusIsReadAndGarbageIsRefused) {
    SyncedComputer laptop(calendar, alarms("A", 3));
    ASSERT_TRUE(laptop.sync().group);
    SyncedComputer desktop(calendar, "");
    // Ten megabytes that are still a valid answer: read like any other.
    proxy.setRules(R"([{"method": "REPORT", "from": 1, "action": "padded", "bytes": 10000000}])");
    auto out = desktop.sync();
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(desktop.names().size(), 3u);

    // Ten megabytes of noise, and an answer over the size limit: refused, the group as it was.
    desktop.group->addXMLString(alarm("Mine", "2030/05/05 05:05:00"));
    const std::string before = desktop.group->toString();
    proxy.setRules(R"([{"method": "REPORT", "from": 1, "action": "garbage", "bytes": 10000000}])");
    out = desktop.sync();
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem, "The calendar server's answer could not be read.");
    proxy.setRules(R"([{"method": "REPORT", "from": 1, "action": "padded", "bytes": 40000000}])");
    out = desktop.sync();
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem, "The calendar server could not be reached: the server's answer was larger than 32 MB.");
    EXPECT_EQ(desktop.group->toString(), before);
}

TEST(CalDavFaults, ANameThatDoesNotResolveOrACertificateNotTrustedIsSaidAndChangesNothing) {
    test::qtApp();
    SyncedComputer laptop("http://calendar.invalid/alice/alarms/", alarm("Pills", "2030/01/01 08:00:00"));
    const std::string before = laptop.group->toString();
    auto out = laptop.sync();
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem.rfind("The calendar server could not be reached: ", 0), 0u) << out.problem;
    EXPECT_NE(out.problem.find("calendar.invalid"), std::string::npos) << out.problem;

    // A server with a certificate of its own making, which answers every request with an empty calendar:
    // only the certificate check stands between the plug-in and a "successful" synchronisation.
    test::TempHome folder;
    int status = -1;
    const std::string made =
        test::commandOutput("openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
                            "-keyout " +
                                folder.file("key.pem") + " -out " + folder.file("cert.pem"),
                            &status, true);
    ASSERT_EQ(status, 0) << made;
    const int port = test::freePort();
    const std::string script = "import http.server, ssl\n"
                               "class H(http.server.BaseHTTPRequestHandler):\n"
                               "    def answer(self):\n"
                               "        body = b'<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\"/>'\n"
                               "        self.send_response(207)\n"
                               "        self.send_header('Content-Length', str(len(body)))\n"
                               "        self.end_headers()\n"
                               "        self.wfile.write(body)\n"
                               "    do_REPORT = do_PROPFIND = do_PUT = do_GET = answer\n"
                               "s = http.server.HTTPServer(('127.0.0.1', " +
                               std::to_string(port) +
                               "), H)\n"
                               "c = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)\n"
                               "c.load_cert_chain('" +
                               folder.file("cert.pem") + "', '" + folder.file("key.pem") +
                               "')\n"
                               "s.socket = c.wrap_socket(s.socket, server_side=True)\n"
                               "s.serve_forever()\n";
    test::Daemon server({"/usr/bin/python3", "-c", script});
    ASSERT_TRUE(test::waitForListener(port));
    laptop.settings->setString("url", "https://127.0.0.1:" + std::to_string(port) + "/alice/alarms/");
    const std::string settings = laptop.settings->toString();
    out = laptop.sync();
    EXPECT_FALSE(out.group);
    EXPECT_EQ(out.problem.rfind("The calendar server could not be reached: ", 0), 0u) << out.problem;
    EXPECT_NE(out.problem.find("SSL"), std::string::npos) << out.problem;
    EXPECT_EQ(laptop.group->toString(), before);
    EXPECT_EQ(laptop.settings->toString(), settings);
}

TEST_F(CalDavFaultTest, AnotherClientsChangeRacingAnUploadAndAClockADayAheadLoseNothing) {
    SyncedComputer laptop(calendar, alarm("Pills", "2030/01/01 08:00:00"));
    ASSERT_TRUE(laptop.sync().group);
    // Another client changes the resource between the laptop's listing and its upload: the server refuses
    // the upload (412) and the laptop keeps its change.
    laptop.alarmNamed("Pills")->setString("oncd", "2030/01/01 07:00:00");
    laptop.alarmNamed("Pills")->setString("smod", std::to_string(std::time(nullptr) - 60));
    proxy.setRules(R"([{"method": "PUT", "from": 1, "action": "concurrent"}])");
    auto out = laptop.sync();
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(laptop.names(), std::vector<std::string>{"Pills"});
    EXPECT_EQ(laptop.alarmNamed("Pills")->getDate("oncd"), Date::fromParts(2030, 1, 1, 7, 0, 0));
    // The next round sees both changes: the later wins, the other is kept as a copy, there too.
    proxy.setRules("[]");
    out = laptop.sync();
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.conflicts, 1);
    EXPECT_EQ(laptop.names(), (std::vector<std::string>{"Changed elsewhere", "Pills (conflict)"}));
    EXPECT_EQ(onTheServer(), laptop.names());

    // The laptop's clock runs a day ahead: its older change wins over the desktop's newer one, but the
    // desktop's is kept, on both computers.
    SyncedComputer desktop(calendar, "");
    ASSERT_TRUE(desktop.sync().group);
    ASSERT_TRUE(laptop.sync().group);
    laptop.alarmNamed("Changed elsewhere")->setString("oncd", "2030/01/01 06:00:00");
    laptop.alarmNamed("Changed elsewhere")->setString("smod", std::to_string(std::time(nullptr) + 86400));
    desktop.alarmNamed("Changed elsewhere")->setString("oncd", "2030/01/01 10:00:00");
    desktop.alarmNamed("Changed elsewhere")->setString("smod", std::to_string(std::time(nullptr)));
    ASSERT_TRUE(laptop.sync().group);
    out = desktop.sync();
    ASSERT_TRUE(out.group) << out.problem;
    EXPECT_EQ(out.conflicts, 1);
    ASSERT_TRUE(laptop.sync().group);
    for (const SyncedComputer* c : {&laptop, &desktop}) {
        ASSERT_EQ(c->names(),
                  (std::vector<std::string>{"Changed elsewhere", "Changed elsewhere (conflict)", "Pills (conflict)"}));
        std::set<Date> moments;
        for (const std::string name : {"Changed elsewhere", "Changed elsewhere (conflict)"}) {
            moments.insert(c->alarmNamed(name)->getDate("oncd"));
        }
        EXPECT_EQ(c->alarmNamed("Changed elsewhere")->getDate("oncd"), Date::fromParts(2030, 1, 1, 6, 0, 0));
        EXPECT_EQ(moments,
                  (std::set<Date>{Date::fromParts(2030, 1, 1, 6, 0, 0), Date::fromParts(2030, 1, 1, 10, 0, 0)}));
    }
}

} // namespace
} // namespace halvika
