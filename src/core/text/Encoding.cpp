// Conversion of file bytes to the UTF-8 text the program works with.
#include "text/Encoding.h"

#include <array>

namespace halvika {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; the five undefined ones map to the C1 controls
// of the same value, so that no byte is ever lost.
constexpr std::array<char32_t, 32> kCp1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the UTF-8 sequence starting at `pos`, or 0 when it is malformed.
std::size_t sequenceLength(std::string_view s, std::size_t pos) {
    char32_t ignored = 0;
    return Encoding::decodeAt(s, pos, ignored);
}

} // namespace

std::size_t Encoding::decodeAt(std::string_view s, std::size_t pos, char32_t& codePoint) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        codePoint = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, min = 0x80, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, min = 0x800, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (pos + len > s.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    codePoint = cp;
    return len;
}

namespace {} // namespace

bool Encoding::isValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t len = sequenceLength(bytes, pos);
        if (len == 0) {
            return false;
        }
        pos += len;
    }
    return true;
}

void Encoding::appendCodePoint(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Encoding::windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b < 0xA0) {
            appendCodePoint(out, kCp1252High[b - 0x80]);
        } else {
            appendCodePoint(out, b);
        }
    }
    return out;
}

std::string Encoding::decodeFileText(std::string_view bytes, bool* repaired) {
    if (repaired != nullptr) {
        *repaired = false;
    }
    std::size_t multiByte = 0;
    std::size_t stray = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t len = sequenceLength(bytes, pos);
        multiByte += len > 1 ? 1 : 0;
        stray += len == 0 ? 1 : 0;
        pos += len == 0 ? 1 : len;
    }
    if (stray == 0) {
        return std::string(bytes);
    }
    // More stray bytes than UTF-8 characters: a Windows-1252 file, whose accented pairs only look like UTF-8.
    if (multiByte <= stray) {
        return windows1252ToUtf8(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + stray);
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t len = sequenceLength(bytes, pos);
        if (len == 0) {
            out += windows1252ToUtf8(bytes.substr(pos, 1));
            ++pos;
        } else {
            out.append(bytes.substr(pos, len));
            pos += len;
        }
    }
    if (repaired != nullptr) {
        *repaired = true;
    }
    return out;
}

std::size_t Encoding::codePointCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); ++count) {
        const std::size_t len = sequenceLength(text, pos);
        pos += len == 0 ? 1 : len;
    }
    return count;
}

std::string_view Encoding::leadingCodePoints(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        const std::size_t len = sequenceLength(text, pos);
        pos += len == 0 ? 1 : len;
    }
    return text.substr(0, pos);
}

} // namespace halvika
