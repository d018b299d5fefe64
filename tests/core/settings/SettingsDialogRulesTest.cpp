// The settings dialog's checks and storing rules.
#include "settings/SettingsDialogRules.h"
#include "alarms/Alarm.h"
#include "base/MessageBoxRoutine.h"
#include "dates/DateUnits.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace halvika {
namespace {

class SettingsDialogRulesTest : public ::testing::Test {
protected:
    bool store(const SettingsDialogRules::Input& input) {
        return SettingsDialogRules::store(
            input, settings, now, home.path(), messages, texts,
            [this](const std::string&) {
                ++savedAll;
                return true;
            },
            [this] { ++marked; });
    }

    test::TempHome home;
    AppPaths paths{home.path(), {HALVIKA_SOURCE_DIR "/data"}};
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    test::ScriptedDialogs dialogs;
    MessageBoxRoutine messages{dialogs};
    SettingsStore settings;
    const Date now = Date::fromParts(2026, 3, 7, 12, 0, 0);
    int savedAll = 0;
    int marked = 0;
};

TEST_F(SettingsDialogRulesTest, ChecksStopAtTheFirstFailure) {
    settings.displayFormats = SettingsStore::displayFormatsFor(0, 0);
    SettingsDialogRules::Input in = SettingsDialogRules::fill(settings, texts);

    in.alarmGroupLocation = "<app_path>\\missing";
    EXPECT_FALSE(store(in));
    EXPECT_EQ(dialogs.shown().back().text, texts.getText("frmSettings", 1));

    in.alarmGroupLocation = "<app_path>\\";
    in.autoSave = false;
    dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_FALSE(store(in));
    EXPECT_TRUE(settings.autoSave);

    in.autoSave = true;
    in.displayFormats[2] = "--- :: ---";
    EXPECT_FALSE(store(in));
    EXPECT_NE(dialogs.shown().back().text.find("--- :: ---"), std::string::npos);
    EXPECT_EQ(marked, 0);
}

TEST_F(SettingsDialogRulesTest, StoringRules) {
    settings.displayFormats = SettingsStore::displayFormatsFor(0, 0);
    settings.inactivityLimitMinutes = 0;
    SettingsDialogRules::Input in = SettingsDialogRules::fill(settings, texts);
    EXPECT_FALSE(in.timeInactive); // 0 shows the box unticked

    in.timeInactiveMinutes = 45; // unticked: stored as 0 whatever the number
    in.snoozeUnitPosition = 4;   // week
    in.overlapUnitPosition = 5;  // month
    std::filesystem::create_directory(home.file("groups"));
    in.alarmGroupLocation = "<app_path>/groups/";
    ASSERT_TRUE(store(in));
    EXPECT_EQ(settings.inactivityLimitMinutes, 0);
    EXPECT_EQ(settings.snoozeUnit, unitWeek);
    EXPECT_EQ(settings.overlapUnit, unitMonth);
    EXPECT_EQ(settings.alarmGroupPath, "<app_path>/groups");
    EXPECT_EQ(savedAll, 1); // the new folder gets every group at once
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(settings.templateText, ""); // the default template is not stored

    in = SettingsDialogRules::fill(settings, texts);
    in.timeInactive = true;
    in.timeInactiveMinutes = 45;
    in.templateAlarm->importance = 3;
    ASSERT_TRUE(store(in));
    EXPECT_EQ(settings.inactivityLimitMinutes, 45);
    EXPECT_NE(settings.templateText, "");
    EXPECT_EQ(savedAll, 1); // same folder: nothing saved
    EXPECT_EQ(SettingsDialogRules::fill(settings, texts).snoozeUnitPosition, 4);
}

} // namespace
} // namespace halvika
