// The alarm, sound and alarm clock windows offscreen, driven through their buttons, keys and clicks.
#include "fakes/SoundingTestRig.h"
#include "groups/AlarmGroup.h"
#include "platform/QtSoundingViews.h"
#include "qt/QtTestApp.h"
#include "settings/SettingsStore.h"
#include "sounding/AlarmClockLogic.h"
#include "sounding/AlarmWatch.h"
#include "sounding/SoundVolume.h"
#include "sounding/SoundWindowLogic.h"
#include "sounding/SoundingWindows.h"
#include "windows/frmActions.h"
#include "windows/frmAlarm.h"
#include "windows/frmAlarmClock.h"
#include "windows/frmSound.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace halvika {
namespace {

const Date eight = Date::fromParts(2026, 3, 7, 8, 0, 0);

template <typename W> W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) {
            return found;
        }
    }
    return nullptr;
}

void processEvents() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

/// The sounding rig with the real Qt windows in place of the recording ones.
class SoundingWindowsQtTest : public ::testing::Test, protected test::SoundingTestRig {
protected:
    SoundingWindowsQtTest() {
        test::ensureQtApp();
        settings.displayFormats[2] = "hh:nn";
        qtViews.setWindows(qtWindows);
        clock.set(eight);
    }
    ~SoundingWindowsQtTest() override {
        qtWindows.closeAll();
        processEvents();
    }
    /// An alarm whose action wants the snooze controls.
    std::shared_ptr<Alarm> alarm(std::int16_t kind, const std::string& text) {
        auto a = alarmWith(kind, text);
        a->actions.elementAt(0)->settings->addInteger("i", 1);
        return a;
    }

    QtSoundingViews qtViews{setUp.texts, clock};
    SoundingWindows qtWindows{
        {clock, setUp.texts, settings, watch, groups, setUp.messages}, sound, volume, qtViews, "ring.wav"};
};

TEST_F(SoundingWindowsQtTest, TheAlarmWindowShowsTheAlarmAndClosesOnlyAfterItsFirstSecond) {
    auto tea = alarm(1, "The tea is ready");
    qtWindows.showAlarmMessage(tea, tea->actions.elementAt(0), eight, true, "");
    frmAlarm* window = openWindow<frmAlarm>();
    ASSERT_NE(window, nullptr);
    // Shown without taking the keyboard from where the user is typing (the offscreen platform activates
    // every window, so the attribute is what can be checked here).
    EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(window->windowTitle(), "Tea - 08:00");
    EXPECT_EQ(window->findChild<QPlainTextEdit*>("txtAlarmMessage")->toPlainText(), "The tea is ready");
    // Captions and lists come from the language file.
    EXPECT_EQ(window->findChild<QPushButton*>("cmdSnooze")->text(), "&Snooze");
    auto* units = window->findChild<QComboBox*>("cmbSnoozeUnit");
    ASSERT_EQ(units->count(), 7);
    EXPECT_EQ(units->itemText(4), "weeks");
    EXPECT_EQ(units->currentText(), "minutes");
    EXPECT_EQ(window->findChild<QSpinBox*>("pnbSnoozeAmount")->value(), 5);

    QPushButton* ok = window->findChild<QPushButton*>("cmdOk");
    ok->click(); // within the first second: ignored
    processEvents();
    EXPECT_EQ(qtWindows.alarmWindowCount(), 1u);
    clock.set(Date::fromParts(2026, 3, 7, 8, 0, 5));
    QTest::keyClick(window, Qt::Key_Escape);
    processEvents();
    EXPECT_EQ(qtWindows.alarmWindowCount(), 0u);
    EXPECT_EQ(openWindow<frmAlarm>(), nullptr);
}

TEST_F(SoundingWindowsQtTest, SnoozingFromTheWindowSnoozesTheAlarmAndTheTitleBarCloseDoesTheClosingWork) {
    auto tea = alarm(1, "The tea is ready");
    qtWindows.showAlarmMessage(tea, tea->actions.elementAt(0), eight, true, "");
    frmAlarm* window = openWindow<frmAlarm>();
    ASSERT_NE(window, nullptr);
    clock.set(Date::fromParts(2026, 3, 7, 8, 0, 30));
    window->findChild<QSpinBox*>("pnbSnoozeAmount")->setValue(10);
    window->findChild<QComboBox*>("cmbSnoozeAddTo")->setCurrentIndex(1);
    window->findChild<QPushButton*>("cmdSnooze")->click();
    processEvents();
    EXPECT_TRUE(tea->snoozing);
    EXPECT_EQ(tea->nextSnoozeAlarmDate, Date::fromParts(2026, 3, 7, 8, 10, 30));
    EXPECT_EQ(qtWindows.alarmWindowCount(), 0u);

    qtWindows.showAlarmMessage(tea, tea->actions.elementAt(0), eight, true, "");
    window = openWindow<frmAlarm>();
    ASSERT_NE(window, nullptr);
    window->resize(900, 260);
    window->close();
    processEvents();
    EXPECT_EQ(qtWindows.alarmWindowCount(), 0u);
    EXPECT_EQ(settings.alarmWindowWidth, 900 * 15);
}

TEST_F(SoundingWindowsQtTest, TheSoundWindowCountsItsPlaysAndItsStopButtonEndsTheSound) {
    sound.existing = {"/s/chime.wav"};
    auto bell = alarm(8, "/s/chime.wav");
    bell->actions.elementAt(0)->settings->addInteger("i", 3); // three times
    bell->actions.elementAt(0)->settings->addInteger("i", 0);
    // The first "i" (1) is the mode: endless; make it a count.
    bell->actions.elementAt(0)->settings->setInteger("i", 0, 0);
    qtWindows.playAlarmSound(bell, bell->actions.elementAt(0), eight, true);
    frmSound* window = openWindow<frmSound>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(openWindow<frmAlarm>(), nullptr); // a sound alone shows no alarm window
    EXPECT_EQ(window->windowTitle(), "Sound - Tea - 08:00");
    const auto labels = window->findChildren<QLabel*>();
    const auto shows = [&labels](const QString& text) {
        return std::any_of(labels.begin(), labels.end(), [&text](QLabel* l) { return l->text() == text; });
    };
    EXPECT_TRUE(shows("Playing chime.wav"));
    EXPECT_TRUE(shows("time 1 of 3"));
    qtWindows.soundWindow(0)->mediaPlayerDone();
    EXPECT_TRUE(shows("time 2 of 3"));
    window->findChild<QPushButton*>("cmdStopSound")->click();
    processEvents();
    EXPECT_EQ(qtWindows.soundWindowCount(), 0u);
    EXPECT_EQ(sound.log.back(), "stop");
}

TEST_F(SoundingWindowsQtTest, TheAlarmClockSnoozesOnAClickAndRingsOnADoubleClick) {
    qtWindows.showAlarmClock();
    frmAlarmClock* window = openWindow<frmAlarmClock>();
    ASSERT_NE(window, nullptr);
    auto* snoozing = window->findChild<QLabel*>("lblSnoozing");
    EXPECT_FALSE(snoozing->isVisible());
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(qtWindows.alarmClock()->state(), AlarmClockLogic::State::Idle);
    QTest::mouseDClick(window, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(qtWindows.alarmClock()->state(), AlarmClockLogic::State::Sounding);
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(qtWindows.alarmClock()->state(), AlarmClockLogic::State::Snoozing);
    EXPECT_TRUE(snoozing->isVisible());
    QTest::mouseClick(snoozing, Qt::LeftButton);
    EXPECT_EQ(qtWindows.alarmClock()->state(), AlarmClockLogic::State::Idle);
    // The face is painted.
    EXPECT_FALSE(window->grab().toImage().isNull());
    window->close();
    processEvents();
    EXPECT_EQ(qtWindows.alarmClock(), nullptr);
}

TEST_F(SoundingWindowsQtTest, TheActionPickerListsTheKindsAndMakesTheChosenOneWithItsDefaults) {
    frmActions picker(setUp.texts, nullptr);
    const auto entries = ActionCatalog::list(setUp.texts, nullptr);
    ASSERT_EQ(entries.size(), 16u); // kinds 1 to 17 without the plug-in kind
    EXPECT_EQ(entries[0].shortDescription, "Message");
    EXPECT_EQ(entries[0].category, "Show");
    EXPECT_EQ(entries.back().kind, ActionKind::AlarmClock);
    picker.choose(7); // kind 8
    Alarm owner;
    const auto action = picker.chosenAction(&owner);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->action, 8);
    EXPECT_EQ(action->settings->getInteger("i", 1), 3);
    EXPECT_EQ(action->al, &owner);
}

} // namespace
} // namespace halvika
