// The special-command text of command actions: "word|first argument|second argument".
#pragma once

#include <string>
#include <string_view>

namespace halvika {

struct SpecialCommand {
    std::string word;   ///< as typed; compared in lower case
    std::string first;  ///< between the first and second "|" (the rest when there is no second)
    std::string second; ///< after the second "|", up to a third "|" or the end

    static SpecialCommand parse(std::string_view command);
    /// The word in lower case, for recognising "screensaver", "shutdown", "reboot", "logoff", "speak", "tt".
    std::string lowerWord() const;
};

} // namespace halvika
