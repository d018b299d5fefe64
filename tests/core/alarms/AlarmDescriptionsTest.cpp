// The alarm's texts in lists and tool tips, with the shipped language file and with none.
#include "alarms/Alarm.h"
#include "alarms/AlarmTexts.h"
#include "dates/DateUnits.h"
#include "fakes/TempHome.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/Placeholders.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

std::string rgb(int r, int g, int b) {
    return std::to_string(r + 256 * g + 65536 * b);
}

class AlarmDescriptionsTest : public ::testing::Test {
protected:
    explicit AlarmDescriptionsTest(std::vector<std::string> dataFolders = {HALVIKA_SOURCE_DIR "/data"})
        : paths(home.path(), std::move(dataFolders)) {
        colours.loadColourScheme("default");
        context.now = Date::fromParts(2026, 3, 7, 12, 0, 0);
        context.dateFormat = "dd/mm/yyyy hh:nn";
    }

    std::shared_ptr<Alarm> periodicAlarm() {
        auto a = Alarm::createDefaultAlarm(texts);
        a->momentKind = 1;
        a->everyAmount = 2;
        a->everyUnit = unitHour;
        a->nextDate = Date::fromParts(2026, 3, 1, 8, 0, 0);
        a->activePeriod = Alarm::periodWindow | Alarm::periodWeekdays | Alarm::periodAdvanced;
        a->startDate = Date::fromParts(2026, 3, 1);
        a->endDate = Date::fromParts(2026, 6, 1);
        a->weekDays = 34;
        a->activeAdvanced = "HOUR<=12";
        a->correctionAmount = -10;
        a->correctionUnit = unitMinute;
        a->durationAmount = 30;
        a->durationUnit = unitMinute;
        a->importance = 2;
        a->actions.addElement(clsAction::Create(a.get(), ActionKind::Speak, texts));
        return a;
    }

    test::TempHome home;
    AppPaths paths;
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    ColourScheme colours{paths, ini};
    AlarmTexts context{texts, colours};
};

TEST_F(AlarmDescriptionsTest, MomentRulesInWords) {
    auto once = Alarm::createDefaultAlarm(texts);
    once->onceDate = Date::fromParts(2026, 3, 8, 7, 0, 0);
    const auto item = once->getDateTimeDescriptionItems(context);
    EXPECT_EQ(item.first, "once, on 08/03/2026 07:00");
    EXPECT_EQ(item.second, rgb(0x37, 0x47, 0x4F));

    auto a = periodicAlarm();
    EXPECT_EQ(a->getDateTimeDescriptionItems(context).first,
              "every 2 hours, from 01/03/2026 08:00, between 01/03/2026 00:00 and 01/06/2026 00:00, only on Monday "
              "Friday, when HOUR<=12, corrected by -10 minutes");
    a->correctionAmount = 5;
    EXPECT_NE(a->getDateTimeDescriptionItems(context).first.find("corrected by +5 minutes"), std::string::npos);
    a->endDate = Date::none(); // a window without an end never shows its stand-in year
    const std::string open = a->getDateTimeDescriptionItems(context).first;
    EXPECT_NE(open.find(", not before 01/03/2026 00:00,"), std::string::npos) << open;
    EXPECT_EQ(open.find("9999"), std::string::npos);
    a->everyAmount = 1;
    a->everyUnit = unitDay;
    EXPECT_EQ(a->getDateTimeDescriptionItems(context).first.rfind("every day, from 01/03/2026 08:00,", 0), 0u);

    auto odd = Alarm::createAlarm(nullptr);
    odd->momentKind = 7;
    EXPECT_EQ(odd->getDateTimeDescriptionItems(context), Alarm::TextItem("", std::to_string(ColourScheme::windowText)));
}

TEST_F(AlarmDescriptionsTest, ListColumnsAndToolTip) {
    auto a = periodicAlarm();
    const auto rows = a->getStringItems(context);
    EXPECT_EQ(rows[0].first, "New alarm");
    EXPECT_EQ(rows[1], Alarm::TextItem("on", rgb(0x2E, 0x7D, 0x32)));
    // Weekdays filter the uncorrected grid: Monday 00:00, ten minutes earlier, is still Sunday evening.
    EXPECT_EQ(rows[2].first, "08/03/2026 23:50");
    EXPECT_EQ(rows[4], Alarm::TextItem("Show a message; Speak a text; ", rgb(0x15, 0x65, 0xC0)));
    EXPECT_EQ(rows[5].first, "minutes 30");
    EXPECT_EQ(rows[6].first, "very important");

    const std::string tip = a->getToolTip(context);
    EXPECT_EQ(tip.substr(0, tip.find("\r\n")), "Name: New alarm");
    EXPECT_EQ(std::count(tip.begin(), tip.end(), '\n'), 6);
    EXPECT_NE(tip.find("\r\nImportance: very important"), std::string::npos);
    context.toolTips = false;
    EXPECT_EQ(a->getToolTip(context), "");

    auto never = Alarm::createDefaultAlarm(texts);
    EXPECT_EQ(never->getStringItems(context)[2].first, "no further alarm");
    auto broken = periodicAlarm();
    broken->everyAmount = 0; // the computation raises; the list shows no next moment
    EXPECT_EQ(broken->getStringItems(context)[2].first, "no further alarm");
}

class NoLanguageFileTest : public AlarmDescriptionsTest {
protected:
    NoLanguageFileTest() : AlarmDescriptionsTest({}) {}
};

TEST_F(NoLanguageFileTest, MissingTextsShowAsNotFound) {
    EXPECT_EQ(colours.schemeName(), "");
    auto a = periodicAlarm();
    EXPECT_EQ(a->name, "String [Alarm] s101 not found");
    const auto rows = a->getStringItems(context);
    EXPECT_EQ(rows[1], Alarm::TextItem("String [Alarm] s1 not found", std::to_string(ColourScheme::windowText)));
    EXPECT_EQ(rows[3].first.rfind("String [Alarm] s22 not found", 0), 0u);
    EXPECT_EQ(rows[3].second, ""); // no scheme: no nearness colour
    EXPECT_EQ(rows[4].first, "String [Action] s1 not found; String [Action] s2 not found; ");
    EXPECT_EQ(rows[4].second, std::to_string(ColourScheme::windowText));
    EXPECT_EQ(a->actions.elementAt(0)->settings->getNumberOfNodes(), 0); // no default settings either
}

TEST(Placeholders, EveryOccurrenceIsReplacedAndUnfilledOnesStay) {
    EXPECT_EQ(Placeholders::fill("#1 and #1, #2 #3", "a", "b"), "a and a, b #3");
    EXPECT_EQ(Placeholders::fill("#1", "#1#1"), "#1#1");
    EXPECT_EQ(Placeholders::fill("none", "x", "y", "z"), "none");
}

} // namespace
} // namespace halvika
