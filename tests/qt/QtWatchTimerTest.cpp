// The watch timer: a shot never comes early, a running timer repeats, a shot taken back stays silent, and a
// timer that cannot have its timerfd still fires.
#include "platform/QtWatchTimer.h"
#include "qt/QtTestApp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

namespace halvika {
namespace {

TEST(QtWatchTimer, ShotsComeInTheirMomentRepeatAndCanBeTakenBack) {
    test::ensureQtApp();
    QtWatchTimer timer;
    int shots = 0;
    qint64 firstShotMs = -1;
    QElapsedTimer clock;
    timer.setHandler([&] {
        if (++shots == 1) {
            firstShotMs = clock.elapsed();
        }
    });

    // Counted from the start of the current millisecond, so at most one early by a stopwatch started now.
    clock.start();
    timer.setInterval(60);
    timer.enable();
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_EQ(timer.interval(), 60);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shots >= 3; }, 5000)); // left running, it repeats
    EXPECT_GE(firstShotMs, 59);

    // A shot already due but not yet handled when the timer is disabled does not come.
    timer.disable();
    shots = 0;
    timer.setInterval(1);
    timer.enable();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    timer.disable();
    EXPECT_FALSE(timer.isEnabled());
    QTest::qWait(50);
    EXPECT_EQ(shots, 0);

    // A running timer counts a new interval from now, and the handler may plan the next shot itself, as
    // the watch does.
    timer.setInterval(100'000);
    timer.enable();
    timer.setHandler([&] {
        ++shots;
        timer.disable();
        timer.setInterval(100'000);
        timer.enable();
    });
    timer.setInterval(10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shots >= 1; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(shots, 1);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_EQ(timer.interval(), 100'000);
}

TEST(QtWatchTimer, AnExactShotGoesOffEarlyButIsNeverHandledBeforeItsMoment) {
    test::ensureQtApp();
    QtWatchTimer timer;
    // The wall clock in whole milliseconds, as the watch reads it and counts its shots from.
    const auto wallMs = [] {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return std::int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
    };
    std::vector<std::int64_t> earlyBy;
    std::int64_t dueMs = 0;
    timer.setHandler([&] {
        earlyBy.push_back(dueMs - wallMs());
        timer.disable();
    });
    timer.setExact(true);
    for (int interval : {20, 20, 20, 20, 20, 1}) { // the last too short for the lead: simply a shot
        dueMs = wallMs() + interval;
        timer.setInterval(interval);
        timer.enable();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !timer.isEnabled(); }, 5000));
    }
    ASSERT_EQ(earlyBy.size(), 6u);
    for (std::int64_t early : earlyBy) {
        EXPECT_LE(early, 0);
    }
}

TEST(QtWatchTimer, WithoutADescriptorLeftTheEventLoopsTimerStandsIn) {
    test::ensureQtApp();
    // One made before: the sanitizers' first check of an object of a type opens a pipe, and would find no
    // descriptor left either.
    { const QtWatchTimer first; }
    // Every descriptor under a low limit taken, so that the timer cannot make its timerfd.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit low = old;
    low.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
    std::vector<int> taken;
    for (int fd = dup(0); fd >= 0; fd = dup(0)) {
        taken.push_back(fd);
    }
    auto timer = std::make_unique<QtWatchTimer>();
    for (int fd : taken) {
        close(fd);
    }
    setrlimit(RLIMIT_NOFILE, &old);

    int shots = 0;
    timer->setHandler([&] { ++shots; });
    timer->setInterval(10);
    timer->enable();
    EXPECT_TRUE(QTest::qWaitFor([&] { return shots >= 1; }, 5000)); // never silent
    timer->disable();
}

} // namespace
} // namespace halvika
