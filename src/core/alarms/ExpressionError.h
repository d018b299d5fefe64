// The error raised by a date expression that cannot be evaluated.
#pragma once

#include <stdexcept>
#include <string>

namespace halvika {

/// Raised by clsAdvancedDate::getDateEval for malformed expressions; the alarm editor catches it to refuse
/// the expression, and the next-moment search passes it on to its caller.
class ExpressionError : public std::runtime_error {
public:
    explicit ExpressionError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace halvika
