// The time teller: a short command with a template becomes a sentence about a date or a time span.
#pragma once

#include "dates/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace halvika {

class clsTimeTeller {
public:
    static constexpr std::string_view defaultTemplate = "\"It's <h:mm am/pm> on <dddd, m/d/yyyy>.\"";
    static constexpr std::string_view cannotSpeak = "The date and time cannot be spoken.";

    /// The sentence for a command ("now", "unt", "sin" or "cus", a quoted template, for the last three a
    /// quoted date) at `now`. Nothing when the date cannot be read or a field names no unit.
    static std::optional<std::string> sentenceFor(std::string_view command, const Date& now);
    /// Replaces each "<format>" field by the date in that format.
    static std::string formatDate(std::string_view templateText, const Date& date);
    /// Replaces each "<interval>" field by the number of interval boundaries from `from` to `to`; nothing
    /// when a field is not an interval.
    static std::optional<std::string> formatSpan(std::string_view templateText, const Date& from, const Date& to);
};

} // namespace halvika
