// The real local clock, read through the C library.
#pragma once

#include "platform/Clock.h"

namespace halvika {

class PosixClock : public Clock {
public:
    Reading now() const override;
    /// Through the zone's rules; a moment in a gap of a change to summer time counts after the gap.
    std::int64_t epochSeconds(const Date& local) const override;
    /// The time zone changed: the C library reads it again (a zone that does not exist reads as UTC).
    static void zoneChanged();
};

} // namespace halvika
