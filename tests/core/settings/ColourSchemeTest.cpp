// Colour schemes: value syntax, slots, named colours, the time gradient and shading.
#include "settings/ColourScheme.h"
#include "fakes/TempHome.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(ColourScheme, ValueSyntax) {
    EXPECT_EQ(ColourScheme::parseSchemeColour("#FF8000"), 33023);
    EXPECT_EQ(ColourScheme::parseSchemeColour("#ff8000"), 33023);
    EXPECT_EQ(ColourScheme::parseSchemeColour("&H0080FF"), 33023);
    EXPECT_EQ(ColourScheme::parseSchemeColour("&H0080FF&"), 33023);
    EXPECT_EQ(ColourScheme::parseSchemeColour("&H80000008"), -2147483640);
    for (const char* bad : {"", "-1", "FF8000", "#FF80", "#GG8000", "&H", "&HXYZ", "&H123456789", "red"}) {
        EXPECT_EQ(ColourScheme::parseSchemeColour(bad), -1) << bad;
    }
}

TEST(ColourScheme, SlotsNamesAndMissingSchemes) {
    test::TempHome home;
    AppPaths paths(home.path(), {});
    modIniFileHandling ini;
    ColourScheme scheme(paths, ini);
    EXPECT_EQ(scheme.loadColourScheme("missing"), "");
    EXPECT_EQ(scheme.getSchemeColour(3, 7), 7);
    EXPECT_EQ(scheme.getNamedSchemeColourText("work", 9), "9");
    EXPECT_EQ(scheme.getTimeGradientColourText(Date(), Date(), 1, 2), "");

    home.write("calm.csc", "[Colors]\ns3=#FF8000\ns4=-1\ns5=nonsense\nwork=#000080\n");
    EXPECT_EQ(scheme.loadColourScheme("calm"), "calm");
    EXPECT_EQ(scheme.getSchemeColour(3, 7), 33023);
    EXPECT_EQ(scheme.getSchemeColour(4, 7), 7);
    EXPECT_EQ(scheme.getSchemeColour(5, 7), 7);
    EXPECT_EQ(scheme.getSchemeColour(60, 7), 7);
    EXPECT_EQ(scheme.getSchemeColourText(3, 7), "33023");
    EXPECT_EQ(scheme.getNamedSchemeColourText("WORK", 9), std::to_string(128 * 65536));
    EXPECT_EQ(scheme.getNamedSchemeColourText("home", 9), "9");
}

TEST(ColourScheme, TimeGradient) {
    test::TempHome home;
    home.write("g.csc", "[Colors]\ns1=#000000\ns2=#FFFFFF\n");
    AppPaths paths(home.path(), {});
    modIniFileHandling ini;
    ColourScheme scheme(paths, ini);
    scheme.loadColourScheme("g");
    const Date now = Date::fromParts(2026, 3, 7);
    EXPECT_EQ(scheme.getTimeGradientColourText(now, now, 1, 2), "0");
    // 100 seconds: t = log10(10) / 7.5 = 0.1333..., each channel round(255 t) = 34.
    EXPECT_EQ(scheme.getTimeGradientColourText(now, Date::fromSerialSeconds(now.serialSeconds() + 100), 1, 2),
              std::to_string(34 + 256 * 34 + 65536 * 34));
    EXPECT_EQ(scheme.getTimeGradientColourText(now, Date::fromParts(2046, 1, 1), 1, 2), std::to_string(16777215));
    EXPECT_EQ(scheme.getTimeGradientColourText(Date::fromSerialSeconds(now.serialSeconds() + 100), now, 1, 2),
              std::to_string(34 + 256 * 34 + 65536 * 34));
}

TEST(ColourScheme, Shading) {
    EXPECT_EQ(ColourScheme::shadeColour(33023, 0, true), 33023);
    EXPECT_EQ(ColourScheme::shadeColour(33023, 1, true), 0);
    EXPECT_EQ(ColourScheme::shadeColour(33023, 0.5, false), 128 + 256 * 64);
    EXPECT_EQ(ColourScheme::shadeColour(0, 0.5, true), 128 + 256 * 128 + 65536 * 128);
    const int systemWindow = ColourScheme::shadeColour(ColourScheme::windowText, 0, true,
                                                       [](int index) { return index == 8 ? 0x00FF00 : -1; });
    EXPECT_EQ(systemWindow, 0x00FF00);
}

} // namespace
} // namespace halvika
