// Letter case folded away, for searching without "match case".
#include "text/CaseFolding.h"

#include "text/Encoding.h"

namespace halvika {

char32_t CaseFolding::lower(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20; // ASCII and Latin-1
    }
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs capitals with the next code point, but for two runs that start odd.
        if (c == 0x130) {
            return U'i';
        }
        if (c == 0x178) {
            return 0xFF;
        }
        const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
            return c;
        }
        return oddRun ? (c % 2 == 1 ? c + 1 : c) : (c % 2 == 0 ? c + 1 : c);
    }
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20; // Greek and Cyrillic
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    return c;
}

std::string CaseFolding::folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[pos]);
        if (b0 < 0x80) {
            out += static_cast<char>(b0 >= 'A' && b0 <= 'Z' ? b0 + 0x20 : b0);
            ++pos;
            continue;
        }
        const std::size_t len = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
        if (len == 0 || pos + len > text.size() || !Encoding::isValidUtf8(text.substr(pos, len))) {
            out += text[pos++];
            continue;
        }
        char32_t c = len == 2 ? b0 & 0x1F : len == 3 ? b0 & 0x0F : b0 & 0x07;
        for (std::size_t i = 1; i < len; ++i) {
            c = (c << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
        }
        Encoding::appendCodePoint(out, lower(c));
        pos += len;
    }
    return out;
}

} // namespace halvika
