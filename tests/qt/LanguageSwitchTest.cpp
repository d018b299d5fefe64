// Changing the language while windows are open: every open window takes the new captions, and back.
#include "fakes/SoundingTestRig.h"
#include "platform/QtSoundingViews.h"
#include "qt/QtTestApp.h"
#include "sounding/AlarmWindowLogic.h"
#include "windows/Translatable.h"
#include "windows/frmAlarm.h"
#include "windows/frmDateTime.h"
#include "windows/frmFind.h"
#include "windows/frmQuickReminder.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(LanguageSwitchTest, OpenWindowsAreTranslatedAgainWhenTheLanguageChanges) {
    test::ensureQtApp();
    test::SoundingTestRig rig;
    QtSoundingViews views(rig.setUp.texts, rig.clock);
    SoundingWindows windows({rig.clock, rig.setUp.texts, rig.settings, rig.watch, rig.groups, rig.setUp.messages},
                            rig.sound, rig.volume, views, "ring.wav");
    views.setWindows(windows);
    auto alarm = rig.alarmWith(1, "Tea");
    windows.showAlarmMessage(alarm, alarm->actions.elementAt(0), Date::fromParts(2026, 3, 7, 8, 0, 0), false, "");
    frmFind find(rig.groups, rig.setUp.texts);
    find.show();
    frmAlarm* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<frmAlarm*>(w)) {
            window = candidate;
        }
    }
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->findChild<QPushButton*>("cmdSnooze")->text(), "&Snooze");
    EXPECT_EQ(window->findChild<QComboBox*>("cmbSnoozeUnit")->itemText(1), "minutes");
    EXPECT_EQ(find.windowTitle(), "Find alarms");

    rig.setUp.texts.setLanguage("Deutsch");
    Translatable::translateAll();
    EXPECT_EQ(window->findChild<QPushButton*>("cmdSnooze")->text(), "&Schlummern");
    EXPECT_EQ(window->findChild<QComboBox*>("cmbSnoozeUnit")->itemText(1), "Minuten");
    EXPECT_EQ(window->findChild<QComboBox*>("cmbSnoozeAddTo")->itemText(1), "ab jetzt");
    EXPECT_EQ(find.windowTitle(), "Alarme suchen");
    EXPECT_EQ(find.findChild<QCheckBox*>("chkMatchCase")->text(), "&Groß-/Kleinschreibung beachten");

    rig.setUp.texts.setLanguage("English");
    Translatable::translateAll();
    EXPECT_EQ(window->findChild<QPushButton*>("cmdSnooze")->text(), "&Snooze");
    EXPECT_EQ(find.findChild<QCheckBox*>("chkMatchCase")->text(), "Match &case");
    windows.closeAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(DateTimeWindowTest, ShowsTodayFromTheClockWithItsCaptionFromTheLanguageFile) {
    test::ensureQtApp();
    test::SoundingTestRig rig;
    rig.setUp.texts.setLanguage("Deutsch");
    frmDateTime window(rig.setUp.texts, rig.clock);
    EXPECT_EQ(window.windowTitle(), "Datum und Uhrzeit");
    EXPECT_EQ(window.findChild<QCalendarWidget*>("calMonth")->selectedDate(), QDate(2026, 3, 7));
    EXPECT_EQ(window.findChild<QLabel*>("lblTime")->text(), "07:05:00");
}

TEST(QuickReminderWindowTest, AUsualWaitIsOneClickAndTheMessageHasItsDefault) {
    test::ensureQtApp();
    test::SoundingTestRig rig;
    frmQuickReminder dialog(rig.setUp.texts);
    EXPECT_EQ(dialog.windowTitle(), "Remind me");
    EXPECT_EQ(dialog.message(), "Reminder");
    dialog.findChild<QLineEdit*>("txtMessage")->setText("   ");
    EXPECT_EQ(dialog.message(), "Reminder"); // nothing typed: still a message to show
    dialog.findChild<QLineEdit*>("txtMessage")->setText("Take the bread out");
    dialog.findChild<QPushButton*>("cmdMinutes15")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.minutes(), 15);
    EXPECT_EQ(dialog.message(), "Take the bread out");
    rig.setUp.texts.setLanguage("Deutsch");
    frmQuickReminder german(rig.setUp.texts);
    EXPECT_EQ(german.message(), "Erinnerung");
    rig.setUp.texts.setLanguage("English");
}

} // namespace
} // namespace halvika
