// Telling a stuck worker from a busy one.
#include "base/StallWatch.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(StallWatch, OnlyWorkLeftUntouchedPastTheLimitIsAStall) {
    StallWatch watch(1000);
    EXPECT_FALSE(watch.stalled(50'000)); // nothing handed over: idle, however long

    watch.handedOver(10'000);
    EXPECT_FALSE(watch.stalled(11'000));
    EXPECT_TRUE(watch.stalled(11'001));

    // More work for a stuck worker does not make it look fresh.
    watch.handedOver(11'500);
    EXPECT_TRUE(watch.stalled(11'600));

    // It moves again: one job done is progress, the other still counts from that moment.
    watch.finished(12'000);
    EXPECT_FALSE(watch.stalled(12'900));
    EXPECT_TRUE(watch.stalled(13'100));
    watch.finished(13'200);
    EXPECT_FALSE(watch.stalled(99'000));

    // Work handed to an idle worker is timed from its handing over, not from the last job long ago.
    watch.handedOver(100'000);
    EXPECT_FALSE(watch.stalled(100'500));
    EXPECT_TRUE(watch.stalled(101'100));
}

} // namespace
} // namespace halvika
