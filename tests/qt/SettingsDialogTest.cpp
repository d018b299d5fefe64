// The settings dialog on the real core: it opens with the stored values and stores through the core's rules.
#include "app/AutostartEntry.h"
#include "app/CoreSubsystems.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/CoreTestRig.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingRunner.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "platform/posix/PosixPluginProcess.h"
#include "qt/QtTestApp.h"
#include "settings/modTranslation.h"
#include "windows/frmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace halvika {
namespace {

class SettingsDialogTest : public ::testing::Test, protected test::CoreTestServices {
protected:
    SettingsDialogTest() {
        test::ensureQtApp();
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><wl>7</wl><dsu>2</dsu><lng>English</lng>"
                              "<df><al>dd/mm/yyyy hh:nn</al><sa>hh:nn</sa><na>dddd hh:nn</na><ot>dd/mm/yyyy</ot></df>"
                              "</settings>");
        core.mainStart(false);
    }
    CoreSubsystems core = makeCore();
};

TEST_F(SettingsDialogTest, OpensWithTheStoredValuesAndStoresThroughTheRules) {
    frmSettings dialog(core, texts, messages, clock, {"(1) English"}, {"English"}, {"default"});
    EXPECT_EQ(dialog.findChild<QSpinBox*>("pnbWarning")->value(), 7);
    EXPECT_EQ(dialog.findChild<QComboBox*>("cmbSnoozeUnit")->currentText(), "hours");
    EXPECT_EQ(dialog.findChild<QTabWidget*>("tabSettings")->tabText(3), "Sound and speech");
    EXPECT_EQ(dialog.findChild<QComboBox*>("cmbWhenUnblocked")->count(), 3);
    auto* voices = dialog.findChild<QComboBox*>("cmbVoice");
    ASSERT_EQ(voices->count(), 2);
    EXPECT_EQ(voices->currentIndex(), 0); // no voice chosen yet
    voices->setCurrentIndex(1);

    bool applied = false;
    dialog.applied = [&applied] { applied = true; };
    dialog.findChild<QSpinBox*>("pnbWarning")->setValue(3);
    dialog.findChild<QComboBox*>("cmbSnoozeUnit")->setCurrentIndex(4); // weeks
    dialog.findChild<QCheckBox*>("chkTimeInactive")->setChecked(false);
    dialog.findChild<QCheckBox*>("chkUseOneAlarmWindow")->setChecked(true);
    ASSERT_TRUE(dialog.apply());
    EXPECT_TRUE(applied);
    EXPECT_EQ(core.settings().warningLimit, 3);
    EXPECT_EQ(core.watchSettings().warningLimit, 3); // handed to the watch at once
    EXPECT_EQ(core.settings().snoozeUnit, 6);
    EXPECT_EQ(core.settings().inactivityLimitMinutes, 0);
    EXPECT_TRUE(core.settings().oneAlarmWindow);
    EXPECT_EQ(core.settings().voice, "(1) English");
    EXPECT_TRUE(core.watch().pendingWork() & AlarmWatch::settingsChanged);

    // A folder that does not exist: message 1, nothing stored.
    dialog.findChild<QLineEdit*>("txtAlarmGroupLocation")->setText(QString::fromStdString(home.file("nowhere")));
    dialog.findChild<QSpinBox*>("pnbWarning")->setValue(9);
    EXPECT_FALSE(dialog.apply());
    EXPECT_EQ(core.settings().warningLimit, 3);
    EXPECT_EQ(dialogs.shown().back().text, "The alarm group folder does not exist. Please choose an existing folder.");
}

TEST_F(SettingsDialogTest, SchemesAreListedByTheirLanguageNamesAndStoredByFileName) {
    core.settings().colourScheme = "night";
    frmSettings dialog(core, texts, messages, clock, {}, {"English"}, {"default", "night"});
    auto* schemes = dialog.findChild<QComboBox*>("cmbColorscheme");
    ASSERT_EQ(schemes->count(), 2);
    EXPECT_EQ(schemes->itemText(0), "Default"); // cscdefault
    EXPECT_EQ(schemes->itemText(1), "night");   // no text: the base name
    EXPECT_EQ(schemes->currentIndex(), 1);
    schemes->setCurrentIndex(0);
    ASSERT_TRUE(dialog.apply());
    EXPECT_EQ(core.settings().colourScheme, "default");
}

TEST_F(SettingsDialogTest, TheSafetyCheckIsSwitchedOffAndOnAgain) {
    std::string runState = "2";
    frmSettings dialog(core, texts, messages, clock, {}, {"English"}, {"default"});
    dialog.safetyCheckOn = [&runState] { return runState != "3"; };
    dialog.setSafetyCheck = [&runState](bool on) { runState = on ? "2" : "3"; };
    dialog.showProgramSwitches();
    auto* box = dialog.findChild<QCheckBox*>("chkSafetyCheckAtStartup");
    ASSERT_TRUE(box->isEnabled());
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    ASSERT_TRUE(dialog.apply());
    EXPECT_EQ(runState, "3");
    box->setChecked(true);
    ASSERT_TRUE(dialog.apply());
    EXPECT_EQ(runState, "2");
}

TEST_F(SettingsDialogTest, TheAutostartCheckBoxWritesAndRemovesTheEntry) {
    {
        frmSettings unwired(core, texts, messages, clock, {}, {"English"}, {"default"});
        EXPECT_FALSE(unwired.findChild<QCheckBox*>("chkAutostart")->isEnabled());
        EXPECT_FALSE(unwired.findChild<QCheckBox*>("chkSafetyCheckAtStartup")->isEnabled());
    }
    const AutostartEntry entry(home.file("config"), "/nonexistent");
    frmSettings dialog(core, texts, messages, clock, {}, {"English"}, {"default"});
    dialog.autostartEnabled = [&entry] { return entry.exists(); };
    dialog.setAutostart = [&entry, this](bool on) { return entry.set(on, "/usr/bin/halvika", home.path()); };
    dialog.showProgramSwitches();
    auto* box = dialog.findChild<QCheckBox*>("chkAutostart");
    ASSERT_TRUE(box->isEnabled());
    EXPECT_FALSE(box->isChecked());

    box->setChecked(true);
    ASSERT_TRUE(dialog.apply());
    EXPECT_NE(home.read("config/autostart/halvika.desktop").find("Exec=/usr/bin/halvika --hidden --home "),
              std::string::npos);
    box->setChecked(false);
    ASSERT_TRUE(dialog.apply());
    EXPECT_FALSE(entry.exists());
}

} // namespace
} // namespace halvika
