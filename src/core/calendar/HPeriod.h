// A stretch of time covered by one calendar cell: from `start` to `end`, both included.
#pragma once

#include "dates/Date.h"

namespace halvika {

struct HPeriod {
    Date start;
    Date end;

    bool contains(const Date& moment) const { return start <= moment && moment <= end; }
    bool operator==(const HPeriod&) const = default;
};

inline HPeriod createPeriod(const Date& start, const Date& end) {
    return HPeriod{start, end};
}

} // namespace halvika
