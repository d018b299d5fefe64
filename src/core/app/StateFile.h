// The state file that tells how the last run ended.
#pragma once

#include "dates/Date.h"

#include <string>

namespace halvika {

/// One digit, no line end: "0" ended normally, "1" ended within 30 seconds of start, "2" running or
/// never reached the exit routine, "3" the start-up check is off.
class StateFile {
public:
    static constexpr const char* fileName = "state";

    /// The whole content; "" when the file is missing or unreadable.
    static std::string read(const std::string& path);
    /// Replaces the file; false on failure (callers ignore it and go on).
    static bool write(const std::string& path, const std::string& content);

    /// The state to write at exit: "3" while the check is off; "0" after more than one day boundary or more
    /// than 30 seconds; otherwise "1" (the run was very short).
    static std::string exitState(const std::string& runState, const Date& start, const Date& now);
};

} // namespace halvika
