// The date-format language.
#include "dates/DateFormat.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

const Date kAfternoon = Date::fromParts(2026, 3, 7, 14, 5, 9); // a Saturday
const Date kMorning = Date::fromParts(2026, 12, 24, 0, 30, 0); // a Thursday

std::string fmt(std::string_view pattern, const Date& d) {
    return formatDate(pattern, d, DateNames::english());
}

TEST(DateFormat, DayMonthYearFields) {
    EXPECT_EQ(fmt("d dd ddd dddd", kAfternoon), "7 07 Sat Saturday");
    EXPECT_EQ(fmt("m mm mmm mmmm", kAfternoon), "3 03 Mar March");
    EXPECT_EQ(fmt("yy yyyy y", kAfternoon), "26 2026 66");
    EXPECT_EQ(fmt("ddd dd/mm/yyyy hh:nn:ss", kAfternoon), "Sat 07/03/2026 14:05:09");
    EXPECT_EQ(fmt("dddd m/d/yyyy h:nn:ss", kMorning), "Thursday 12/24/2026 0:30:00");
    EXPECT_EQ(fmt("q w ww", kAfternoon), "1 7 10");
    EXPECT_EQ(fmt("ww", Date::fromParts(2026, 1, 3)), "1");
    EXPECT_EQ(fmt("ww", Date::fromParts(2026, 1, 4)), "2");
    EXPECT_EQ(fmt("ddddd", kAfternoon), "2026-03-07");
    EXPECT_EQ(fmt("DD/MM/YYYY", kAfternoon), "07/03/2026");
}

TEST(DateFormat, MinutesRightAfterAnHour) {
    EXPECT_EQ(fmt("h:mm", kAfternoon), "14:05");
    EXPECT_EQ(fmt("hh:m", kAfternoon), "14:5");
    EXPECT_EQ(fmt("mm/dd hh:mm", kAfternoon), "03/07 14:05");
    // A day or second field between them ends the hour's context.
    EXPECT_EQ(fmt("h d mm", kAfternoon), "14 7 03");
}

TEST(DateFormat, TwelveHourClock) {
    EXPECT_EQ(fmt("h:mm am/pm", kAfternoon), "2:05 pm");
    EXPECT_EQ(fmt("hh:nn AM/PM", kAfternoon), "02:05 PM");
    EXPECT_EQ(fmt("h:nn AM/PM", kMorning), "12:30 AM");
    EXPECT_EQ(fmt("h a/p", kMorning), "12 a");
    EXPECT_EQ(fmt("h AMPM", kAfternoon), "2 PM");
    EXPECT_EQ(fmt("h:nn", Date::fromParts(2026, 1, 1, 12, 0, 0)), "12:00");
}

TEST(DateFormat, LiteralsAndOtherCharacters) {
    EXPECT_EQ(fmt("\"day\" d", kAfternoon), "day 7");
    EXPECT_EQ(fmt("\\d=d", kAfternoon), "d=7");
    EXPECT_EQ(fmt("[hh]-<nn>!", kAfternoon), "[14]-<05>!");
    EXPECT_EQ(fmt("", kAfternoon), "");
    EXPECT_EQ(fmt("\"unterminated", kAfternoon), "unterminated");
    EXPECT_EQ(fmt("trailing\\", kAfternoon), "traili5g");
}

TEST(DateFormat, NamesComeFromTheGivenLocaleNames) {
    DateNames names = DateNames::english();
    names.longDays[6] = "samedi";
    names.longMonths[2] = "mars";
    EXPECT_EQ(formatDate("dddd d mmmm", kAfternoon, names), "samedi 7 mars");
}

} // namespace
} // namespace halvika
