// The one argument the wake-up helper takes, checked before anything is written as root.
#include "wakealarm/WakeAlarmArgument.h"

namespace halvika {

WakeAlarmArgument::Verdict WakeAlarmArgument::check(int argc, const char* const* argv, std::int64_t now,
                                                    std::int64_t& second) {
    second = 0;
    if (argc != 2 || argv == nullptr || argv[1] == nullptr) {
        return Verdict::WrongCount;
    }
    const char* text = argv[1];
    // Plain decimal digits only: no sign, no spaces, no leading zero, at most 12 digits (year 33658).
    int digits = 0;
    std::int64_t value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || ++digits > 12 || (digits == 2 && text[0] == '0')) {
            return Verdict::NotANumber;
        }
        value = value * 10 + (*c - '0');
    }
    if (digits == 0) {
        return Verdict::NotANumber;
    }
    if (value == 0) {
        return Verdict::Clear;
    }
    if (value <= now) {
        return Verdict::InThePast;
    }
    if (value - now > maxAheadSeconds) {
        return Verdict::TooFarAhead;
    }
    second = value;
    return Verdict::Set;
}

const char* WakeAlarmArgument::explain(Verdict verdict) {
    switch (verdict) {
    case Verdict::Set:
    case Verdict::Clear:
        return "";
    case Verdict::WrongCount:
        return "takes exactly one argument: the second to wake at (since 1970, UTC), or 0 to clear";
    case Verdict::NotANumber:
        return "the argument is not a whole number of seconds";
    case Verdict::InThePast:
        return "the moment to wake at has passed";
    case Verdict::TooFarAhead:
        return "the moment to wake at is more than a year ahead";
    }
    return "";
}

} // namespace halvika
