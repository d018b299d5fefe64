// Moving and comparing dates by the unit codes of alarm periods, corrections and durations.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace halvika {

/// The 16-bit unit codes used for every amount-plus-unit pair.
enum UnitCode : std::int16_t {
    unitSecond = 0,
    unitMinute = 1,
    unitHour = 2,
    unitDay = 3,
    unitMonth = 4,
    unitYear = 5,
    unitWeek = 6,
};

/// The date moved by `amount` units. Seconds to weeks are exact moves; months and years keep the day of
/// the month, clamped to the target month's last day, and the time of day. A code outside the table gives
/// the zero date. Throws ArithmeticError when the result leaves the years 100-9999.
Date dateAddUnit(const Date& date, std::int32_t amount, std::int16_t unit);
/// dateAddUnit for callers that carry on without the result: nothing where dateAddUnit throws.
std::optional<Date> tryDateAddUnit(const Date& date, std::int32_t amount, std::int16_t unit) noexcept;

/// Unit boundaries passed from `first` to `second` (negative when `second` is earlier): second, minute and
/// hour marks; calendar days; weeks counted in Sundays; months as year*12+month; years. A code outside the
/// table gives 0. Throws ArithmeticError when the count does not fit 32 bits.
std::int32_t dateDiffUnit(const Date& first, const Date& second, std::int16_t unit);

/// Unit drop-down lists show second, minute, hour, day, week, month, year: list position <-> unit code.
/// Any other value passes unchanged.
std::int16_t unitCodeOfListPosition(std::int16_t position);
std::int16_t listPositionOfUnitCode(std::int16_t code);

/// The general date-difference function with an interval letter: "yyyy" years, "q" quarters, "m" months,
/// "y" or "d" days, "w" whole weeks of 7 days, "ww" calendar weeks (Sundays), "h" hours, "n" minutes,
/// "s" seconds. Letters are matched without regard to case; nothing for an unknown interval.
std::optional<std::int64_t> dateDiff(std::string_view interval, const Date& first, const Date& second);

} // namespace halvika
