// The windows of sleep and wake-up: the missed-alarms window sounds what the user ticks; the settings keep
// the wake-up choice and say why waking does not work; the pkexec setter tells each outcome.
#include "app/CoreSubsystems.h"
#include "fakes/CoreTestRig.h"
#include "platform/ClockChangeWatcher.h"
#include "platform/PkexecWakeAlarmSetter.h"
#include "qt/QtTestApp.h"
#include "windows/frmMissedAlarms.h"
#include "windows/frmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace halvika {
namespace {

class SleepWakeWindowsTest : public ::testing::Test, protected test::CoreTestServices {
protected:
    SleepWakeWindowsTest() {
        test::ensureQtApp();
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><lng>English</lng></settings>");
        home.write("usg_0.agx", "<algr><name>Home</name><stat>-1</stat>"
                                "<alrm><name>Pills</name><oncd>2026/03/07 09:00:00</oncd><saia>0</saia>"
                                "<acti><acid>1</acid><plug></plug><sett><s>x</s></sett></acti></alrm>"
                                "<alrm><name>Bins</name><oncd>2026/03/07 10:00:00</oncd><saia>0</saia>"
                                "<acti><acid>1</acid><plug></plug><sett><s>x</s></sett></acti></alrm></algr>");
        core.mainStart(false);
    }
    CoreSubsystems core = makeCore();
};

TEST_F(SleepWakeWindowsTest, TheMissedWindowSoundsTheTickedAlarmsAndDismissesTheRest) {
    const auto group = core.groups().alarmGroups.elementAt(0);
    ASSERT_EQ(group->alarms.numberOfElements(), 2);
    DateVector moments;
    moments.addDate(Date::fromParts(2026, 3, 7, 9, 0, 0));
    moments.addDate(Date::fromParts(2026, 3, 7, 10, 0, 0));
    frmMissedAlarms window(texts, core.watch(), "hh:nn");
    window.add(group->alarms, moments, false);
    auto* rows = window.findChild<QTreeWidget*>("lvwMissed");
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(0)->text(0), "Home");
    EXPECT_EQ(rows->topLevelItem(0)->text(1), "Pills");
    EXPECT_EQ(rows->topLevelItem(1)->text(2), "10:00");
    EXPECT_EQ(rows->headerItem()->text(2), "Due");
    auto* sound = window.findChild<QPushButton*>("cmdSoundNow");
    EXPECT_EQ(sound->text(), "&Sound them now");
    EXPECT_FALSE(sound->isEnabled()); // nothing ticked yet

    rows->topLevelItem(1)->setCheckState(0, Qt::Checked);
    ASSERT_TRUE(sound->isEnabled());
    sound->click();
    ASSERT_EQ(runner.names(), std::vector<std::string>{"Bins"});
    EXPECT_EQ(runner.soundings[0].moment, Date::fromParts(2026, 3, 7, 10, 0, 0));
    ASSERT_EQ(rows->topLevelItemCount(), 1);
    EXPECT_EQ(rows->topLevelItem(0)->text(1), "Pills");

    window.show();
    window.findChild<QPushButton*>("cmdDismiss")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.list().count(), 0);
    EXPECT_EQ(runner.soundings.size(), 1u);
}

TEST_F(SleepWakeWindowsTest, TheSettingsKeepTheWakeUpChoiceAndSayWhyItDoesNotWork) {
    frmSettings dialog(core, texts, messages, clock, {}, {"English"}, {"default"});
    auto* wake = dialog.findChild<QCheckBox*>("chkWake");
    EXPECT_FALSE(wake->isChecked()); // off by default
    EXPECT_EQ(dialog.findChild<QComboBox*>("cmbWakeRestriction")->itemText(1), "important alarms and above");
    int problem = 0;
    dialog.wakeProblemText = [&problem] { return problem; };
    dialog.showProgramSwitches();
    auto* said = dialog.findChild<QLabel*>("lblWakeProblem");
    EXPECT_TRUE(said->isHidden());

    wake->setChecked(true);
    dialog.findChild<QComboBox*>("cmbWakeRestriction")->setCurrentIndex(1);
    dialog.findChild<QSpinBox*>("pnbWakeLead")->setValue(120);
    ASSERT_TRUE(dialog.apply());
    EXPECT_TRUE(core.watchSettings().wakeOn);
    EXPECT_EQ(core.watchSettings().wakeImportance, 1);
    EXPECT_EQ(core.watchSettings().wakeLeadSeconds, 120);

    problem = 52;
    dialog.showWakeProblem();
    EXPECT_FALSE(said->isHidden());
    EXPECT_EQ(said->text(), "Halvika cannot wake the computer: this session may not set the wake-up time.");
}

std::optional<WakeAlarmSetter::Outcome> outcomeOf(const QStringList& command) {
    PkexecWakeAlarmSetter setter(command);
    std::optional<WakeAlarmSetter::Outcome> outcome;
    setter.set(1'800'000'000, [&outcome](WakeAlarmSetter::Outcome o) { outcome = o; });
    QElapsedTimer waited;
    waited.start();
    while (!outcome && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return outcome;
}

TEST_F(SleepWakeWindowsTest, ThePkexecSetterTellsEachOutcomeWithoutWaiting) {
    const auto script = [this](const std::string& name, int code) {
        const std::string path = home.file(name);
        home.write(name, "#!/bin/sh\nexit " + std::to_string(code) + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return QString::fromStdString(path);
    };
    using Outcome = WakeAlarmSetter::Outcome;
    EXPECT_EQ(outcomeOf({script("done.sh", 0)}), Outcome::Done);
    EXPECT_EQ(outcomeOf({script("refused.sh", PkexecWakeAlarmSetter::pkexecNotAuthorised)}), Outcome::Refused);
    EXPECT_EQ(outcomeOf({script("dismissed.sh", PkexecWakeAlarmSetter::pkexecDismissed)}), Outcome::Refused);
    EXPECT_EQ(outcomeOf({script("failed.sh", 74)}), Outcome::Failed);
    EXPECT_EQ(outcomeOf({QString::fromStdString(home.file("no-such-helper"))}), Outcome::Missing);
    EXPECT_EQ(outcomeOf({"no-such-pkexec-here", script("helper.sh", 0)}), Outcome::Missing);
}

TEST_F(SleepWakeWindowsTest, ANewZoneFileIsNoticedAndAnUnrelatedChangeIsNot) {
    // The zone file is replaced by a new link, as timedatectl does.
    const std::filesystem::path folder = home.file("etc");
    std::filesystem::create_directory(folder);
    std::filesystem::create_symlink("/usr/share/zoneinfo/UTC", folder / "localtime");
    ClockChangeWatcher watcher(QString::fromStdString((folder / "localtime").string()));
    std::vector<bool> changes;
    watcher.changed = [&changes](bool zone) { changes.push_back(zone); };
    watcher.start();
    const auto settle = [] {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
    };
    home.write("etc/hostname", "elsewhere");
    settle();
    EXPECT_TRUE(changes.empty());
    std::filesystem::create_symlink("/usr/share/zoneinfo/Europe/Berlin", folder / "localtime.new");
    std::filesystem::rename(folder / "localtime.new", folder / "localtime");
    settle();
    EXPECT_EQ(changes, std::vector<bool>{true});
}

} // namespace
} // namespace halvika
