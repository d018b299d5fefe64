// Decides whether a moment satisfies an advanced date expression such as WEEKDAY==MONDAY&&DAYOFMONTH<=7.
#pragma once

#include "dates/Date.h"

#include <array>
#include <string>
#include <string_view>

namespace halvika {

/// The expression is evaluated by rewriting its text: blanks go and letters are upper-cased; keywords and
/// weekday names become numbers; each comparison (left to right) becomes True or False; parentheses are
/// evaluated innermost-first from the left; "&&" and "||" have equal precedence and group from the left.
/// Comparison operators are "==", "<=", ">=" and "!="; any other operator text compares false.
class clsAdvancedDate {
public:
    /// Longer expressions are refused: each one is evaluated for up to a thousand candidates per query.
    static constexpr std::size_t kMaxLength = 1024;

    static constexpr std::array<std::string_view, 10> keywords = {
        "SECOND",      "MINUTE",    "HOUR",  "WEEKDAY", "DAYOFMONTH", "DAYSBEFORENEXTMONTH",
        "DAYSINMONTH", "DAYOFYEAR", "MONTH", "YEAR"};
    static constexpr std::array<std::string_view, 4> comparisonOperators = {"==", "<=", ">=", "!="};
    static constexpr std::array<std::string_view, 2> logicalOperators = {"&&", "||"};
    /// Weekday names; their values are their position + 1 (SUNDAY 1 ... SATURDAY 7).
    static constexpr std::array<std::string_view, 7> weekdayNames = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                                                                     "THURSDAY", "FRIDAY", "SATURDAY"};

    /// True when the moment satisfies the expression. Throws ExpressionError for a number without a
    /// partner, a number beyond 32,767, an unclosed "(" (or one around a bare number), leftover text that
    /// is neither True nor False, or an expression longer than kMaxLength.
    bool getDateEval(const Date& date, std::string_view expression) const;

    /// The value of a keyword (table index) for a moment.
    static int keywordValue(std::size_t keyword, const Date& date);

private:
    static bool evaluateFormula(std::string text);
    static bool readBoolean(std::string_view text);
};

} // namespace halvika
