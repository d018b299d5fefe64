// Small text helpers for the program's own ASCII syntax: blanks and letter case.
#pragma once

#include <string>
#include <string_view>

namespace halvika {

class AsciiText {
public:
    /// Space, tab, CR, LF, form feed and vertical tab.
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

    /// Whether the text holds a control character (below 0x20, or DEL); tab, CR and LF count only when
    /// `lineBreaksAllowed` is false.
    static bool hasControlCharacter(std::string_view text, bool lineBreaksAllowed) {
        for (const char c : text) {
            const auto b = static_cast<unsigned char>(c);
            if ((b < 0x20 && !(lineBreaksAllowed && (c == '\n' || c == '\r' || c == '\t'))) || b == 0x7F) {
                return true;
            }
        }
        return false;
    }

    static std::string_view trimmed(std::string_view text) {
        while (!text.empty() && isBlank(text.front())) {
            text.remove_prefix(1);
        }
        while (!text.empty() && isBlank(text.back())) {
            text.remove_suffix(1);
        }
        return text;
    }

    /// Upper- or lower-cases A-Z only; other bytes (UTF-8 included) stay as they are.
    static char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
    static char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

    static std::string lowered(std::string_view text) {
        std::string out(text);
        for (char& c : out) {
            c = lower(c);
        }
        return out;
    }

    static bool equalsIgnoringCase(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (lower(a[i]) != lower(b[i])) {
                return false;
            }
        }
        return true;
    }
};

} // namespace halvika
