// The date type: calendar arithmetic on construction, the file form, the special dates.
#include "dates/Date.h"
#include "dates/ArithmeticError.h"

#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(Date, SpecialDates) {
    EXPECT_EQ(Date().toFileString(), "1899/12/30 00:00:00");
    EXPECT_EQ(Date::zero().serialSeconds(), 0);
    EXPECT_EQ(Date::none().toFileString(), "9999/12/31 00:00:00");
    EXPECT_EQ(Date::gaveUp().toFileString(), "9999/12/30 00:00:00");
    EXPECT_LT(Date::gaveUp(), Date::none());
    EXPECT_EQ(Date().dayOfWeek(), 6); // 1899-12-30 was a Saturday
}

TEST(Date, FieldsRollOverLikeCalendarArithmetic) {
    EXPECT_EQ(Date::fromParts(2026, 13, 1).toFileString(), "2027/01/01 00:00:00");
    EXPECT_EQ(Date::fromParts(2026, 2, 30).toFileString(), "2026/03/02 00:00:00");
    EXPECT_EQ(Date::fromParts(2026, 3, 0).toFileString(), "2026/02/28 00:00:00");
    EXPECT_EQ(Date::fromParts(2024, 0, 1).toFileString(), "2023/12/01 00:00:00");
    EXPECT_EQ(Date::fromParts(2026, 12, 31, 24, 0, 0).toFileString(), "2027/01/01 00:00:00");
    EXPECT_EQ(Date::fromParts(2026, 1, 1, 0, 0, -1).toFileString(), "2025/12/31 23:59:59");
    EXPECT_EQ(Date::fromParts(2026, 1, 1, 0, 90, 0).toFileString(), "2026/01/01 01:30:00");
}

TEST(Date, RangeIsTheYears100To9999) {
    EXPECT_NO_THROW(Date::fromParts(100, 1, 1));
    EXPECT_NO_THROW(Date::fromParts(9999, 12, 31, 23, 59, 59));
    EXPECT_THROW(Date::fromParts(99, 12, 31), ArithmeticError);
    EXPECT_THROW(Date::fromParts(9999, 12, 31, 24, 0, 0), ArithmeticError);
    EXPECT_THROW(Date::fromParts(INT64_MAX, 1, 1), ArithmeticError);
    EXPECT_FALSE(Date::tryFromParts(10000, 1, 1).has_value());
}

TEST(Date, CalendarFields) {
    const Date d = Date::fromParts(2024, 2, 29, 13, 4, 5);
    EXPECT_EQ(d.year(), 2024);
    EXPECT_EQ(d.month(), 2);
    EXPECT_EQ(d.day(), 29);
    EXPECT_EQ(d.hour(), 13);
    EXPECT_EQ(d.minute(), 4);
    EXPECT_EQ(d.second(), 5);
    EXPECT_EQ(d.dayOfWeek(), 4); // Thursday
    EXPECT_EQ(d.dayOfYear(), 60);
    EXPECT_EQ(d.dateOnly().toFileString(), "2024/02/29 00:00:00");
    EXPECT_EQ(Date::fromParts(100, 3, 1).toFileString(), "0100/03/01 00:00:00"); // 100 is not a leap year
    EXPECT_EQ(Date::daysInMonth(2000, 2), 29);
    EXPECT_EQ(Date::daysInMonth(1900, 2), 28);
}

TEST(Date, FileFormIsReadByPosition) {
    EXPECT_EQ(Date::fromFileString("2026/03/07 07:05:00"), Date::fromParts(2026, 3, 7, 7, 5, 0));
    EXPECT_EQ(Date::fromFileString("2026-03-07T07:05:00"), Date::fromParts(2026, 3, 7, 7, 5, 0));
    EXPECT_EQ(Date::fromFileString("2026/03/07 07:05:00 and more"), Date::fromParts(2026, 3, 7, 7, 5, 0));
    EXPECT_FALSE(Date::fromFileString("2026/03/07").has_value());
    EXPECT_FALSE(Date::fromFileString("2026/03/07 07:05:0").has_value());
    EXPECT_FALSE(Date::fromFileString("abcd/03/07 07:05:00").has_value());
    EXPECT_FALSE(Date::fromFileString("").has_value());
    for (const Date d :
         {Date::none(), Date::gaveUp(), Date::fromParts(100, 1, 1), Date::fromParts(1999, 12, 31, 23, 59, 59)}) {
        EXPECT_EQ(Date::fromFileString(d.toFileString()), d);
    }
}

} // namespace
} // namespace halvika
