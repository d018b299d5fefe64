// Alarms sound on time while a long synchronisation runs: the CalDAV plug-in uploading 1,000 alarms to a
// Radicale on the loopback address, started by the program itself, while twenty alarms each start a program;
// and, to tell the synchronisation's part from the machine's, the same with the server as busy but nothing
// to synchronise.
#include "CalDavSync.h"
#include "CredentialStore.h"
#include "DavClient.h"
#include "DavMultistatus.h"
#include "caldav/CalDavServers.h"
#include "e2e/HalvikaProcess.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace halvika {
namespace {

using namespace std::chrono_literals;
using test::CalDavServer;

int resourcesIn(const std::string& calendar) {
    // Asked after the alarms, of a server that may still be storing the load's thousands of events on a
    // machine as busy: a generous limit, which the lateness measured before does not depend on.
    DavClient client(CalDavServer::user, CalDavServer::password, 60000);
    const auto reply =
        client.send("PROPFIND", QUrl(QString::fromStdString(calendar)),
                    "<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/></d:prop></d:propfind>", {{"Depth", "1"}});
    return static_cast<int>(DavMultistatus::read(reply.body).responses.size()) - 1;
}

/// Another client storing events in the calendar as fast as the server takes them, for `seconds`: the
/// server's load of a synchronisation without Halvika's part in it.
std::unique_ptr<test::Daemon> busyServer(const std::string& calendar, int seconds) {
    const std::string script =
        "import base64, http.client, time, urllib.parse, uuid\n"
        "u = urllib.parse.urlparse('" +
        calendar +
        "')\n"
        "auth = 'Basic ' + base64.b64encode(b'alice:correct horse').decode()\n"
        "c = http.client.HTTPConnection(u.hostname, u.port)\n"
        "end = time.time() + " +
        std::to_string(seconds) +
        "\n"
        "while time.time() < end:\n"
        "    uid = str(uuid.uuid4())\n"
        "    body = 'BEGIN:VCALENDAR\\r\\nVERSION:2.0\\r\\nPRODID:-//load//EN\\r\\nBEGIN:VEVENT\\r\\nUID:' + uid + "
        "'\\r\\nDTSTAMP:20260101T000000Z\\r\\nDTSTART:20310101T090000\\r\\nSUMMARY:Load\\r\\nEND:VEVENT\\r\\n"
        "END:VCALENDAR\\r\\n'\n"
        "    c.request('PUT', u.path + uid + '.ics', body, {'Authorization': auth, 'Content-Type': 'text/calendar'})\n"
        "    c.getresponse().read()\n";
    return std::make_unique<test::Daemon>(std::vector<std::string>{"/usr/bin/python3", "-c", script});
}

/// Twenty alarms one second apart, each starting a program, beside a Radicale (at the lowest priority,
/// standing in for a server elsewhere) kept busy storing 1,000 alarms: by the program's own synchronisation
/// (`synchronise`), or by another client while the program has nothing to synchronise.
void measureLateness(bool synchronise) {
    static int argc = 1;
    static char name[] = "sync-lateness";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application = new QCoreApplication(argc, argv);
    (void)application;
    CalDavServer server(CalDavServer::Kind::Radicale, true);
    ASSERT_TRUE(server.up());
    std::string problem;
    const std::string calendar = server.newCalendar("Alarms", problem);
    ASSERT_FALSE(calendar.empty()) << problem;

    test::TempHome home;
    CredentialStore(home.file("config") + "/halvika").store(calendar, "alice", CalDavServer::password);
    const std::string stamps = home.file("stamps.txt");
    const std::time_t first = std::time(nullptr) + 4;
    constexpr int alarmCount = 20;
    home.write("usg_0.agx", "<algr><name>Lateness</name><stat>-1</stat><chsi>0</chsi>" +
                                test::stampAlarms(first, alarmCount, stamps) + "</algr>");
    std::string far;
    for (int i = 0; i < 1000; ++i) {
        far += "<alrm><name>F" + std::to_string(i) + "</name><datk>0</datk><oncd>2031/01/" +
               (i % 28 + 1 < 10 ? "0" : "") + std::to_string(i % 28 + 1) + " 09:00:00</oncd></alrm>";
    }
    home.write("usg_1.agx", "<algr><name>Synced</name><stat>-1</stat><sync>" +
                                std::string(synchronise ? "HalvikaCalDAV*CalDAV" : "") + "</sync><syst><url>" +
                                calendar + "</url><user>alice</user></syst>" + far + "</algr>");

    const auto load = synchronise ? nullptr : busyServer(calendar, alarmCount + 6);
    test::Process run(home.path());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(alarmCount + 30);
    while (test::readStamps(stamps).size() < alarmCount && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
    }
    // The synchronisation was under way meanwhile: some of the far alarms reached the server.
    const int uploaded = resourcesIn(calendar);
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);
    EXPECT_GT(uploaded, 0);

    std::vector<double> lateness = test::latenessOf(test::readStamps(stamps), first);
    ASSERT_EQ(lateness.size(), static_cast<std::size_t>(alarmCount));
    for (std::size_t i = 0; i < lateness.size(); ++i) {
        EXPECT_GE(lateness[i], 0.0) << "alarm " << i << " started early";
    }
    // In the order they sounded, so that a late one can be matched with what the program did then.
    std::fprintf(stderr, "lateness in order (ms):");
    for (const double l : lateness) {
        std::fprintf(stderr, " %.1f", l);
    }
    std::fprintf(stderr, "\n");
    std::sort(lateness.begin(), lateness.end());
    std::printf("alarm lateness %s (%d alarms on the server by the last alarm): median %.2f ms, 95th percentile "
                "%.2f ms, maximum %.2f ms\n",
                synchronise ? "during a synchronisation" : "with the same server load, no synchronisation", uploaded,
                lateness[lateness.size() / 2], lateness[lateness.size() * 95 / 100], lateness.back());
}

TEST(SyncLatenessE2E, AlarmsStartOnTimeWhileALongSynchronisationRuns) {
    measureLateness(true);
}

TEST(SyncLatenessE2E, AlarmsBesideTheSameServerLoadWithoutASynchronisation) {
    measureLateness(false);
}

} // namespace
} // namespace halvika
