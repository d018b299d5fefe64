// The one argument the wake-up helper takes, checked before anything is written as root.
#pragma once

#include <cstdint>

namespace halvika {

class WakeAlarmArgument {
public:
    enum class Verdict { Set, Clear, WrongCount, NotANumber, InThePast, TooFarAhead };
    /// Exit codes of the helper.
    static constexpr int exitDone = 0;
    static constexpr int exitUsage = 64;
    static constexpr int exitNotWritten = 74;
    /// How far ahead a wake-up may be set.
    static constexpr std::int64_t maxAheadSeconds = 366LL * 24 * 3600;

    /// `argv` as main gets it. Set and Clear are the only verdicts that let the helper write; Set fills
    /// `second` with the epoch second to wake at.
    static Verdict check(int argc, const char* const* argv, std::int64_t now, std::int64_t& second);
    /// What the helper says to a refused argument.
    static const char* explain(Verdict verdict);
};

} // namespace halvika
