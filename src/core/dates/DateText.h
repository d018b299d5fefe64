// Dates typed by the user, as in the time teller's commands.
#pragma once

#include "dates/Date.h"

#include <optional>
#include <string_view>

namespace halvika {

class DateText {
public:
    /// Reads "yyyy/mm/dd", "yyyy-mm-dd" or "yyyy.mm.dd", optionally followed by a time "hh:nn" or
    /// "hh:nn:ss", or a time alone (on the zero date). Surrounding blanks are ignored. Nothing when the text
    /// is not such a date or names a day or time that does not exist.
    static std::optional<Date> parse(std::string_view text);
};

} // namespace halvika
