// Day and month names, and the AM/PM markers, used when formatting dates.
#pragma once

#include <array>
#include <string>

namespace halvika {

class DateNames {
public:
    std::array<std::string, 7> shortDays; ///< Sunday first
    std::array<std::string, 7> longDays;  ///< Sunday first
    std::array<std::string, 12> shortMonths;
    std::array<std::string, 12> longMonths;
    std::string am = "AM";
    std::string pm = "PM";

    static DateNames english();
    /// The names of the user's LC_TIME locale (from LC_ALL, LC_TIME or LANG); English when that locale
    /// is not installed.
    static DateNames fromEnvironmentLocale();

    /// The names that formatDate uses when none are given; English until set.
    static const DateNames& current();
    static void setCurrent(const DateNames& names);
};

} // namespace halvika
