// Questions to a file system that may hang: the caller waits a limited time, and only once.
#include "base/DiskProbe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace halvika {
namespace {

using namespace std::chrono_literals;

TEST(DiskProbe, AHungQuestionCountsAsNoAndKeepsTheNextOnesFromBeingAskedUntilItReturns) {
    const DiskProbe probe(20ms);
    EXPECT_EQ(probe.ask<int>([] { return 7; }), 7);

    // A share that stopped answering: held until let go.
    std::mutex mutex;
    std::condition_variable wake;
    bool letGo = false;
    const auto hung = [&] {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return letGo; });
        return true;
    };
    EXPECT_EQ(probe.ask<bool>(hung), std::nullopt);
    // Meanwhile nothing else is asked: it would only queue up behind the stuck one.
    std::atomic<int> asked = 0;
    EXPECT_EQ(probe.ask<bool>([&asked] { return ++asked > 0; }), std::nullopt);
    EXPECT_EQ(asked, 0);

    {
        const std::lock_guard lock(mutex);
        letGo = true;
        wake.notify_all();
    }
    // Back by itself once the stuck question has returned.
    std::optional<bool> answer;
    for (int i = 0; i < 1000 && !answer; ++i) {
        answer = probe.ask<bool>([&asked] { return ++asked > 0; });
        if (!answer) {
            std::this_thread::sleep_for(5ms);
        }
    }
    EXPECT_EQ(answer, true);
    EXPECT_EQ(asked, 1);
}

} // namespace
} // namespace halvika
