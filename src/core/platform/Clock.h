// Where the core gets the current local time.
#pragma once

#include "dates/Date.h"

#include <cstdint>

namespace halvika {

class Clock {
public:
    struct Reading {
        Date date;           ///< local date and time, whole second
        int millisecond = 0; ///< 0..999 within that second
    };

    virtual ~Clock() = default;
    /// The current local date and time.
    virtual Reading now() const = 0;
    Date today() const { return now().date; }
    /// Seconds since 1970-01-01 00:00 UTC of a local moment; this base counts local time as UTC.
    virtual std::int64_t epochSeconds(const Date& local) const {
        return local.serialSeconds() - Date::fromParts(1970, 1, 1).serialSeconds();
    }
};

} // namespace halvika
