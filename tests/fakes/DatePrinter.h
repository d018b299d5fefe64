// Lets test failures show dates in their file form.
#pragma once

#include "dates/Date.h"

#include <ostream>

namespace halvika {

inline void PrintTo(const Date& date, std::ostream* os) {
    *os << date.toFileString();
}

} // namespace halvika
