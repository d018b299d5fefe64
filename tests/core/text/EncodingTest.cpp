// File bytes to UTF-8.
#include "text/Encoding.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(Encoding, Utf8IsKeptAndAnythingElseIsWindows1252) {
    EXPECT_TRUE(Encoding::isValidUtf8("plain"));
    EXPECT_TRUE(Encoding::isValidUtf8("caf\xC3\xA9 \xF0\x9F\x94\x94"));
    EXPECT_FALSE(Encoding::isValidUtf8("caf\xE9"));
    EXPECT_FALSE(Encoding::isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(Encoding::isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(Encoding::isValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(Encoding::isValidUtf8("\xE2\x82"));         // truncated

    EXPECT_EQ(Encoding::decodeFileText("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(Encoding::decodeFileText("caf\xE9 \x80\x92"), "caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x99");
    bool repaired = true;
    EXPECT_EQ(Encoding::decodeFileText("caf\xC3\xA9", &repaired), "caf\xC3\xA9");
    EXPECT_FALSE(repaired);

    // A UTF-8 file with one stray byte keeps its UTF-8 text; only that byte is read as Windows-1252.
    const std::string mixed = "M\xC3\xBCller \xE2\x98\x95 caf\xE9";
    EXPECT_EQ(Encoding::decodeFileText(mixed, &repaired), "M\xC3\xBCller \xE2\x98\x95 caf\xC3\xA9");
    EXPECT_TRUE(repaired);
    // A Windows-1252 file whose accented pair happens to look like UTF-8 is still read as Windows-1252.
    EXPECT_EQ(Encoding::decodeFileText("\xC3\xA9t\xE9 \xE0 \xF4", &repaired),
              "\xC3\x83\xC2\xA9t\xC3\xA9 \xC3\xA0 \xC3\xB4");
    EXPECT_FALSE(repaired);

    // Bytes that Windows-1252 leaves undefined still come through, as C1 controls.
    EXPECT_EQ(Encoding::windows1252ToUtf8("\x81\x8D"), "\xC2\x81\xC2\x8D");
}

TEST(Encoding, CodePointCounting) {
    EXPECT_EQ(Encoding::codePointCount("a\xC3\xA9\xF0\x9F\x94\x94"), 3u);
    EXPECT_EQ(Encoding::codePointCount("\xFF\xFE"), 2u);
    EXPECT_EQ(Encoding::leadingCodePoints("a\xC3\xA9z", 2), "a\xC3\xA9");
    EXPECT_EQ(Encoding::leadingCodePoints("ab", 5), "ab");
    std::string out;
    Encoding::appendCodePoint(out, 0xD800);
    EXPECT_EQ(out, "\xEF\xBF\xBD");
}

} // namespace
} // namespace halvika
