// Sleep, wake-up and zone changes against the real program, with mocked logind and timedated on a private
// bus. A sleep is imitated the way it looks to the program: the wall clock jumps ahead (libfaketime, for
// this process only) while the monotonic clock, which its timer counts on, does not.
#include "e2e/HalvikaProcess.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

namespace halvika::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* libfaketime = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
constexpr int gapSeconds = 2 * 3600;

std::string gdbus(const std::string& arguments) {
    return commandOutput("gdbus call --system " + arguments, nullptr, true);
}

std::string inhibitors() {
    return gdbus("--dest org.freedesktop.login1 --object-path /org/freedesktop/login1 --method "
                 "org.freedesktop.login1.Manager.ListInhibitors");
}

bool holdsSleepLock(const std::string&) {
    return inhibitors().find("'Halvika'") != std::string::npos;
}

bool releasedSleepLock(const std::string& s) {
    return !holdsSleepLock(s);
}

void prepareForSleep(bool sleeping) {
    gdbus(std::string("--dest org.freedesktop.login1 --object-path /org/freedesktop/login1 --method "
                      "org.freedesktop.DBus.Mock.EmitSignal org.freedesktop.login1.Manager PrepareForSleep b \"[<") +
          (sleeping ? "true" : "false") + ">]\"");
}

/// The lines of the program's event record: (time by its own clock, event).
std::vector<std::pair<double, std::string>> events(const std::string& file) {
    std::vector<std::pair<double, std::string>> lines;
    std::ifstream in(file);
    double t = 0;
    std::string event;
    while (in >> t && std::getline(in, event)) {
        lines.emplace_back(t, event.substr(1));
    }
    return lines;
}

std::vector<double> stamps(const std::string& file) {
    std::vector<double> times;
    std::ifstream in(file);
    std::string label;
    double t = 0;
    while (in >> label >> t) {
        times.push_back(t);
    }
    return times;
}

/// When the mock last logged a line containing `needle` (its own clock, to the millisecond).
double lastLogged(const std::string& file, const std::string& needle) {
    std::ifstream in(file);
    std::string line;
    double at = 0;
    while (std::getline(in, line)) {
        if (line.find(needle) != std::string::npos) {
            at = std::atof(line.c_str());
        }
    }
    return at;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(p * (values.size() - 1) + 0.5))];
}

class SleepWakeE2ETest : public ::testing::Test {
protected:
    void SetUp() override {
        bus = startPrivateBus(home.path(), true);
        ASSERT_TRUE(bus);
        // Their logs give the moment each signal went out.
        logind = std::make_unique<Daemon>(std::vector<std::string>{"/usr/bin/python3", "-m", "dbusmock", "--system",
                                                                   "-t", "logind", "-l", home.file("logind.log")});
        timedated = std::make_unique<Daemon>(std::vector<std::string>{
            "/usr/bin/python3", "-m", "dbusmock", "--system", "-t", "timedated", "-l", home.file("timedated.log")});
        ASSERT_TRUE(waitUntil(
            20, [](const std::string&) { return inhibitors().rfind("(", 0) == 0; }, ""));
        ASSERT_TRUE(waitUntil(
            20,
            [](const std::string&) {
                return commandOutput("gdbus introspect --system --dest org.freedesktop.timedate1 --object-path "
                                     "/org/freedesktop/timedate1")
                           .find("SetTimezone") != std::string::npos;
            },
            ""));
    }
    void TearDown() override {
        timedated.reset();
        logind.reset();
        bus.reset();
    }

    TempHome home;
    std::unique_ptr<Daemon> bus;
    std::unique_ptr<Daemon> logind;
    std::unique_ptr<Daemon> timedated;
};

TEST_F(SleepWakeE2ETest, SavesBeforeSleepAndOnWakingSoundsAtOnceAndListsTheSilentOnes) {
    const int runs =
        std::getenv("HALVIKA_RESUME_RUNS") ? std::max(1, std::atoi(std::getenv("HALVIKA_RESUME_RUNS"))) : 1;
    const std::string stampFile = home.file("stamps.txt");
    const std::string trace = home.file("events.txt");
    const std::string offsetFile = home.file("faketime");
    std::ofstream(offsetFile) << "+0\n";
    // Every hour from an hour ahead: each two-hour gap holds two moments of each. "Wakes" sounds after
    // inactivity (its first moment in a gap starts the stamp program); "Quiet" does not.
    const std::time_t anchor = std::time(nullptr) + 3600;
    std::ostringstream group;
    group << "<algr><name>Home</name><stat>-1</stat><chsi>0</chsi>"
          << "<alrm><name>Wakes</name><saia>-1</saia><datk>1</datk><nexd>" << fileMoment(anchor)
          << "</nexd><perl>1</perl><peru>2</peru><acti><acid>4</acid><plug></plug><sett><s>" << HALVIKA_STAMP_PROGRAM
          << "|" << stampFile << " wakes</s></sett></acti></alrm>"
          << "<alrm><name>Quiet</name><saia>0</saia><datk>1</datk><nexd>" << fileMoment(anchor - 600)
          << "</nexd><perl>1</perl><peru>2</peru></alrm></algr>";
    home.write("usg_0.agx", group.str());
    home.write("usr.cfx", "<settings><lng>English</lng><tiia>30</tiia><bl>0</bl></settings>");

    ::setenv("LD_PRELOAD", libfaketime, 1);
    ::setenv("FAKETIME_TIMESTAMP_FILE", offsetFile.c_str(), 1);
    ::setenv("FAKETIME_NO_CACHE", "1", 1);
    ::setenv("FAKETIME_DONT_FAKE_MONOTONIC", "1", 1);
    ::setenv("HALVIKA_EVENT_TRACE", trace.c_str(), 1);
    const std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    ::setenv("ASAN_OPTIONS", (asan + ":verify_asan_link_order=0").c_str(), 1);
    Process run(home.path());
    ::unsetenv("LD_PRELOAD");
    ::unsetenv("HALVIKA_EVENT_TRACE");
    ::setenv("ASAN_OPTIONS", asan.c_str(), 1);

    // Up, and holding the delay lock.
    ASSERT_TRUE(waitUntil(30, holdsSleepLock, "")) << inhibitors();

    // A change waits up to two seconds to be saved; a sleep announced meanwhile saves it before the lock goes.
    ASSERT_EQ(commandOutput("dbus-send --session --print-reply --dest=org.halvika.Halvika /org/halvika/Halvika "
                            "org.halvika.Halvika1.Block",
                            nullptr, true)
                  .find("Error"),
              std::string::npos);
    EXPECT_EQ(home.read("usr.cfx").find("<bl>-1</bl>"), std::string::npos) << "saved before the sleep was announced";
    prepareForSleep(true);
    ASSERT_TRUE(waitUntil(10, releasedSleepLock, ""));
    EXPECT_NE(home.read("usr.cfx").find("<bl>-1</bl>"), std::string::npos) << home.read("usr.cfx");
    commandOutput("dbus-send --session --print-reply --dest=org.halvika.Halvika /org/halvika/Halvika "
                  "org.halvika.Halvika1.Unblock");

    std::vector<double> latencies;
    std::vector<double> noticed;
    for (int i = 1; i <= runs; ++i) {
        // Two hours asleep: the wall clock jumps, the program's timer still waits its half minute.
        std::ofstream(offsetFile) << "+" << gapSeconds * i << "\n";
        const std::size_t before = stamps(stampFile).size();
        prepareForSleep(false);
        const double resumed = lastLogged(home.file("logind.log"), "PrepareForSleep False");
        const auto deadline = std::chrono::steady_clock::now() + 20s;
        while (stamps(stampFile).size() == before && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(5ms);
        }
        const auto all = stamps(stampFile);
        ASSERT_GT(all.size(), before) << "nothing sounded after waking, run " << i;
        latencies.push_back((all[before] - gapSeconds * i - resumed) * 1000.0);
        const auto record = events(trace);
        for (auto e = record.rbegin(); e != record.rend(); ++e) {
            if (e->second == "resume") {
                noticed.push_back((e->first - gapSeconds * i - resumed) * 1000.0);
                break;
            }
        }
        ASSERT_TRUE(waitUntil(20, holdsSleepLock, "")) << "the lock was not taken again";
        if (i < runs) {
            prepareForSleep(true);
            ASSERT_TRUE(waitUntil(10, releasedSleepLock, ""));
        }
    }
    // "Wakes" sounded for its moments in the gap; "Quiet" stayed silent and its two moments were listed.
    const auto record = events(trace);
    const auto has = [&record](const std::string& event) {
        return std::any_of(record.begin(), record.end(), [&event](const auto& e) { return e.second == event; });
    };
    EXPECT_TRUE(has("sleep"));
    EXPECT_TRUE(has("saved before sleep"));
    EXPECT_TRUE(has("resume"));
    EXPECT_TRUE(has("missed 2")) << "two moments of Quiet in the gap";
    EXPECT_TRUE(waitUntil(
        10,
        [](const std::string& file) {
            const auto r = events(file);
            return std::any_of(r.begin(), r.end(),
                               [](const auto& e) { return e.second.rfind("missed window", 0) == 0; });
        },
        trace));
    std::printf("resume to the first due alarm's program over %d runs: median %.1f ms, 95th percentile %.1f ms, "
                "maximum %.1f ms\n",
                runs, percentile(latencies, 0.5), percentile(latencies, 0.95),
                *std::max_element(latencies.begin(), latencies.end()));
    std::printf("of which the signal's way to the program: median %.1f ms\n", percentile(noticed, 0.5));

    // A zone change (timedated's Timezone) reschedules at once.
    std::vector<double> zoneDelays;
    const double offset = gapSeconds * runs;
    for (int i = 0; i < runs; ++i) {
        const std::size_t before = events(trace).size();
        gdbus(std::string("--dest org.freedesktop.timedate1 --object-path /org/freedesktop/timedate1 --method "
                          "org.freedesktop.timedate1.SetTimezone ") +
              (i % 2 ? "Europe/Berlin" : "Nowhere/Atlantis") + " false");
        double scheduled = 0;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (scheduled == 0 && std::chrono::steady_clock::now() < deadline) {
            const auto r = events(trace);
            bool zone = false;
            for (std::size_t k = before; k < r.size(); ++k) {
                zone = zone || r[k].second == "zone changed";
                if (zone && r[k].second.rfind("scheduled", 0) == 0) {
                    scheduled = r[k].first;
                    break;
                }
            }
            std::this_thread::sleep_for(2ms);
        }
        ASSERT_GT(scheduled, 0) << "no rescheduling after the zone change, run " << i;
        const double changed = lastLogged(home.file("timedated.log"), "PropertiesChanged");
        zoneDelays.push_back((scheduled - offset - changed) * 1000.0);
    }
    std::printf("zone change to the rescheduled timer over %d runs: median %.1f ms, 95th percentile %.1f ms\n", runs,
                percentile(zoneDelays, 0.5), percentile(zoneDelays, 0.95));

    // A logind that restarts has forgotten the lock: it is taken again, and nothing else is said or lost.
    logind.reset();
    logind = std::make_unique<Daemon>(std::vector<std::string>{"/usr/bin/python3", "-m", "dbusmock", "--system", "-t",
                                                               "logind", "-l", home.file("logind2.log")});
    EXPECT_TRUE(waitUntil(30, holdsSleepLock, "")) << inhibitors();
    EXPECT_TRUE(run.running());

    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);
}

} // namespace
} // namespace halvika::test
