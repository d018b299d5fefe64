// The program's version numbers and release date, fixed at each release.
#pragma once

#include "dates/Date.h"

#include <string>

namespace halvika {

struct ProgramVersion {
    static constexpr int major = 0;
    static constexpr int minor = 1;
    static constexpr int revision = 0;
    static std::string text() {
        return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
    }
    static Date releaseDate() { return Date::fromParts(2026, 12, 5); }

    static constexpr const char* downloadAddress = "https://halvika.org/download";
    static constexpr const char* supportAddress = "support@halvika.org";
};

} // namespace halvika
