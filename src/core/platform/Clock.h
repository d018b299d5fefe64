// Where the core gets the current local time.
#pragma once

#include "dates/Date.h"

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
};

} // namespace halvika
