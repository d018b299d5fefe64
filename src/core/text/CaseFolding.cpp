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
        char32_t c = 0;
        const std::size_t len = Encoding::decodeAt(text, pos, c);
        if (len == 0) {
            out += text[pos++]; // not UTF-8: kept as it is
            continue;
        }
        Encoding::appendCodePoint(out, lower(c));
        pos += len;
    }
    return out;
}

} // namespace halvika
