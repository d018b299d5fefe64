// The "#1", "#2", "#3" placeholders of numbered texts.
#pragma once

#include <string>

namespace halvika {

class Placeholders {
public:
    /// Replaces every "#1", "#2" and "#3" by the values given; placeholders without a value stay.
    static std::string fill(std::string text, const std::string& first, const std::string& second = "#2",
                            const std::string& third = "#3");
};

} // namespace halvika
