#include "editing/QuickReminder.h"

#include <cctype>

namespace halvika {

std::optional<std::int64_t> QuickReminder::parseDelay(const std::string& text) {
    if (text.empty() || text.size() > 12) {
        return std::nullopt;
    }
    std::size_t digits = 0;
    std::int64_t amount = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        amount = amount * 10 + (text[digits] - '0');
        ++digits;
    }
    if (digits == 0 || digits + 1 < text.size()) {
        return std::nullopt;
    }
    std::int64_t unit = 60;
    if (digits < text.size()) {
        switch (text[digits]) {
        case 's':
            unit = 1;
            break;
        case 'm':
            unit = 60;
            break;
        case 'h':
            unit = 3600;
            break;
        case 'd':
            unit = 86400;
            break;
        default:
            return std::nullopt;
        }
    }
    const std::int64_t seconds = amount * unit;
    if (seconds < 1 || seconds > maxSeconds) {
        return std::nullopt;
    }
    return seconds;
}

Date QuickReminder::momentAfter(const Date& now, std::int64_t seconds) {
    return Date::fromSerialSeconds(now.serialSeconds() + seconds);
}

} // namespace halvika
