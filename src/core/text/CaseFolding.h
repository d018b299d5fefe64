// Letter case folded away, for searching without "match case".
#pragma once

#include <string>
#include <string_view>

namespace halvika {

class CaseFolding {
public:
    /// The UTF-8 text with every capital of the Latin, Greek and Cyrillic alphabets made small ("ÄRZT" and
    /// "ärzt" fold alike). Letters without a case, and bytes that are not UTF-8, stay as they are.
    static std::string folded(std::string_view text);
    /// The small letter of one code point (itself when it has none).
    static char32_t lower(char32_t c);
};

} // namespace halvika
