// "Remind me in…": waits typed as 25m, 2h, 90s, 1d or bare minutes.
#include "editing/QuickReminder.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(QuickReminder, WaitsAreReadInTheirUnitsWithinASecondToAYear) {
    EXPECT_EQ(QuickReminder::parseDelay("25m"), 1500);
    EXPECT_EQ(QuickReminder::parseDelay("25"), 1500); // bare: minutes
    EXPECT_EQ(QuickReminder::parseDelay("90s"), 90);
    EXPECT_EQ(QuickReminder::parseDelay("2h"), 7200);
    EXPECT_EQ(QuickReminder::parseDelay("1d"), 86400);
    EXPECT_EQ(QuickReminder::parseDelay("366d"), QuickReminder::maxSeconds);
    for (const char* bad : {"", "0", "0s", "367d", "m", "5 m", "5mm", "-5", "1.5h", "5M", "999999999999d"}) {
        EXPECT_FALSE(QuickReminder::parseDelay(bad).has_value()) << bad;
    }
    EXPECT_EQ(QuickReminder::momentAfter(Date::fromParts(2026, 12, 31, 23, 50, 0), 1500),
              Date::fromParts(2027, 1, 1, 0, 15, 0));
}

} // namespace
} // namespace halvika
