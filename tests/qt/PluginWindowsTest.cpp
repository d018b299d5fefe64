// The plug-in dialog, menus, file dialogs and settings buttons against the real test plug-in program.
#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "app/CoreSubsystems.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/CoreTestRig.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/MemoryClipboard.h"
#include "fakes/RecordingRunner.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "qt/QtTestApp.h"
#include "settings/modTranslation.h"
#include "windows/MainWindowLists.h"
#include "windows/frmAlarmGroupProperties.h"
#include "windows/frmAlarmProperties.h"
#include "windows/frmPlugIns.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace halvika {
namespace {

namespace fs = std::filesystem;

class PluginWindowsTest : public ::testing::Test, protected test::CoreTestServices {
protected:
    PluginWindowsTest() {
        test::ensureQtApp();
        fs::create_directory(home.file("PlugIns"));
        fs::copy_file(TEST_PLUGIN_PROGRAM, home.file("PlugIns/HalvikaTest.plugin"));
        fs::permissions(home.file("PlugIns/HalvikaTest.plugin"), fs::perms::owner_all);
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><lng>English</lng></settings>");
        core.plugins().setTimeoutMs(5000);
        core.loadPlugins();
        core.mainStart(false);
        // The plug-ins answer in the background: their lists are complete once every call has come back.
        while (core.plugins().pollCalls()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    std::string log() const { return home.read("PlugIns/HalvikaTest.log"); }

    CoreSubsystems core = makeCore();
};

TEST_F(PluginWindowsTest, TheDialogListsThePluginsOfEachTypeAndSendsTheirCommands) {
    frmPlugIns dialog(core.plugins(), texts);
    auto* list = dialog.findChild<QListWidget*>("lstPlugIns");
    auto* types = dialog.findChild<QComboBox*>("cmbPlugInTypes");
    ASSERT_EQ(types->count(), 8);
    EXPECT_EQ(list->count(), 7); // one plug-in of each type, all of them shown
    EXPECT_EQ(list->item(0)->text(), "Halvika test plug-in");
    types->setCurrentIndex(7);
    ASSERT_EQ(list->count(), 1);
    // The plug-in said it shows about and help windows, and has no settings window.
    auto* about = dialog.findChild<QPushButton*>("cmdAbout");
    EXPECT_TRUE(about->isEnabled());
    EXPECT_TRUE(dialog.findChild<QPushButton*>("cmdHelp")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QPushButton*>("cmdSettings")->isEnabled());
    about->click(); // answered in the background: the plug-in's window does not hold the dialog
    core.plugins().waitForCalls();
    EXPECT_NE(log().find("<plugin>GPP</plugin><method>ShowAbout</method>"), std::string::npos);
    EXPECT_TRUE(core.plugins().showsWindow("NotAsked", "Settings")); // a plug-in that said nothing: all three
}

TEST_F(PluginWindowsTest, AGeneralPurposePluginIsRunAndQuitFromItsMenu) {
    test::MemoryClipboard clipboard;
    MainWindowLists lists(core, texts, messages, clock, clipboard);
    QMenu* menu = lists.generalPurposeMenu();
    ASSERT_EQ(menu->actions().size(), 1);
    QAction* item = menu->actions().front();
    EXPECT_FALSE(item->isChecked());
    // The plug-in answers in the background: the mark is what it said before the click until it has said yes.
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(core.plugins().callsInFlight());
    core.plugins().waitForCalls();
    EXPECT_TRUE(item->isChecked());
    EXPECT_NE(log().find("<method>Run</method>"), std::string::npos);
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    core.plugins().waitForCalls();
    EXPECT_FALSE(item->isChecked());
    EXPECT_NE(log().find("<method>Quit</method>"), std::string::npos);

    // Opening the menu asks each plug-in whether it is running, without waiting, and marks it by the answer.
    item->setChecked(true);
    home.write("PlugIns/HalvikaTest.mode", "inactive");
    emit menu->aboutToShow();
    EXPECT_TRUE(core.plugins().callsInFlight());
    EXPECT_TRUE(item->isChecked());
    core.plugins().waitForCalls();
    EXPECT_FALSE(item->isChecked());
    home.write("PlugIns/HalvikaTest.mode", "normal");
    emit menu->aboutToShow();
    core.plugins().waitForCalls();
    EXPECT_TRUE(item->isChecked());
}

TEST_F(PluginWindowsTest, MenusTakeThePluginsCaptionsAndSettingsAppearOnlyWhereThereAreAny) {
    test::MemoryClipboard clipboard;
    MainWindowLists lists(core, texts, messages, clock, clipboard);
    lists.translate(); // the menus are built with the captions, as after every language change
    const auto captions = [&lists](const char* name) {
        QStringList texts;
        for (QAction* a : lists.findChild<QMenu*>(name)->actions()) {
            texts << a->text();
        }
        return texts;
    };
    EXPECT_EQ(captions("mnuAgImportPlugin"), QStringList{"From the test"});
    EXPECT_EQ(captions("mnuAgExportPlugIn"), QStringList{"To the test"});

    // The group dialog: the synchronisation plug-in's long description and its settings button.
    auto group = AlarmGroup::createDefaultAlarmGroup(core.groupServices());
    group->synchPlugin = "HalvikaTest*Sync";
    frmAlarmGroupProperties dialog(group, core.groupServices(), &core.plugins(),
                                   {clock, texts, messages, core.groups(), core.watch(), core.settings()});
    EXPECT_EQ(dialog.findChild<QLabel*>("lblSynchDescription")->text(), "Keeps the group the same as the test's.");
    EXPECT_FALSE(dialog.findChild<QPushButton*>("cmdSynchSettings")->isHidden());
    dialog.findChild<QComboBox*>("cmbSynch")->setCurrentIndex(0); // none
    EXPECT_TRUE(dialog.findChild<QPushButton*>("cmdSynchSettings")->isHidden());
    EXPECT_TRUE(dialog.findChild<QLabel*>("lblSynchDescription")->isHidden());

    // The editor: the test's action plug-in names no settings control, so there is no settings button.
    auto alarm = Alarm::createDefaultAlarm(texts);
    alarm->actions.clear();
    auto action = clsAction::Create(alarm.get(), ActionKind::Plugin, texts);
    action->plugin = "HalvikaTest*Act";
    alarm->actions.addElement(action);
    frmAlarmProperties editor({clock, texts, messages, core.groups(), core.watch(), core.settings()}, &core.plugins());
    Vector<Alarm> alarms;
    alarms.addElement(alarm);
    editor.setAlarms(alarms, AlarmEditorLogic::templateAlarm);
    EXPECT_TRUE(editor.findChild<QPushButton*>("cmdPluginSettings")->isHidden());
}

TEST_F(PluginWindowsTest, ImportAndExportDialogsOfferTheFilePluginsFormats) {
    test::MemoryClipboard clipboard;
    MainWindowLists lists(core, texts, messages, clock, clipboard);
    dialogs.setNextFile(home.file("calendar.tst"));
    lists.importFiles();
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    // The plug-in's extension joins the first entry, and its own entry follows the language file's.
    EXPECT_EQ(dialogs.fileRequests()[0].filter,
              "All alarm group files (*.agx;*.tst)|*.agx;*.tst|Halvika alarm groups (*.agx)|*.agx|"
              "All files (*.*)|*.*|Test files (*.tst)|*.tst");
    EXPECT_EQ(dialogs.fileRequests()[0].start, core.alarmGroupFolderPath());
    // The plug-in reads the file in the background; the group comes with its answer.
    EXPECT_EQ(core.groups().alarmGroups.numberOfElements(), 0);
    EXPECT_TRUE(core.plugins().callsInFlight());
    core.plugins().waitForCalls();
    ASSERT_EQ(core.groups().alarmGroups.numberOfElements(), 1);
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0)->name, "Imported from " + home.file("calendar.tst"));

    lists.selectGroup(core.groups().alarmGroups.elementAt(0));
    dialogs.setNextFile(home.file("out.tst"));
    lists.exportSelectedGroups();
    ASSERT_EQ(dialogs.fileRequests().size(), 2u);
    EXPECT_EQ(dialogs.fileRequests()[1].filter, "Halvika alarm groups (*.agx)|*.agx|Test files (*.tst)|*.tst");
    // Written by the plug-in in the background as well.
    EXPECT_TRUE(core.plugins().callsInFlight());
    core.plugins().waitForCalls();
    EXPECT_NE(log().find("<method>SaveAlarmgroupToFile</method>"), std::string::npos);
    EXPECT_FALSE(core.groups().alarmGroups.elementAt(0)->changedSinceImport);
}

} // namespace
} // namespace halvika
