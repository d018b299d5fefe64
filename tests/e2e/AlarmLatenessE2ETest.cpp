// How late alarms start their commands in the real program: twenty alarms, one a second, each starting a
// program that writes the moment it began. Never early, all of them, and the figures for the record.
#include "e2e/HalvikaProcess.h"
#include "fakes/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

namespace halvika {
namespace {

using namespace std::chrono_literals;

constexpr int alarmCount = 20;

using test::fileMoment;
using test::readStamps;

TEST(AlarmLatenessE2E, TwentyAlarmsStartTheirCommandsInTheirSecondNeverBefore) {
    test::TempHome home;
    const std::string stamps = home.file("stamps.txt");
    // Started a few seconds from now, so that the program is up and idle before the first one.
    const std::time_t first = std::time(nullptr) + 4;
    home.write("usg_0.agx", "<algr><name>Lateness</name><stat>-1</stat><chsi>0</chsi>" +
                                test::stampAlarms(first, alarmCount, stamps) + "</algr>");

    test::Process run(home.path());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(alarmCount + 30);
    while (readStamps(stamps).size() < alarmCount && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(100ms);
    }
    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);

    const auto started = readStamps(stamps);
    ASSERT_EQ(started.size(), static_cast<std::size_t>(alarmCount));
    std::vector<double> lateness = test::latenessOf(started, first);
    for (std::size_t i = 0; i < lateness.size(); ++i) {
        EXPECT_GE(lateness[i], 0.0) << "alarm " << i << " started early";
    }
    std::sort(lateness.begin(), lateness.end());
    const auto percentile = [&lateness](double p) {
        return lateness[std::min(lateness.size() - 1, static_cast<std::size_t>(p * (lateness.size() - 1) + 0.5))];
    };
    std::printf("alarm lateness over %d alarms: median %.2f ms, 95th percentile %.2f ms, maximum %.2f ms\n", alarmCount,
                percentile(0.5), percentile(0.95), lateness.back());
}

} // namespace
} // namespace halvika
