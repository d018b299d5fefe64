// Sets the computer's real-time-clock wake-up alarm, which needs privilege.
#pragma once

#include <cstdint>
#include <functional>

namespace halvika {

class WakeAlarmSetter {
public:
    enum class Outcome {
        Done,
        Missing, ///< the helper, or the means to run it with privilege, is not installed
        Refused, ///< the user's session may not set the wake-up clock
        Failed,  ///< the helper ran and could not set it
    };

    virtual ~WakeAlarmSetter() = default;
    /// Wakes the computer at `epochSeconds` (0 clears the alarm). Never waits: `done` is told the outcome
    /// later, on the same thread.
    virtual void set(std::int64_t epochSeconds, std::function<void(Outcome)> done) = 0;
};

} // namespace halvika
