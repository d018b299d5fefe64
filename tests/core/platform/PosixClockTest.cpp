// The real clock's conversions through the zone's rules, and a zone read again after it changed.
#include "platform/posix/PosixClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace halvika {
namespace {

/// Sets the zone for one test and puts UTC back after it.
struct Zone {
    explicit Zone(const char* name) {
        ::setenv("TZ", name, 1);
        PosixClock::zoneChanged();
    }
    ~Zone() {
        ::setenv("TZ", "UTC", 1);
        PosixClock::zoneChanged();
    }
};

TEST(PosixClock, LocalMomentsBecomeEpochSecondsThroughTheZoneReadAgain) {
    const PosixClock clock;
    const Date summerNoon = Date::fromParts(2026, 7, 1, 12, 0, 0);
    EXPECT_EQ(clock.epochSeconds(summerNoon), 1'782'907'200); // UTC, as the tests run
    {
        const Zone berlin("Europe/Berlin");
        EXPECT_EQ(clock.epochSeconds(summerNoon), 1'782'907'200 - 2 * 3600);
        // 02:30 on the last Sunday of March does not exist there: it counts as after the gap.
        const std::int64_t gap = clock.epochSeconds(Date::fromParts(2026, 3, 29, 2, 30, 0));
        EXPECT_EQ(gap, clock.epochSeconds(Date::fromParts(2026, 3, 29, 3, 30, 0)));
        // The clock's reading follows the zone too.
        const Date now = clock.now().date;
        EXPECT_NEAR(static_cast<double>(clock.epochSeconds(now)), static_cast<double>(std::time(nullptr)), 2.0);
    }
    {
        const Zone nowhere("Nowhere/Atlantis"); // no such zone: read as UTC, no failure
        EXPECT_EQ(clock.epochSeconds(summerNoon), 1'782'907'200);
    }
    // The base clock counts local time as UTC.
    struct Fixed : Clock {
        Reading now() const override { return {}; }
    } fixed;
    EXPECT_EQ(fixed.epochSeconds(Date::fromParts(1970, 1, 2, 0, 0, 0)), 86400);
}

} // namespace
} // namespace halvika
