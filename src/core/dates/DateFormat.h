// The date-format language of display formats and the time teller's templates.
#pragma once

#include "dates/Date.h"
#include "dates/DateNames.h"

#include <string>
#include <string_view>

namespace halvika {

/// Formats a date with a pattern:
///   d dd ddd dddd   day, day with leading zero, short and long weekday name
///   ddddd dddddd    short date (yyyy-mm-dd) and long date (dddd, d mmmm yyyy)
///   m mm mmm mmmm   month, with leading zero, short and long month name;
///                   m and mm right after an hour field (h or hh, literals between) mean minutes
///   y yy yyyy       day of the year, two- and four-digit year
///   h hh n nn s ss  hour, minute, second, without and with leading zero
///   w ww q          weekday number (1 Sunday), week of the year (weeks begin on Sunday), quarter
///   ttttt c         time (hh:nn:ss), general date and time
///   AM/PM am/pm A/P a/p AMPM   12-hour clock marker; any of them makes the hours 12-hour
///   "text" \x       literal text, a literal character
/// Letters are matched without regard to case; every other character is copied.
std::string formatDate(std::string_view pattern, const Date& date, const DateNames& names);
std::string formatDate(std::string_view pattern, const Date& date);

} // namespace halvika
