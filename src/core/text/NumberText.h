// The text forms of numbers in files and messages, independent of the user's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvika {

class NumberText {
public:
    /// A decimal number: optional blanks, an optional sign, digits with an optional "." fraction and an
    /// optional exponent, optional blanks. "." is the separator whatever the locale. Infinity, NaN,
    /// hexadecimal and empty text are not numbers.
    static std::optional<double> parseDecimal(std::string_view text);

    /// A number rounded to the nearest integer (halves to even) within the 16-bit range.
    static std::optional<std::int16_t> parseInteger(std::string_view text);
    /// As parseInteger, within the 32-bit range.
    static std::optional<std::int32_t> parseLong(std::string_view text);
    /// A number (0 false, anything else true) or "True"/"False" in any letter case.
    static std::optional<bool> parseBoolean(std::string_view text);
    static std::optional<float> parseSingle(std::string_view text);
    static std::optional<double> parseDouble(std::string_view text);

    static std::string formatBoolean(bool value) { return value ? "-1" : "0"; }
    /// Shortest decimal form with up to 7 significant digits, exponent form ("1E-05") for very large
    /// or small magnitudes.
    static std::string formatSingle(float value);
    /// As formatSingle with up to 15 significant digits.
    static std::string formatDouble(double value);
};

} // namespace halvika
