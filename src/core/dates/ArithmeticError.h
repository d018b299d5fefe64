// The error raised by date and period arithmetic that leaves the representable range.
#pragma once

#include <stdexcept>
#include <string>

namespace halvika {

/// Raised by date arithmetic leaving the years 100-9999, by a unit count beyond 32 bits, and by the
/// next-moment computation on division by zero or overflow. Callers outside that computation catch it
/// and treat it as their routine's failure.
class ArithmeticError : public std::runtime_error {
public:
    explicit ArithmeticError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace halvika
