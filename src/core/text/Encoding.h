// Conversion of file bytes to the UTF-8 text the program works with.
#pragma once

#include <string>
#include <string_view>

namespace halvika {

class Encoding {
public:
    /// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
    static bool isValidUtf8(std::string_view bytes);

    /// Reads every byte as a Windows-1252 character and returns the UTF-8 text.
    static std::string windows1252ToUtf8(std::string_view bytes);

    /// File bytes as UTF-8, decided per file: valid UTF-8 stays as it is; a file of Windows-1252 text (the
    /// old platform's) is read as such; a UTF-8 file with a few stray bytes keeps its UTF-8 text and only
    /// those bytes are read as Windows-1252 characters, `repaired` then being set.
    static std::string decodeFileText(std::string_view bytes, bool* repaired = nullptr);

    /// The code point whose UTF-8 sequence starts at `pos` (which must lie inside the text), and the
    /// sequence's length; 0 when the bytes there are not well-formed UTF-8.
    static std::size_t decodeAt(std::string_view text, std::size_t pos, char32_t& codePoint);

    /// Appends the UTF-8 form of a code point; invalid code points become U+FFFD.
    static void appendCodePoint(std::string& out, char32_t codePoint);

    /// The number of code points in valid or invalid UTF-8 (each stray byte counts as one).
    static std::size_t codePointCount(std::string_view text);

    /// The first `count` code points of the text, never splitting a multi-byte sequence.
    static std::string_view leadingCodePoints(std::string_view text, std::size_t count);
};

} // namespace halvika
