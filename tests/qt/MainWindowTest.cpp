// The main window: next-alarm line, caption, and a close box that hides only when a tray can restore it.
#include "app/HalvikaApp.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingSubsystems.h"
#include "fakes/RecordingViews.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "qt/QtTestApp.h"
#include "settings/SettingsStore.h"
#include "windows/frmAbout.h"
#include "windows/frmHalvikaMain.h"
#include "xml/XMLNode.h"

#include <QAction>
#include <QLabel>

#include <gtest/gtest.h>

namespace halvika {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        test::ensureQtApp();
        home.write("English.lng", "[frmHalvikaMain]\nfrmHalvikaMain=Halvika\ns209=Next alarm:\ns210=none\n"
                                  "s217=Loading...\ns219=(safe mode)\ns220=Exit?\n"
                                  "[frmAbout]\ns5=Diagnostic log written to\n");
    }

    test::TempHome home;
    test::ManualClock clock;
    test::ManualTimer timer;
    test::ScriptedDialogs dialogs;
    test::RecordingShell shell;
    test::RecordingViews views;
    test::RecordingSubsystems subsystems;
    HalvikaApp app{{clock, timer, dialogs, shell, views}, subsystems, AppPaths(home.path(), {})};
};

TEST_F(MainWindowTest, NextAlarmLineBeforeAndAfterStartUp) {
    frmHalvikaMain window(app);
    auto* line = window.findChild<QLabel*>("lblNextAlarm");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), "Loading...");
    ASSERT_TRUE(app.runStartupCheck());
    ASSERT_TRUE(app.mainStart());
    window.showNextAlarm();
    EXPECT_EQ(line->text(), "Next alarm: none");
    EXPECT_EQ(window.windowTitle(), "Halvika");
}

TEST_F(MainWindowTest, SafeModeShowsInTheCaption) {
    home.write("state", "1");
    dialogs.setNextAnswer(Dialogs::answerYes);
    ASSERT_TRUE(app.runStartupCheck());
    frmHalvikaMain window(app);
    EXPECT_EQ(window.windowTitle(), "Halvika (safe mode)");
}

TEST_F(MainWindowTest, CloseBoxHidesOnlyWithATray) {
    frmHalvikaMain window(app);
    window.show();
    window.close();
    EXPECT_TRUE(window.isVisible()); // no tray: hiding would lose the window for good

    window.setTrayAvailable(true);
    window.close();
    EXPECT_FALSE(window.isVisible());
    window.toggleWindowVisibility();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, ExitMenuAsksThroughTheSpine) {
    frmHalvikaMain window(app);
    QObject::connect(&window, &frmHalvikaMain::exitRequested, [this] { app.trayExit(); });
    auto* exit = window.findChild<QAction*>("mnuTrayExit");
    ASSERT_NE(exit, nullptr);
    dialogs.setNextAnswer(Dialogs::answerNo);
    exit->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Exit?");
    EXPECT_FALSE(app.exiting());
}

TEST_F(MainWindowTest, GeometryInTwipsBothWays) {
    frmHalvikaMain window(app);
    SettingsStore settings;
    settings.windowLeft = 1500;
    settings.windowTop = 3000;
    settings.windowWidth = 9000;
    settings.windowHeight = 6000;
    window.applyGeometry(settings);
    EXPECT_EQ(window.geometry(), QRect(100, 200, 600, 400));

    window.show();
    window.setGeometry(50, 60, 700, 500);
    SettingsStore back;
    window.takeGeometry(back);
    EXPECT_FLOAT_EQ(back.windowLeft, 750);
    EXPECT_FLOAT_EQ(back.windowWidth, 10500);
    EXPECT_EQ(back.windowState, 0);
    EXPECT_TRUE(back.windowVisible);
}

TEST_F(MainWindowTest, AboutWindowWritesTheDiagnosticLog) {
    frmAbout about(app);
    about.writeDiagnosticLog();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const std::string& told = dialogs.shown()[0].text;
    ASSERT_EQ(told.rfind("Diagnostic log written to ", 0), 0u);
    const std::string path = told.substr(std::string("Diagnostic log written to ").size());
    EXPECT_EQ(XMLNode::createFromFile(path)->name, "debuglog");
}

} // namespace
} // namespace halvika
