// The shipped English language file holds every text the program asks for.
#include "alarms/Alarm.h"
#include "alarms/AlarmTexts.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "settings/ColourScheme.h"
#include "settings/IniFile.h"
#include "settings/modTranslation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace halvika {
namespace {

class LanguageFileTest : public ::testing::Test {
protected:
    LanguageFileTest() {
        texts.setMissingTextObserver([this](const std::string& section, const std::string& key) {
            missing.insert({section, key});
        });
        colours.loadColourScheme("default");
    }

    AppPaths paths{"/nonexistent-home", {HALVIKA_SOURCE_DIR "/data"}};
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    ColourScheme colours{paths, ini};
    std::set<std::pair<std::string, std::string>> missing;
};

TEST_F(LanguageFileTest, DescriptionsOfEveryKindOfAlarmFindTheirTexts) {
    ASSERT_TRUE(texts.languageFileExists());
    ASSERT_EQ(colours.schemeName(), "default");
    AlarmTexts context{texts, colours};
    context.now = Date::fromParts(2026, 3, 7, 12, 0, 0);
    for (int kind = 0; kind < 3; ++kind) {
        for (std::int16_t unit = 0; unit <= 6; ++unit) {
            for (std::int16_t importance = 0; importance <= 5; ++importance) {
                auto a = Alarm::createDefaultAlarm(texts);
                a->momentKind = static_cast<std::int16_t>(kind);
                a->onceDate = Date::fromParts(2026, 3, 8, 7, 0, 0);
                a->nextDate = Date::fromParts(2026, 1, 1, 7, 0, 0);
                a->everyUnit = unit;
                a->durationUnit = unit;
                a->correctionUnit = unit;
                a->correctionAmount = unit - 3;
                a->importance = importance;
                a->Active = importance % 2 == 0;
                a->activePeriod = Alarm::periodWindow | Alarm::periodWeekdays | Alarm::periodAdvanced;
                a->startDate = Date::fromParts(2026, 1, 1);
                a->endDate = Date::fromParts(2027, 1, 1);
                a->weekDays = 127;
                a->activeAdvanced = "DAYOFMONTH<=31";
                for (std::int16_t kind = kindNumber(ActionKind::Message); kind <= kindNumber(ActionKind::AlarmClock);
                     ++kind) {
                    a->actions.addElement(clsAction::Create(a.get(), static_cast<ActionKind>(kind), texts));
                }
                EXPECT_EQ(a->getToolTip(context).find("not found"), std::string::npos);
            }
        }
    }
    EXPECT_TRUE(missing.empty()) << missing.begin()->first << " " << missing.begin()->second;
}

TEST_F(LanguageFileTest, SpecialNextMomentsAndTheSpineFindTheirTexts) {
    AlarmTexts context{texts, colours};
    context.now = Date::fromParts(2026, 3, 7, 12, 0, 0);
    auto gaveUp = Alarm::createAlarm(nullptr);
    gaveUp->momentKind = 1;
    gaveUp->everyAmount = 1;
    gaveUp->everyUnit = unitDay;
    gaveUp->nextDate = Date::fromParts(2026, 1, 1);
    gaveUp->activePeriod = Alarm::periodWeekdays; // no weekday ticked: the search gives up
    EXPECT_EQ(gaveUp->getStringItems(context)[2].first, "not found in the next 1000 periods");
    for (const Date& special : {Date::fromParts(9999, 12, 1), Date::fromParts(9999, 12, 2)}) {
        auto a = Alarm::createAlarm(nullptr);
        a->onceDate = special;
        a->getStringItems(context);
    }
    for (int n : {209, 210, 217, 219, 220}) {
        texts.getMainText(n);
    }
    EXPECT_TRUE(missing.empty()) << missing.begin()->first << " " << missing.begin()->second;
}

TEST_F(LanguageFileTest, EveryWindowHasItsCaptionAndNumberedTexts) {
    const auto file = IniFile::load(HALVIKA_SOURCE_DIR "/data/English.lng");
    ASSERT_TRUE(file.has_value());
    const std::pair<const char*, std::vector<int>> numbered[] = {
        {"frmHalvikaMain", {102, 103, 104, 105, 106, 201, 202, 203, 204, 205, 206, 207,
                            208, 209, 210, 211, 212, 216, 217, 219, 220, 221, 222}},
        {"frmAlarmProperties", {1, 2, 4, 5, 6, 9, 10, 11, 13, 14}},
        {"frmAlarm", {2, 3, 4, 21, 22, 23, 101, 102}},
        {"frmSound", {21}},
        {"frmSettings", {1, 2}},
        {"frmFirstTimeSettings", {1, 2, 3, 4, 11, 12}},
        {"AlarmGroup", {1, 2, 11, 101, 901}},
        {"Action", {901, 902}},
        {"Filters", {1, 2, 3, 4, 5}},
    };
    for (const auto& [section, numbers] : numbered) {
        for (int n : numbers) {
            EXPECT_TRUE(file->value(section, "s" + std::to_string(n)).has_value()) << section << " s" << n;
        }
    }
    for (const char* window : {"frmHalvikaMain", "frmAlarmProperties", "frmAbout", "frmAlarm", "frmSettings",
                               "frmDateTime", "frmAlarmGroupProperties", "frmFind", "frmFirstTimeSettings", "frmSound",
                               "frmActions", "frmPlugIns", "frmAlarmClock", "frmMessage", "HalvikaCalendar"}) {
        EXPECT_TRUE(file->value(window, window).has_value()) << window;
    }
    for (int kind = 1; kind <= 17; ++kind) {
        for (const char* letter : {"s", "c", "d"}) {
            EXPECT_EQ(file->value("Action", std::to_string(kind) + letter).has_value(), kind != 16) << kind << letter;
        }
    }
    // The assistant's greetings for the four quarters of the day, its summaries and its closing phrase.
    for (int phrase : {2, 3, 4, 5, 100, 200, 300}) {
        EXPECT_FALSE(texts.getAssistantText(phrase).empty()) << phrase;
    }
    EXPECT_EQ(file->value("Language", "msid"), "1033");
}

} // namespace
} // namespace halvika

namespace halvika {
namespace {

/// Every "section/key" of a language file, read line by line.
std::set<std::string> keysOf(const std::string& path) {
    std::set<std::string> keys;
    std::ifstream in(path);
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            keys.insert(section + "/" + line.substr(0, equals));
        }
    }
    return keys;
}

TEST(LanguageFilesTest, TheGermanFileHasEveryKeyOfTheEnglishOneAndNoOther) {
    const auto english = keysOf(HALVIKA_SOURCE_DIR "/data/English.lng");
    const auto german = keysOf(HALVIKA_SOURCE_DIR "/data/Deutsch.lng");
    ASSERT_GT(english.size(), 400u);
    std::vector<std::string> missingInGerman, extraInGerman;
    std::set_difference(english.begin(), english.end(), german.begin(), german.end(),
                        std::back_inserter(missingInGerman));
    std::set_difference(german.begin(), german.end(), english.begin(), english.end(),
                        std::back_inserter(extraInGerman));
    EXPECT_TRUE(missingInGerman.empty()) << ::testing::PrintToString(missingInGerman);
    EXPECT_TRUE(extraInGerman.empty()) << ::testing::PrintToString(extraInGerman);

    // And it is read as German: the id the first-run dialog chooses by, and a text with umlauts.
    AppPaths paths{"/nonexistent-home", {HALVIKA_SOURCE_DIR "/data"}};
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    texts.setLanguage("Deutsch");
    EXPECT_EQ(texts.getValue("Language", "msid", ""), "1031");
    EXPECT_EQ(texts.getMainText(209), "Nächster Alarm:");

    // Dates are named in the chosen language; the English file gives exactly the built-in English names,
    // and a name a file lacks comes from the fallback.
    const DateNames germanNames = texts.dateNames(DateNames::english());
    EXPECT_EQ(formatDate("dddd d mmmm", Date::fromParts(2026, 3, 8), germanNames), "Sonntag 8 März");
    EXPECT_EQ(formatDate("ddd mmm", Date::fromParts(2026, 12, 8), germanNames), "Di Dez.");
    texts.setLanguage("English");
    const DateNames englishNames = texts.dateNames(DateNames{});
    EXPECT_EQ(englishNames.longDays, DateNames::english().longDays);
    EXPECT_EQ(englishNames.shortDays, DateNames::english().shortDays);
    EXPECT_EQ(englishNames.longMonths, DateNames::english().longMonths);
    EXPECT_EQ(englishNames.shortMonths, DateNames::english().shortMonths);
    texts.setLanguage("NoSuchLanguage");
    EXPECT_EQ(texts.dateNames(DateNames::english()).longMonths[2], "March");
}

} // namespace
} // namespace halvika
