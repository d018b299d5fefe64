// The real local clock, read through the C library.
#include "platform/posix/PosixClock.h"

#include <ctime>

namespace halvika {

Clock::Reading PosixClock::now() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    Reading r;
    // The system clock is always within the representable years.
    r.date = Date::tryFromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                                local.tm_sec)
                 .value_or(Date());
    r.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
    return r;
}

std::int64_t PosixClock::epochSeconds(const Date& local) const {
    tm parts{};
    parts.tm_year = local.year() - 1900;
    parts.tm_mon = local.month() - 1;
    parts.tm_mday = local.day();
    parts.tm_hour = local.hour();
    parts.tm_min = local.minute();
    parts.tm_sec = local.second();
    parts.tm_isdst = -1;
    const time_t t = mktime(&parts);
    return t == static_cast<time_t>(-1) ? Clock::epochSeconds(local) : static_cast<std::int64_t>(t);
}

void PosixClock::zoneChanged() {
    tzset();
}

} // namespace halvika
