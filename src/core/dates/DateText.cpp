#include "dates/DateText.h"

#include "text/AsciiText.h"

#include <cstdint>
#include <vector>

namespace halvika {

namespace {

/// Splits at `separator` into numbers of at most `maxDigits` digits; nothing when a part is not one.
std::optional<std::vector<std::int64_t>> numbers(std::string_view text, char separator, std::size_t maxDigits) {
    std::vector<std::int64_t> parts;
    std::int64_t value = 0;
    std::size_t digits = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            if (digits == 0) {
                return std::nullopt;
            }
            parts.push_back(value);
            value = 0;
            digits = 0;
        } else if (text[i] >= '0' && text[i] <= '9' && digits < maxDigits) {
            value = value * 10 + (text[i] - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    return parts;
}

std::optional<std::int64_t> timeOfDay(std::string_view text) {
    const auto parts = numbers(text, ':', 2);
    if (!parts || parts->size() < 2 || parts->size() > 3) {
        return std::nullopt;
    }
    const std::int64_t hour = (*parts)[0], minute = (*parts)[1], second = parts->size() == 3 ? (*parts)[2] : 0;
    if (hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return hour * 3600 + minute * 60 + second;
}

} // namespace

std::optional<Date> DateText::parse(std::string_view text) {
    text = AsciiText::trimmed(text);
    const std::size_t blank = text.find(' ');
    const std::string_view datePart = text.substr(0, blank);
    std::int64_t seconds = 0;
    if (blank != std::string_view::npos) {
        const auto time = timeOfDay(AsciiText::trimmed(text.substr(blank + 1)));
        if (!time) {
            return std::nullopt;
        }
        seconds = *time;
    } else if (datePart.find(':') != std::string_view::npos) {
        const auto time = timeOfDay(datePart);
        return time ? std::optional<Date>(Date::fromSerialSeconds(*time)) : std::nullopt;
    }
    for (const char separator : {'/', '-', '.'}) {
        if (datePart.find(separator) == std::string_view::npos) {
            continue;
        }
        const auto parts = numbers(datePart, separator, 4);
        if (!parts || parts->size() != 3 || (*parts)[1] < 1 || (*parts)[1] > 12 || (*parts)[2] < 1 ||
            (*parts)[0] < Date::kMinYear ||
            (*parts)[2] > Date::daysInMonth((*parts)[0], static_cast<int>((*parts)[1]))) {
            return std::nullopt;
        }
        return Date::tryFromParts((*parts)[0], (*parts)[1], (*parts)[2], seconds / 3600, seconds / 60 % 60,
                                  seconds % 60);
    }
    return std::nullopt;
}

} // namespace halvika
