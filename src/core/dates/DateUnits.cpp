// Moving and comparing dates by the unit codes of alarm periods, corrections and durations.
#include "dates/DateUnits.h"

#include "dates/ArithmeticError.h"
#include "text/AsciiText.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>

namespace halvika {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

Date addMonths(const Date& date, std::int64_t months) {
    const std::int64_t index = std::int64_t{date.year()} * 12 + (date.month() - 1) + months;
    const std::int64_t year = floorDiv(index, 12);
    if (year < Date::kMinYear || year > Date::kMaxYear) {
        throw ArithmeticError("date outside the years 100 to 9999");
    }
    const int month = static_cast<int>(index - year * 12) + 1;
    const int day = std::min(date.day(), Date::daysInMonth(year, month));
    return Date::fromParts(year, month, day, date.hour(), date.minute(), date.second());
}

// Sundays begin the weeks; the zero date (day 0) was a Saturday, so day 1 starts week 1.
std::int64_t weekIndex(const Date& d) {
    return floorDiv(d.dayNumber() + 6, 7);
}

std::int64_t monthIndex(const Date& d) {
    return std::int64_t{d.year()} * 12 + d.month();
}

} // namespace

std::optional<Date> tryDateAddUnit(const Date& date, std::int32_t amount, std::int16_t unit) noexcept {
    try {
        return dateAddUnit(date, amount, unit);
    } catch (const ArithmeticError&) {
        return std::nullopt;
    }
}

Date dateAddUnit(const Date& date, std::int32_t amount, std::int16_t unit) {
    const std::int64_t n = amount;
    switch (unit) {
    case unitSecond:
        return Date::fromSerialSeconds(date.serialSeconds() + n);
    case unitMinute:
        return Date::fromSerialSeconds(date.serialSeconds() + n * 60);
    case unitHour:
        return Date::fromSerialSeconds(date.serialSeconds() + n * 3600);
    case unitDay:
        return Date::fromSerialSeconds(date.serialSeconds() + n * 86400);
    case unitWeek:
        return Date::fromSerialSeconds(date.serialSeconds() + n * 7 * 86400);
    case unitMonth:
        return addMonths(date, n);
    case unitYear:
        return addMonths(date, n * 12);
    default:
        return Date::zero();
    }
}

std::int32_t dateDiffUnit(const Date& first, const Date& second, std::int16_t unit) {
    static constexpr const char* kIntervals[] = {"s", "n", "h", "d", "m", "yyyy", "ww"};
    if (unit < 0 || unit > 6) {
        return 0;
    }
    const std::int64_t count = *dateDiff(kIntervals[unit], first, second);
    if (count < std::numeric_limits<std::int32_t>::min() || count > std::numeric_limits<std::int32_t>::max()) {
        throw ArithmeticError("date difference beyond the 32-bit range");
    }
    return static_cast<std::int32_t>(count);
}

std::int16_t unitCodeOfListPosition(std::int16_t position) {
    static constexpr std::int16_t codes[7] = {0, 1, 2, 3, 6, 4, 5};
    return position >= 0 && position < 7 ? codes[position] : position;
}

std::int16_t listPositionOfUnitCode(std::int16_t code) {
    static constexpr std::int16_t positions[7] = {0, 1, 2, 3, 5, 6, 4};
    return code >= 0 && code < 7 ? positions[code] : code;
}

std::optional<std::int64_t> dateDiff(std::string_view interval, const Date& first, const Date& second) {
    const std::string key = AsciiText::lowered(interval);
    const std::int64_t a = first.serialSeconds();
    const std::int64_t b = second.serialSeconds();
    if (key == "s") {
        return b - a;
    }
    if (key == "n") {
        return floorDiv(b, 60) - floorDiv(a, 60);
    }
    if (key == "h") {
        return floorDiv(b, 3600) - floorDiv(a, 3600);
    }
    if (key == "d" || key == "y") {
        return second.dayNumber() - first.dayNumber();
    }
    if (key == "w") {
        return (second.dayNumber() - first.dayNumber()) / 7;
    }
    if (key == "ww") {
        return weekIndex(second) - weekIndex(first);
    }
    if (key == "m") {
        return monthIndex(second) - monthIndex(first);
    }
    if (key == "q") {
        return (std::int64_t{second.year()} * 4 + (second.month() - 1) / 3) -
               (std::int64_t{first.year()} * 4 + (first.month() - 1) / 3);
    }
    if (key == "yyyy") {
        return std::int64_t{second.year()} - first.year();
    }
    return std::nullopt;
}

} // namespace halvika
