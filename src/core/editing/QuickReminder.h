// "Remind me in…": a one-time message alarm a short while from now.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <optional>
#include <string>

namespace halvika {

class QuickReminder {
public:
    /// The longest wait: a year.
    static constexpr std::int64_t maxSeconds = 366LL * 24 * 3600;

    /// "25m", "90s", "2h", "1d", or a bare number of minutes; whole numbers from one second to a year.
    /// Nothing for anything else.
    static std::optional<std::int64_t> parseDelay(const std::string& text);
    /// The moment `seconds` after `now`, to the second.
    static Date momentAfter(const Date& now, std::int64_t seconds);
};

} // namespace halvika
