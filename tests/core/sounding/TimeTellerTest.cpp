// The time teller's commands and templates, and dates typed by the user.
#include "dates/DateText.h"
#include "fakes/DatePrinter.h"
#include "sounding/clsTimeTeller.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

const Date afternoon = Date::fromParts(2026, 3, 7, 14, 5, 9); // a Saturday

TEST(TimeTellerTest, TemplatesFormatEachFieldAndLeaveTheRestAlone) {
    EXPECT_EQ(clsTimeTeller::formatDate("It's <h:mm am/pm>", afternoon), "It's 2:05 pm");
    EXPECT_EQ(clsTimeTeller::formatDate("<dddd>, <d mmmm yyyy> at <hh:nn>", afternoon),
              "Saturday, 7 March 2026 at 14:05");
    // No "<": unchanged; "<" without ">": from there on as it stands.
    EXPECT_EQ(clsTimeTeller::formatDate("Time to go", afternoon), "Time to go");
    EXPECT_EQ(clsTimeTeller::formatDate("<hh:nn> or <later", afternoon), "14:05 or <later");
    // A field whose result holds a field again is formatted again; a chain cannot run forever.
    EXPECT_EQ(clsTimeTeller::formatDate("<\"<\">yyyy>", afternoon), "2026");
    EXPECT_FALSE(clsTimeTeller::formatDate("<\"<\"><\"<>\">", afternoon).empty());
}

TEST(TimeTellerTest, CommandsSpeakTheMomentOrTheSpanAndUnknownWordsTheFixedSentence) {
    // Too short a command: the default sentence for now.
    EXPECT_EQ(clsTimeTeller::sentenceFor("", afternoon), "It's 2:05 pm on Saturday, 3/7/2026.");
    EXPECT_EQ(clsTimeTeller::sentenceFor("now", afternoon), "It's 2:05 pm on Saturday, 3/7/2026.");
    EXPECT_EQ(clsTimeTeller::sentenceFor("now \"Just words\"", afternoon), "Just words");
    EXPECT_EQ(clsTimeTeller::sentenceFor("unt \"<d> days to go\" \"2026/03/08\"", afternoon), "1 days to go");
    EXPECT_EQ(clsTimeTeller::sentenceFor("unt \"<d> days, <h> hours\" \"2026/03/01 14:00\"", afternoon),
              "-6 days, -144 hours");
    EXPECT_EQ(clsTimeTeller::sentenceFor("sin \"<yyyy> years\" \"2000-01-01\"", afternoon), "26 years");
    EXPECT_EQ(clsTimeTeller::sentenceFor("cus \"<dddd>\" \"2026/12/25\"", afternoon), "Friday");
    EXPECT_EQ(clsTimeTeller::sentenceFor("what \"<hh>\"", afternoon), "The date and time cannot be spoken.");
    // A date that cannot be read, or a field that is no interval: nothing is spoken.
    EXPECT_EQ(clsTimeTeller::sentenceFor("unt \"<d>\" \"next Tuesday\"", afternoon), std::nullopt);
    EXPECT_EQ(clsTimeTeller::sentenceFor("unt \"<fortnights>\" \"2026/03/08\"", afternoon), std::nullopt);
    EXPECT_EQ(clsTimeTeller::sentenceFor("unt \"<d>\"", afternoon), std::nullopt);
}

TEST(TimeTellerTest, TypedDatesAcceptYearFirstFormsWithOrWithoutATime) {
    EXPECT_EQ(DateText::parse("2026/03/08"), Date::fromParts(2026, 3, 8));
    EXPECT_EQ(DateText::parse(" 2026-3-8 7:30 "), Date::fromParts(2026, 3, 8, 7, 30));
    EXPECT_EQ(DateText::parse("2026.03.08 07:30:15"), Date::fromParts(2026, 3, 8, 7, 30, 15));
    EXPECT_EQ(DateText::parse("7:30"), Date::fromSerialSeconds(7 * 3600 + 30 * 60));
    for (const char* bad : {"", "2026/02/30", "2026/13/01", "2026/03", "2026/03/08 25:00", "2026/03/08 7", "99/03/08",
                            "tomorrow", "2026//08", "2026/03/08 07:30:15:00", "12345/01/01"}) {
        EXPECT_EQ(DateText::parse(bad), std::nullopt) << bad;
    }
}

} // namespace
} // namespace halvika
