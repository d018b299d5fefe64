// A local calendar date and time of day, held to the whole second.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvika {

/// Seconds counted from the zero date 1899-12-30 00:00:00 on the proleptic Gregorian calendar.
/// A default-constructed Date is the zero date.
class Date {
public:
    static constexpr int kMinYear = 100;
    static constexpr int kMaxYear = 9999;

    constexpr Date() = default;

    /// Builds a date by calendar arithmetic: fields out of range roll over (month 13 is January of the
    /// next year, day 0 the last day of the month before, hour 24 the next day). Throws ArithmeticError
    /// when the result lies outside the years 100-9999.
    static Date fromParts(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour = 0,
                          std::int64_t minute = 0, std::int64_t second = 0);
    /// As fromParts, but nothing instead of an error.
    static std::optional<Date> tryFromParts(std::int64_t year, std::int64_t month, std::int64_t day,
                                            std::int64_t hour = 0, std::int64_t minute = 0, std::int64_t second = 0);
    /// Seconds since the zero date; throws ArithmeticError outside the years 100-9999.
    static Date fromSerialSeconds(std::int64_t seconds);

    /// 9999-12-31 00:00:00: "none" or "never".
    static Date none();
    /// 9999-12-30 00:00:00: what a next-moment search reports when it gives up.
    static Date gaveUp();
    /// 1899-12-30 00:00:00.
    static constexpr Date zero() { return Date(); }

    /// The file form "yyyy/mm/dd hh:nn:ss".
    std::string toFileString() const;
    /// Reads the file form by position only (year 1-4, month 6-7, day 9-10, hour 12-13, minute 15-16,
    /// second 18-19); each field must be a number; out-of-range fields roll over. Nothing when a field
    /// is not a number, the text is shorter than 19 characters or the date leaves the years 100-9999.
    static std::optional<Date> fromFileString(std::string_view text);

    std::int64_t serialSeconds() const { return m_seconds; }
    /// Whole days since the zero date (the calendar date without the time).
    std::int64_t dayNumber() const;
    int secondOfDay() const;

    int year() const;
    int month() const;
    int day() const;
    int hour() const { return secondOfDay() / 3600; }
    int minute() const { return secondOfDay() / 60 % 60; }
    int second() const { return secondOfDay() % 60; }
    /// 0 Sunday ... 6 Saturday.
    int dayOfWeek() const;
    /// 1 for 1 January.
    int dayOfYear() const;
    /// The date at 00:00:00.
    Date dateOnly() const;

    static bool isLeapYear(std::int64_t year);
    static int daysInMonth(std::int64_t year, int month);

    friend constexpr auto operator<=>(const Date&, const Date&) = default;

private:
    constexpr explicit Date(std::int64_t seconds) : m_seconds(seconds) {}
    void civil(int& year, int& month, int& day) const;

    std::int64_t m_seconds = 0;
};

} // namespace halvika
