// The text forms of numbers in files and messages, independent of the user's locale.
#include "text/NumberText.h"

#include "text/AsciiText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace halvika {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the grammar ourselves: from_chars alone would accept "inf", "nan" and hexadecimal forms.
bool isDecimalSyntax(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < t.size() && isDigit(t[i])) {
        ++i, ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < t.size() && isDigit(t[i])) {
            ++i, ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    return i == t.size();
}

template <typename T> std::optional<T> parseRounded(std::string_view text) {
    const auto value = NumberText::parseDecimal(text);
    if (!value) {
        return std::nullopt;
    }
    // rint rounds halves to even in the default rounding mode.
    const double rounded = std::rint(*value);
    if (rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(rounded);
}

std::string formatFloating(double value, int precision) {
    if (!std::isfinite(value)) {
        return "0";
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", precision, value);
    std::string s = buf;
    // %G keeps trailing zeros of the mantissa; the shortest form drops them and a bare ".".
    std::size_t expPos = s.find('E');
    std::string mantissa = s.substr(0, expPos);
    std::string exponent = expPos == std::string::npos ? "" : s.substr(expPos);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0') {
            mantissa.pop_back();
        }
        if (!mantissa.empty() && mantissa.back() == '.') {
            mantissa.pop_back();
        }
    }
    if (mantissa == "-0") {
        mantissa = "0";
    }
    return mantissa + exponent;
}

} // namespace

std::optional<double> NumberText::parseDecimal(std::string_view text) {
    text = AsciiText::trimmed(text);
    if (!isDecimalSyntax(text)) {
        return std::nullopt;
    }
    if (text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int16_t> NumberText::parseInteger(std::string_view text) {
    return parseRounded<std::int16_t>(text);
}

std::optional<std::int32_t> NumberText::parseLong(std::string_view text) {
    return parseRounded<std::int32_t>(text);
}

std::optional<bool> NumberText::parseBoolean(std::string_view text) {
    if (const auto number = parseDecimal(text)) {
        return *number != 0;
    }
    const std::string_view t = AsciiText::trimmed(text);
    if (AsciiText::equalsIgnoringCase(t, "true")) {
        return true;
    }
    if (AsciiText::equalsIgnoringCase(t, "false")) {
        return false;
    }
    return std::nullopt;
}

std::optional<float> NumberText::parseSingle(std::string_view text) {
    const auto value = parseDecimal(text);
    if (!value || std::fabs(*value) > static_cast<double>(std::numeric_limits<float>::max())) {
        return std::nullopt;
    }
    return static_cast<float>(*value);
}

std::optional<double> NumberText::parseDouble(std::string_view text) {
    return parseDecimal(text);
}

std::string NumberText::formatSingle(float value) {
    return formatFloating(static_cast<double>(value), 7);
}

std::string NumberText::formatDouble(double value) {
    return formatFloating(value, 15);
}

} // namespace halvika
