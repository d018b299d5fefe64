// A record of what the program noticed and when, for the tests and benchmarks that measure it.
#pragma once

#include <string>

namespace halvika {

/// Writes "<seconds since 1970, to the microsecond> <event>" lines to the file named by
/// $HALVIKA_EVENT_TRACE; nothing at all without it.
class EventTrace {
public:
    static void note(const std::string& event);
    static bool enabled();
};

} // namespace halvika
