// Decides whether a moment satisfies an advanced date expression such as WEEKDAY==MONDAY&&DAYOFMONTH<=7.
#include "alarms/clsAdvancedDate.h"

#include "alarms/ExpressionError.h"
#include "text/AsciiText.h"

namespace halvika {

namespace {

void replaceAll(std::string& text, std::string_view word, const std::string& replacement) {
    std::size_t pos = 0;
    while ((pos = text.find(word, pos)) != std::string::npos) {
        text.replace(pos, word.size(), replacement);
        pos += replacement.size();
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t findDigit(const std::string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            return i;
        }
    }
    return std::string::npos;
}

std::size_t digitRunEnd(const std::string& text, std::size_t from) {
    while (from < text.size() && isDigit(text[from])) {
        ++from;
    }
    return from;
}

int readNumber(std::string_view digits) {
    // Numbers are 16-bit; leading zeros do not count towards the size.
    long value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 32767) {
            throw ExpressionError("the number " + std::string(digits) + " is too large");
        }
    }
    return static_cast<int>(value);
}

// Days in the month, found as the first of 31, 30, 29, 28 that makes a valid date.
int daysInMonth(const Date& d) {
    for (int days = 31; days >= 28; --days) {
        if (days <= Date::daysInMonth(d.year(), d.month())) {
            return days;
        }
    }
    return 28;
}

} // namespace

int clsAdvancedDate::keywordValue(std::size_t keyword, const Date& d) {
    switch (keyword) {
    case 0:
        return d.second();
    case 1:
        return d.minute();
    case 2:
        return d.hour();
    case 3:
        return d.dayOfWeek() + 1;
    case 4:
        return d.day();
    case 5:
        return daysInMonth(d) + 1 - d.day();
    case 6:
        return daysInMonth(d);
    case 7:
        return d.dayOfYear();
    case 8:
        return d.month();
    default:
        return d.year();
    }
}

bool clsAdvancedDate::getDateEval(const Date& date, std::string_view expression) const {
    if (expression.size() > kMaxLength) {
        throw ExpressionError("the expression is longer than " + std::to_string(kMaxLength) + " characters");
    }
    std::string text;
    text.reserve(expression.size());
    for (const char c : expression) {
        if (c != ' ') {
            text += AsciiText::upper(c);
        }
    }
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        if (text.find(keywords[k]) != std::string::npos) {
            replaceAll(text, keywords[k], std::to_string(keywordValue(k, date)));
        }
    }
    for (std::size_t w = 0; w < weekdayNames.size(); ++w) {
        replaceAll(text, weekdayNames[w], std::to_string(w + 1));
    }
    // Comparisons, left to right, until no digit is left.
    for (std::size_t left = findDigit(text, 0); left != std::string::npos; left = findDigit(text, 0)) {
        const std::size_t leftEnd = digitRunEnd(text, left);
        const std::size_t right = findDigit(text, leftEnd);
        if (right == std::string::npos) {
            throw ExpressionError("a number is not compared with anything");
        }
        const std::size_t rightEnd = digitRunEnd(text, right);
        const int a = readNumber(std::string_view(text).substr(left, leftEnd - left));
        const int b = readNumber(std::string_view(text).substr(right, rightEnd - right));
        const std::string_view op = std::string_view(text).substr(leftEnd, right - leftEnd);
        bool result = false;
        if (op == "==") {
            result = a == b;
        } else if (op == "<=") {
            result = a <= b;
        } else if (op == ">=") {
            result = a >= b;
        } else if (op == "!=") {
            result = a != b;
        }
        text.replace(left, rightEnd - left, result ? "True" : "False");
    }
    return evaluateFormula(std::move(text));
}

bool clsAdvancedDate::readBoolean(std::string_view text) {
    if (AsciiText::equalsIgnoringCase(text, "TRUE")) {
        return true;
    }
    if (AsciiText::equalsIgnoringCase(text, "FALSE")) {
        return false;
    }
    throw ExpressionError("\"" + std::string(text) + "\" is not a condition");
}

bool clsAdvancedDate::evaluateFormula(std::string text) {
    for (std::size_t open = text.find('('); open != std::string::npos; open = text.find('(')) {
        int depth = 0;
        std::size_t close = std::string::npos;
        for (std::size_t i = open; i < text.size(); ++i) {
            if (text[i] == '(') {
                ++depth;
            } else if (text[i] == ')' && --depth == 0) {
                close = i;
                break;
            }
        }
        if (close == std::string::npos) {
            throw ExpressionError("a \"(\" is not closed");
        }
        const bool inner = evaluateFormula(text.substr(open + 1, close - open - 1));
        text.replace(open, close - open + 1, inner ? "True" : "False");
    }
    auto nextOperator = [&text](std::size_t from) {
        const std::size_t a = text.find("&&", from);
        const std::size_t o = text.find("||", from);
        return a < o ? a : o;
    };
    for (std::size_t op = nextOperator(0); op != std::string::npos; op = nextOperator(0)) {
        const bool isAnd = text[op] == '&';
        const bool left = readBoolean(std::string_view(text).substr(0, op));
        const std::size_t rightEnd = nextOperator(op + 2);
        const std::size_t stop = rightEnd == std::string::npos ? text.size() : rightEnd;
        const bool right = readBoolean(std::string_view(text).substr(op + 2, stop - op - 2));
        const bool result = isAnd ? (left && right) : (left || right);
        text.replace(0, stop, result ? "True" : "False");
    }
    if (text.empty()) {
        return false;
    }
    return readBoolean(text);
}

} // namespace halvika
