// When an alarm sounds next: one-time, periodic, window, weekdays, expression, correction, snooze, cache.
#include "alarms/Alarm.h"
#include "alarms/ExpressionError.h"
#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"

#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

Date at(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
    return Date::fromParts(y, m, d, h, n, s);
}

std::shared_ptr<Alarm> oneTime(const Date& when) {
    auto a = Alarm::createAlarm(nullptr);
    a->momentKind = 0;
    a->onceDate = when;
    return a;
}

std::shared_ptr<Alarm> periodic(const Date& anchor, std::int32_t amount, std::int16_t unit) {
    auto a = Alarm::createAlarm(nullptr);
    a->momentKind = 1;
    a->nextDate = anchor;
    a->everyAmount = amount;
    a->everyUnit = unit;
    a->startDate = a->endDate = Date::none();
    return a;
}

/// The next moment, or Date::none() when there is none.
Date next(Alarm& a, const Date& da, bool calendarDate = false) {
    return a.hasNextAlarmDateAfter(da, calendarDate) ? a.getNextAlarmDateAfter() : Date::none();
}

TEST(AlarmNextMoment, OneTimeIsStrictlyAfter) {
    auto a = oneTime(at(2026, 3, 7, 8));
    EXPECT_EQ(next(*a, at(2026, 3, 7, 7, 59, 59)), at(2026, 3, 7, 8));
    EXPECT_FALSE(a->hasNextAlarmDateAfter(at(2026, 3, 7, 8)));
    EXPECT_EQ(a->getNextAlarmDateAfter(), Date::none());
}

TEST(AlarmNextMoment, CorrectionAppliesUnlessTheCalendarMomentIsAsked) {
    auto a = oneTime(at(2026, 3, 7, 8));
    a->correctionAmount = -10;
    a->correctionUnit = unitMinute;
    EXPECT_EQ(next(*a, at(2026, 3, 7, 7)), at(2026, 3, 7, 7, 50));
    EXPECT_EQ(next(*a, at(2026, 3, 7, 7), true), at(2026, 3, 7, 8));

    // A periodic alarm searches on uncorrected moments: 06:55 daily with +10 minutes sounds at 07:05.
    auto p = periodic(at(2026, 1, 1, 6, 55), 1, unitDay);
    p->correctionAmount = 10;
    p->correctionUnit = unitMinute;
    EXPECT_EQ(next(*p, at(2026, 3, 7, 7)), at(2026, 3, 7, 7, 5));
    EXPECT_EQ(next(*p, at(2026, 3, 7, 7, 5)), at(2026, 3, 8, 7, 5));
}

TEST(AlarmNextMoment, ClampedMonthCorrectionsGoOnToTheNextCandidate) {
    // 29 March less a month is 28 February; that candidate corrects back to 28 March, which is not after.
    auto later = periodic(at(2026, 1, 1, 12), 1, unitDay);
    later->correctionAmount = 1;
    later->correctionUnit = unitMonth;
    EXPECT_EQ(next(*later, at(2026, 3, 29, 10)), at(2026, 4, 1, 12));
    EXPECT_EQ(next(*later, at(2026, 4, 1, 12)), at(2026, 4, 2, 12));

    auto earlier = periodic(at(2026, 1, 1, 12), 1, unitDay);
    earlier->correctionAmount = -1;
    earlier->correctionUnit = unitMonth;
    EXPECT_EQ(next(*earlier, at(2026, 3, 31, 10)), at(2026, 4, 1, 12));
    EXPECT_EQ(next(*earlier, at(2026, 4, 1, 12)), at(2026, 4, 2, 12));

    // The same with years, across 29 February.
    auto yearly = periodic(at(2028, 2, 29, 9), 1, unitDay);
    yearly->correctionAmount = 1;
    yearly->correctionUnit = unitYear;
    const Date da = at(2029, 2, 28, 10);
    const Date found = next(*yearly, da);
    EXPECT_GT(found, da);
    EXPECT_EQ(found, at(2029, 3, 1, 9));
}

TEST(AlarmNextMoment, PeriodicGridRunsBothWaysFromTheAnchor) {
    auto daily = periodic(at(2020, 1, 1, 7), 1, unitDay);
    EXPECT_EQ(next(*daily, at(2026, 3, 7, 7)), at(2026, 3, 8, 7));
    EXPECT_EQ(next(*daily, at(2026, 3, 7, 6, 59, 59)), at(2026, 3, 7, 7));
    auto future = periodic(at(2030, 1, 1, 7), 1, unitDay);
    EXPECT_EQ(next(*future, at(2026, 3, 7, 12)), at(2026, 3, 8, 7));

    auto twoHourly = periodic(at(2026, 3, 7, 0), 2, unitHour);
    EXPECT_EQ(next(*twoHourly, at(2026, 3, 7, 3)), at(2026, 3, 7, 4));
    auto weekly = periodic(at(2026, 3, 2, 9), 1, unitWeek); // Mondays
    EXPECT_EQ(next(*weekly, at(2026, 3, 7, 12)), at(2026, 3, 9, 9));
    auto everyMinute = periodic(at(2016, 3, 7, 0, 0, 30), 1, unitMinute);
    EXPECT_EQ(next(*everyMinute, at(2026, 3, 7, 12, 0, 30)), at(2026, 3, 7, 12, 1, 30));
}

TEST(AlarmNextMoment, MonthEndAnchorsAndLeapYears) {
    // Grid moments come from the jump of the alignment and month clamping: one month on from 28 February
    // is 28 March.
    auto monthly = periodic(at(2026, 1, 31, 9), 1, unitMonth);
    EXPECT_EQ(next(*monthly, at(2026, 2, 1)), at(2026, 2, 28, 9));
    EXPECT_EQ(next(*monthly, at(2026, 2, 28, 9)), at(2026, 3, 28, 9));
    // Asked in April, the jump lands on 30 April and steps back through 30 March to 28 February: the
    // clamped day then stays for the moments found from there.
    EXPECT_EQ(next(*monthly, at(2026, 4, 1)), at(2026, 4, 28, 9));

    auto leap = periodic(at(2024, 2, 29, 12), 1, unitYear);
    EXPECT_EQ(next(*leap, at(2025, 1, 1)), at(2025, 2, 28, 12));
    EXPECT_EQ(next(*leap, at(2027, 6, 1)), at(2028, 2, 28, 12)); // stepped from the clamped 2027-02-28
    EXPECT_EQ(next(*leap, at(2027, 6, 1), true), at(2028, 2, 28, 12));
    // The search always steps back once before walking forward, so even the leap year gives the 28th.
    EXPECT_EQ(next(*leap, at(2028, 1, 1)), at(2028, 2, 28, 12));
}

TEST(AlarmNextMoment, Weekdays) {
    auto a = periodic(at(2026, 1, 1, 7), 1, unitDay);
    a->activePeriod = Alarm::periodWeekdays;
    a->weekDays = 34;                                           // Monday and Friday
    EXPECT_EQ(next(*a, at(2026, 3, 7, 12)), at(2026, 3, 9, 7)); // Saturday -> Monday
    EXPECT_EQ(next(*a, at(2026, 3, 9, 7)), at(2026, 3, 13, 7)); // Monday -> Friday

    a->weekDays = 0;
    a->setChanged();
    EXPECT_EQ(next(*a, at(2026, 3, 7)), Date::gaveUp());
}

TEST(AlarmNextMoment, DateWindow) {
    auto a = periodic(at(2026, 1, 1, 7), 1, unitDay);
    a->activePeriod = Alarm::periodWindow;
    a->startDate = at(2026, 4, 10, 12);
    a->endDate = at(2026, 4, 20, 12);
    EXPECT_EQ(next(*a, at(2026, 3, 7)), at(2026, 4, 11, 7)); // first grid moment on or after the start
    EXPECT_EQ(next(*a, at(2026, 4, 15, 8)), at(2026, 4, 16, 7));
    EXPECT_EQ(next(*a, at(2026, 4, 20, 7)), Date::none()); // 21 April lies beyond the end
    EXPECT_FALSE(a->hasNextAlarmDateAfter(at(2026, 5, 1)));
}

TEST(AlarmNextMoment, AdvancedExpressionFiltersTheGrid) {
    auto a = periodic(at(2026, 1, 1, 8), 1, unitDay);
    a->activePeriod = Alarm::periodAdvanced;
    a->activeAdvanced = "WEEKDAY==MONDAY&&DAYOFMONTH<=7";
    EXPECT_EQ(next(*a, at(2026, 3, 3)), at(2026, 4, 6, 8));

    a->activeAdvanced = "";
    a->setChanged();
    EXPECT_EQ(next(*a, at(2026, 3, 3)), Date::gaveUp());

    a->activeAdvanced = "MONTH";
    a->setChanged();
    EXPECT_THROW(a->hasNextAlarmDateAfter(at(2026, 3, 3)), ExpressionError);

    // The expression is asked about every candidate, also one the weekdays or an ended window reject.
    for (const char* malformed : {"1<=MONTH<=3", "MONTH"}) {
        auto ended = periodic(at(2026, 1, 1, 8), 1, unitDay);
        ended->activePeriod = Alarm::periodAdvanced | Alarm::periodWindow;
        ended->startDate = at(2026, 1, 1);
        ended->endDate = at(2026, 2, 1);
        ended->activeAdvanced = malformed;
        EXPECT_THROW(ended->hasNextAlarmDateAfter(at(2026, 3, 3)), ExpressionError) << malformed;

        auto noDays = periodic(at(2026, 1, 1, 8), 1, unitDay);
        noDays->activePeriod = Alarm::periodAdvanced | Alarm::periodWeekdays;
        noDays->weekDays = 0;
        noDays->activeAdvanced = malformed;
        EXPECT_THROW(noDays->hasNextAlarmDateAfter(at(2026, 3, 3)), ExpressionError) << malformed;
    }
}

TEST(AlarmNextMoment, Snooze) {
    auto a = periodic(at(2026, 1, 1, 9), 1, unitDay);
    a->snooze(at(2026, 3, 7, 8, 5));
    a->setChanged();
    EXPECT_EQ(next(*a, at(2026, 3, 7, 8)), at(2026, 3, 7, 8, 5));
    EXPECT_EQ(next(*a, at(2026, 3, 7, 8, 5)), at(2026, 3, 7, 9));

    // Any other kind is due only by its snooze.
    auto odd = oneTime(at(2026, 3, 7, 9));
    odd->momentKind = 5;
    EXPECT_FALSE(odd->hasNextAlarmDateAfter(at(2026, 3, 7, 8)));
    odd->snooze(at(2026, 3, 7, 8, 30));
    odd->setChanged();
    EXPECT_EQ(next(*odd, at(2026, 3, 7, 8)), at(2026, 3, 7, 8, 30));
}

TEST(AlarmNextMoment, CacheHitsAndMisses) {
    auto a = oneTime(at(2026, 3, 7, 11));
    ASSERT_TRUE(a->hasNextAlarmDateAfter(at(2026, 3, 7, 10)));
    // A change made behind the cache's back shows only after a miss.
    a->onceDate = at(2026, 3, 7, 10, 45);
    ASSERT_TRUE(a->hasNextAlarmDateAfter(at(2026, 3, 7, 10, 30)));
    EXPECT_EQ(a->getNextAlarmDateAfter(), at(2026, 3, 7, 11)); // hit: computed once
    ASSERT_TRUE(a->hasNextAlarmDateAfter(at(2026, 3, 7, 10, 30), true));
    EXPECT_EQ(a->getNextAlarmDateAfter(), at(2026, 3, 7, 10, 45)); // calendarDate changed: miss
    ASSERT_TRUE(a->hasNextAlarmDateAfter(at(2026, 3, 7, 9), true));
    EXPECT_EQ(a->getNextAlarmDateAfter(), at(2026, 3, 7, 10, 45)); // before the cached range: miss
}

TEST(AlarmNextMoment, ArithmeticErrors) {
    auto zero = periodic(at(2026, 1, 1), 0, unitDay);
    EXPECT_THROW(zero->hasNextAlarmDateAfter(at(2026, 3, 7)), ArithmeticError);
    // The failed query was recorded: the same range answers from the (cleared) cache without raising.
    EXPECT_FALSE(zero->hasNextAlarmDateAfter(at(2026, 3, 7, 1)));
    zero->setChanged();
    EXPECT_THROW(zero->hasNextAlarmDateAfter(at(2026, 3, 7, 1)), ArithmeticError);
    // For callers that go on with the other alarms, the error is no next moment; a good alarm gives its own.
    zero->setChanged();
    EXPECT_EQ(zero->nextMomentAfter(at(2026, 3, 7, 1)), std::nullopt);
    auto malformed = periodic(at(2026, 1, 1, 8), 1, unitDay);
    malformed->activePeriod = Alarm::periodAdvanced;
    malformed->activeAdvanced = "MONTH";
    EXPECT_EQ(malformed->nextMomentAfter(at(2026, 3, 7)), std::nullopt);
    EXPECT_EQ(periodic(at(2026, 1, 1, 8), 1, unitDay)->nextMomentAfter(at(2026, 3, 7)), at(2026, 3, 7, 8));

    // With its window ended, a period of 0 never reaches the grid: no moment, and no error.
    auto ended = periodic(at(2026, 1, 1), 0, unitDay);
    ended->activePeriod = Alarm::periodWindow;
    ended->startDate = at(2026, 1, 1);
    ended->endDate = at(2026, 2, 1);
    EXPECT_FALSE(ended->hasNextAlarmDateAfter(at(2026, 3, 7)));
    EXPECT_FALSE(ended->hasNextAlarmDateAfter(at(2026, 2, 1)));

    auto negative = periodic(at(2026, 1, 1), -1, unitDay);
    EXPECT_THROW(negative->hasNextAlarmDateAfter(at(2026, 3, 7)), ArithmeticError);

    auto huge = periodic(at(9999, 12, 1), 1, unitMonth);
    EXPECT_THROW(huge->hasNextAlarmDateAfter(at(9999, 12, 1, 1)), ArithmeticError);

    // Per second for a century: the count of seconds leaves the 32-bit range.
    auto seconds = periodic(at(1926, 1, 1), 1, unitSecond);
    EXPECT_THROW(seconds->hasNextAlarmDateAfter(at(2026, 3, 7)), ArithmeticError);
}

TEST(AlarmNextMoment, UnitCodesOutsideTheTable) {
    auto a = periodic(at(2026, 1, 1), 1, 42);
    EXPECT_EQ(next(*a, at(2026, 3, 7)), Date::gaveUp());
    auto corrected = oneTime(at(2026, 3, 7, 9));
    corrected->correctionAmount = 5;
    corrected->correctionUnit = 42;
    EXPECT_FALSE(corrected->hasNextAlarmDateAfter(at(2026, 3, 7)));
    // A periodic alarm with such a unit is never due either, rather than due in the past.
    auto daily = periodic(at(2026, 1, 1, 7), 1, unitDay);
    daily->correctionUnit = 14;
    EXPECT_FALSE(daily->hasNextAlarmDateAfter(at(2026, 3, 7)));
}

} // namespace
} // namespace halvika
