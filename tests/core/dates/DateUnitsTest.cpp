// Moving and comparing dates by unit code.
#include "dates/DateUnits.h"
#include "dates/ArithmeticError.h"

#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

Date at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return Date::fromParts(y, m, d, h, n, s);
}

TEST(DateAddUnit, ExactUnits) {
    const Date d = at(2026, 3, 7, 7, 5, 0);
    EXPECT_EQ(dateAddUnit(d, 59, unitSecond), at(2026, 3, 7, 7, 5, 59));
    EXPECT_EQ(dateAddUnit(d, -6, unitMinute), at(2026, 3, 7, 6, 59, 0));
    EXPECT_EQ(dateAddUnit(d, 17, unitHour), at(2026, 3, 8, 0, 5, 0));
    EXPECT_EQ(dateAddUnit(d, -7, unitDay), at(2026, 2, 28, 7, 5, 0));
    EXPECT_EQ(dateAddUnit(d, 2, unitWeek), at(2026, 3, 21, 7, 5, 0));
    EXPECT_EQ(dateAddUnit(d, 0, unitDay), d);
}

TEST(DateAddUnit, MonthsAndYearsClampToTheMonthEnd) {
    EXPECT_EQ(dateAddUnit(at(2026, 1, 31, 8), 1, unitMonth), at(2026, 2, 28, 8));
    EXPECT_EQ(dateAddUnit(at(2024, 1, 31), 1, unitMonth), at(2024, 2, 29));
    EXPECT_EQ(dateAddUnit(at(2026, 3, 31), -1, unitMonth), at(2026, 2, 28));
    EXPECT_EQ(dateAddUnit(at(2026, 1, 31), 3, unitMonth), at(2026, 4, 30));
    EXPECT_EQ(dateAddUnit(at(2026, 11, 15), 2, unitMonth), at(2027, 1, 15));
    EXPECT_EQ(dateAddUnit(at(2026, 1, 15), -13, unitMonth), at(2024, 12, 15));
    EXPECT_EQ(dateAddUnit(at(2024, 2, 29), 1, unitYear), at(2025, 2, 28));
    EXPECT_EQ(dateAddUnit(at(2024, 2, 29), 4, unitYear), at(2028, 2, 29));
    EXPECT_EQ(dateAddUnit(at(2024, 2, 29, 23, 59, 59), -1, unitYear), at(2023, 2, 28, 23, 59, 59));
}

TEST(DateAddUnit, UnknownUnitGivesTheZeroDateAndRangeErrorsRaise) {
    EXPECT_EQ(dateAddUnit(at(2026, 1, 1), 5, 7), Date::zero());
    EXPECT_EQ(dateAddUnit(at(2026, 1, 1), 5, -1), Date::zero());
    EXPECT_THROW(dateAddUnit(at(9999, 12, 1), 1, unitMonth), ArithmeticError);
    EXPECT_THROW(dateAddUnit(at(100, 1, 1), -1, unitSecond), ArithmeticError);
    EXPECT_THROW(dateAddUnit(at(2026, 1, 1), INT32_MAX, unitYear), ArithmeticError);
    EXPECT_THROW(dateAddUnit(at(2026, 1, 1), INT32_MIN, unitWeek), ArithmeticError);
    // The form for callers that carry on without the result.
    EXPECT_EQ(tryDateAddUnit(at(9999, 12, 1), 1, unitMonth), std::nullopt);
    EXPECT_EQ(tryDateAddUnit(at(2026, 1, 31), 1, unitMonth), at(2026, 2, 28));
}

TEST(DateDiffUnit, CountsBoundariesPassed) {
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7, 10, 59, 59), at(2026, 3, 7, 11, 0, 0), unitHour), 1);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7, 10, 0, 0), at(2026, 3, 7, 10, 59, 59), unitHour), 0);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7, 10, 0, 59), at(2026, 3, 7, 10, 1, 0), unitMinute), 1);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7, 23, 59, 59), at(2026, 3, 8, 0, 0, 0), unitDay), 1);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 8), at(2026, 3, 7, 23), unitDay), -1);
    EXPECT_EQ(dateDiffUnit(at(2026, 1, 31), at(2026, 2, 1), unitMonth), 1);
    EXPECT_EQ(dateDiffUnit(at(2026, 12, 31), at(2027, 1, 1), unitYear), 1);
    EXPECT_EQ(dateDiffUnit(at(2027, 1, 1), at(2026, 12, 31), unitMonth), -1);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7), at(2026, 3, 7, 0, 0, 30), unitSecond), 30);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7), at(2026, 3, 8), 9), 0);
}

TEST(DateDiffUnit, WeeksAreCountedInSundays) {
    // 2026-03-07 is a Saturday, 2026-03-08 a Sunday.
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 7), at(2026, 3, 8), unitWeek), 1);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 8), at(2026, 3, 14), unitWeek), 0);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 8), at(2026, 3, 15), unitWeek), 1);
    EXPECT_EQ(dateDiffUnit(at(2026, 3, 15), at(2026, 3, 7), unitWeek), -2);
    EXPECT_EQ(dateDiffUnit(Date::zero(), at(1899, 12, 31), unitWeek), 1);
}

TEST(DateDiffUnit, CountsBeyond32BitsRaise) {
    EXPECT_THROW(dateDiffUnit(at(100, 1, 1), at(9999, 1, 1), unitSecond), ArithmeticError);
    EXPECT_THROW(dateDiffUnit(at(100, 1, 1), at(9999, 1, 1), unitMinute), ArithmeticError);
    EXPECT_EQ(dateDiffUnit(at(100, 1, 1), at(9999, 1, 1), unitHour), *dateDiff("h", at(100, 1, 1), at(9999, 1, 1)));
}

TEST(DateDiff, IntervalLetters) {
    const Date a = at(2026, 3, 7, 7, 5, 0);
    const Date b = at(2026, 4, 1, 6, 0, 0);
    EXPECT_EQ(dateDiff("d", a, b), 25);
    EXPECT_EQ(dateDiff("y", a, b), 25);
    EXPECT_EQ(dateDiff("w", a, b), 3);
    EXPECT_EQ(dateDiff("w", b, a), -3);
    EXPECT_EQ(dateDiff("ww", a, b), 4);
    EXPECT_EQ(dateDiff("m", a, b), 1);
    EXPECT_EQ(dateDiff("q", a, b), 1);
    EXPECT_EQ(dateDiff("q", at(2026, 1, 1), at(2026, 3, 31)), 0);
    EXPECT_EQ(dateDiff("yyyy", a, at(2030, 1, 1)), 4);
    EXPECT_EQ(dateDiff("H", a, b), 599);
    EXPECT_EQ(dateDiff("n", a, b), 35935);
    EXPECT_FALSE(dateDiff("x", a, b).has_value());
}

} // namespace
} // namespace halvika
