// A local calendar date and time of day, held to the whole second.
#include "dates/Date.h"

#include "dates/ArithmeticError.h"
#include "text/NumberText.h"

#include <cstdio>
#include <limits>

namespace halvika {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the civil date (H. Hinnant's algorithm), valid for any year here.
constexpr std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kZeroDateEpochDays = daysFromCivil(1899, 12, 30);

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

constexpr std::int64_t serialOf(std::int64_t y, unsigned m, unsigned d) {
    return daysFromCivil(y, m, d) - kZeroDateEpochDays;
}

constexpr std::int64_t kMinSeconds = serialOf(Date::kMinYear, 1, 1) * kSecondsPerDay;
constexpr std::int64_t kMaxSeconds = (serialOf(Date::kMaxYear, 12, 31) + 1) * kSecondsPerDay - 1;

// Keeps every intermediate product far from the 64-bit range before any calendar arithmetic.
constexpr std::int64_t kFieldLimit = std::int64_t{1} << 40;

} // namespace

std::optional<Date> Date::tryFromParts(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                                       std::int64_t minute, std::int64_t second) {
    for (const std::int64_t f : {year, month, day, hour, minute, second}) {
        if (f > kFieldLimit || f < -kFieldLimit) {
            return std::nullopt;
        }
    }
    const std::int64_t monthIndex = year * 12 + (month - 1);
    const std::int64_t y = floorDiv(monthIndex, 12);
    if (y < kMinYear - 1000 || y > kMaxYear + 1000) {
        return std::nullopt;
    }
    const auto m = static_cast<unsigned>(monthIndex - y * 12 + 1);
    const std::int64_t days = serialOf(y, m, 1) + (day - 1);
    const std::int64_t seconds = days * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    if (seconds < kMinSeconds || seconds > kMaxSeconds) {
        return std::nullopt;
    }
    return Date(seconds);
}

Date Date::fromParts(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour, std::int64_t minute,
                     std::int64_t second) {
    if (const auto date = tryFromParts(year, month, day, hour, minute, second)) {
        return *date;
    }
    throw ArithmeticError("date outside the years 100 to 9999");
}

Date Date::fromSerialSeconds(std::int64_t seconds) {
    if (seconds < kMinSeconds || seconds > kMaxSeconds) {
        throw ArithmeticError("date outside the years 100 to 9999");
    }
    return Date(seconds);
}

Date Date::none() {
    return Date(serialOf(9999, 12, 31) * kSecondsPerDay);
}

Date Date::gaveUp() {
    return Date(serialOf(9999, 12, 30) * kSecondsPerDay);
}

std::int64_t Date::dayNumber() const {
    return floorDiv(m_seconds, kSecondsPerDay);
}

int Date::secondOfDay() const {
    return static_cast<int>(m_seconds - dayNumber() * kSecondsPerDay);
}

void Date::civil(int& year, int& month, int& day) const {
    // Inverse of daysFromCivil.
    const std::int64_t z = dayNumber() + kZeroDateEpochDays + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

int Date::year() const {
    int y, m, d;
    civil(y, m, d);
    return y;
}

int Date::month() const {
    int y, m, d;
    civil(y, m, d);
    return m;
}

int Date::day() const {
    int y, m, d;
    civil(y, m, d);
    return d;
}

int Date::dayOfWeek() const {
    // The zero date was a Saturday.
    return static_cast<int>(((dayNumber() + 6) % 7 + 7) % 7);
}

int Date::dayOfYear() const {
    return static_cast<int>(dayNumber() - serialOf(year(), 1, 1)) + 1;
}

Date Date::dateOnly() const {
    return Date(dayNumber() * kSecondsPerDay);
}

bool Date::isLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int Date::daysInMonth(std::int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year)) {
        return 29;
    }
    return kDays[(month - 1) % 12];
}

std::string Date::toFileString() const {
    int y, m, d;
    civil(y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", y, m, d, hour(), minute(), second());
    return buf;
}

std::optional<Date> Date::fromFileString(std::string_view text) {
    if (text.size() < 19) {
        return std::nullopt;
    }
    const std::size_t starts[6] = {0, 5, 8, 11, 14, 17};
    const std::size_t lengths[6] = {4, 2, 2, 2, 2, 2};
    std::int64_t fields[6];
    for (int i = 0; i < 6; ++i) {
        const auto value = NumberText::parseInteger(text.substr(starts[i], lengths[i]));
        if (!value) {
            return std::nullopt;
        }
        fields[i] = *value;
    }
    return tryFromParts(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
}

} // namespace halvika
