// The special-command text of command actions: "word|first argument|second argument".
#include "sounding/SpecialCommand.h"

#include "text/AsciiText.h"

namespace halvika {

SpecialCommand SpecialCommand::parse(std::string_view command) {
    SpecialCommand c;
    const std::size_t bar1 = command.find('|');
    c.word = std::string(command.substr(0, bar1));
    if (bar1 == std::string_view::npos) {
        return c;
    }
    const std::size_t bar2 = command.find('|', bar1 + 1);
    c.first = std::string(
        command.substr(bar1 + 1, bar2 == std::string_view::npos ? std::string_view::npos : bar2 - bar1 - 1));
    if (bar2 == std::string_view::npos) {
        return c;
    }
    const std::size_t bar3 = command.find('|', bar2 + 1);
    c.second = std::string(
        command.substr(bar2 + 1, bar3 == std::string_view::npos ? std::string_view::npos : bar3 - bar2 - 1));
    return c;
}

std::string SpecialCommand::lowerWord() const {
    return AsciiText::lowered(word);
}

} // namespace halvika
