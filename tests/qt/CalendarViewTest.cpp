// The main window's calendar views, offscreen, on the real core: filling, the toolbar, opening and making
// alarms from the grid, the clipboard between cells, the stored settings and the export.
#include "alarms/Alarm.h"
#include "app/CoreSubsystems.h"
#include "app/HalvikaApp.h"
#include "calendar/HalvikaCalendarLogic.h"
#include "fakes/CoreTestRig.h"
#include "fakes/DatePrinter.h"
#include "fakes/MemoryClipboard.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingSubsystems.h"
#include "fakes/RecordingViews.h"
#include "groups/AlarmGroup.h"
#include "qt/MainWindowRig.h"
#include "qt/QtTestApp.h"
#include "settings/SettingsStore.h"
#include "windows/HGrid.h"
#include "windows/HalvikaCalendar.h"
#include "windows/MainWindowLists.h"
#include "windows/Translatable.h"
#include "windows/frmAlarmProperties.h"
#include "windows/frmHalvikaMain.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace halvika {
namespace {

class CalendarViewTest : public ::testing::Test, protected test::MainWindowRig {
protected:
    CalendarViewTest() {
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><lng>English</lng><mw><view>1</view>"
                              "</mw></settings>");
        home.write("usg_0.agx", "<algr><name>Home</name><stat>-1</stat><colr>255</colr>"
                                "<alrm><name>Tea</name><stat>-1</stat><oncd>2026/03/09 16:30:00</oncd></alrm>"
                                "<alrm><name>Walk</name><stat>-1</stat><datk>1</datk><perl>1</perl><peru>6</peru>"
                                "<nexd>2026/03/02 07:00:00</nexd></alrm></algr>");
        core.mainStart(false);
        window.setCore(core, clock, systemClipboard, watchReports);
        window.resize(1000, 700);
        window.show();
        window.applySettings();
        window.lists()->selectGroup(core.groups().alarmGroups.elementAt(0));
    }
    HCalendar& shown() { return logic().calendar(logic().currentView()); }
    HalvikaCalendarLogic& logic() { return *window.calendarLogic(); }
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (int i = 0; i < shown().NumberOfEntries(); ++i) {
            out.push_back(shown().entry(i).text + "@" + std::to_string(shown().entry(i).startDate.day()));
        }
        return out;
    }
    QWidget* grid() { return window.calendar()->grid(logic().currentView()); }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(grid(), k, modifiers); }
    std::shared_ptr<AlarmGroup> group() { return core.groups().alarmGroups.elementAt(0); }
};

TEST_F(CalendarViewTest, TheCalendarShowsTheOccurrencesAndFollowsTheToolbar) {
    EXPECT_LE(window.minimumSizeHint().width(), 760); // the window, both views, fits a small screen
    EXPECT_LE(window.calendar()->minimumSizeHint().width(), 760);
    ASSERT_EQ(window.shownView(), 1);
    EXPECT_TRUE(window.calendar()->isVisible());
    // March 2026 with the week that runs into April: five Mondays of walks and the tea.
    EXPECT_EQ(names(), (std::vector<std::string>{"Walk@2", "Walk@9", "Tea@9", "Walk@16", "Walk@23", "Walk@30"}));
    EXPECT_EQ(shown().entry(2).colour, 255);

    window.calendar()->findChild<QToolButton*>("cmdForward")->click();
    EXPECT_EQ(shown().getBaseDate(), Date::fromParts(2026, 4, 1));
    EXPECT_EQ(names().front(), "Walk@30"); // refilled: April's grid begins on 29 March

    auto* unit = window.calendar()->findChild<QComboBox*>("cmbScopeUnit");
    unit->setCurrentIndex(unit->findData(6));
    emit unit->activated(unit->currentIndex());
    EXPECT_EQ(shown().ScopeUnit(), 6);
    EXPECT_EQ(shown().ScopeLength(), 4);

    auto* importance = window.calendar()->findChild<QComboBox*>("cmbMinImportance");
    group()->alarms.elementAt(0)->importance = 2;
    importance->setCurrentIndex(2);
    emit importance->activated(2);
    EXPECT_EQ(logic().getMinImportance(0), 2);
    EXPECT_EQ(names(), std::vector<std::string>{}); // the tea is in March, the walks are not important

    // The second calendar is a view of its own.
    window.showView(2);
    EXPECT_EQ(logic().currentView(), 1);
    EXPECT_EQ(shown().ScopeUnit(), 3);
    window.showView(0);
    EXPECT_FALSE(window.calendar()->isVisible());
}

TEST_F(CalendarViewTest, TheNextAlarmLineShowsNamesAsTyped) {
    ASSERT_TRUE(app.runStartupCheck());
    ASSERT_TRUE(app.mainStart());
    window.setWatch(&core.watch());
    group()->alarms.elementAt(1)->name = "<b>Walk</b>";
    core.watch().updateUpcoming();
    window.showNextAlarm();
    // What the user can select and copy is what they typed, tags and all.
    auto* line = window.findChild<QLabel*>("lblNextAlarm");
    line->setSelection(0, static_cast<int>(line->text().size()));
    EXPECT_TRUE(line->selectedText().contains("(<b>Walk</b>)")) << line->selectedText().toStdString();
}

TEST_F(CalendarViewTest, TheNextAlarmLineSaysWhenAlarmsAreBlocked) {
    ASSERT_TRUE(app.runStartupCheck());
    ASSERT_TRUE(app.mainStart());
    window.setWatch(&core.watch());
    const std::string blocked = texts.getMainText(218);
    core.watch().setBlocked(true);
    window.showBlocked(true);
    EXPECT_EQ(window.nextAlarmText().toStdString().rfind(blocked + " " + texts.getMainText(209), 0), 0u)
        << window.nextAlarmText().toStdString();
    core.watch().setBlocked(false);
    window.showBlocked(false);
    EXPECT_EQ(window.nextAlarmText().toStdString().rfind(texts.getMainText(209), 0), 0u);
}

TEST_F(CalendarViewTest, DoubleClicksOpenTheAlarmOrMakeOneInTheCell) {
    auto* g = static_cast<HGrid*>(grid());
    const int teaCell = shown().cellOf(Date::fromParts(2026, 3, 9));
    ASSERT_GE(teaCell, 0);
    // The tea is the second entry of its cell, under the walk.
    const QRect cell = g->cellRect(teaCell);
    const QPoint onTea(cell.left() + 20, cell.top() + 3 + 2 * g->fontMetrics().height() + 4);
    ASSERT_EQ(g->hitTest(onTea).second, 2);
    QString editedName;
    test::whenShown("frmAlarmProperties", [&editedName](QWidget& editor) {
        editedName = editor.findChild<QLineEdit*>("txtAlarmName")->text();
        editor.close();
    });
    QTest::mouseDClick(g, Qt::LeftButton, Qt::NoModifier, onTea);
    EXPECT_EQ(editedName, "Tea");
    EXPECT_EQ(window.calendar()->findChild<QLabel*>("lblSelectedDate")->text().toStdString(), "09/03/2026 16:30:00");
    EXPECT_EQ(window.calendar()->findChild<QTreeWidget*>("lstCalendarEntries")->topLevelItemCount(), 2);

    // An empty part of the 20th: a new alarm on that day at the next whole hour, once OK is pressed.
    const QRect empty = g->cellRect(shown().cellOf(Date::fromParts(2026, 3, 20)));
    test::whenShown("frmAlarmProperties", [](QWidget& editor) { static_cast<frmAlarmProperties&>(editor).applyOk(); });
    QTest::mouseDClick(g, Qt::LeftButton, Qt::NoModifier, empty.center());
    ASSERT_EQ(group()->alarms.numberOfElements(), 3);
    EXPECT_EQ(group()->alarms.elementAt(2)->onceDate, Date::fromParts(2026, 3, 20, 13, 0, 0));
    EXPECT_TRUE(QTest::qWaitFor([&] { return names().size() == 7u; }, 5000)); // the calendar was filled again
}

TEST_F(CalendarViewTest, WeeksStartAsInTheDatePickersWhichChooseTheTimeToo) {
    EXPECT_EQ(shown().FirstDayOfWeek(), 0); // American English: Sunday
    for (modTranslation* t : {&texts, &app.translation()}) {
        t->setLanguage("Deutsch");
    }
    Translatable::translateAll();
    EXPECT_EQ(shown().FirstDayOfWeek(), 1);
    EXPECT_EQ(shown().getFirstDateShown(), Date::fromParts(2026, 2, 23)); // the month's grid begins on a Monday

    // The editor's date fields: the same first day, and a time below the month.
    bool sameFirstDay = false;
    bool opened = false;
    QTime timeInPopup;
    QDateTime afterPopupEdit;
    test::whenShown("frmAlarmProperties", [&](QWidget& editor) {
        auto* date = editor.findChild<QDateTimeEdit*>("dtpDate0");
        date->setDateTime(QDateTime(QDate(2026, 3, 9), QTime(16, 30), Qt::UTC));
        QCalendarWidget* popup = date->calendarWidget();
        QTest::keyClick(date, Qt::Key_F4); // the keyboard opens the popup, and changes nothing
        opened = popup->isVisible();
        QTest::keyClick(popup, Qt::Key_Escape);
        sameFirstDay = popup->firstDayOfWeek() == Qt::Monday;
        auto* time = popup->findChild<QTimeEdit*>("tmePopupTime");
        if (time != nullptr) {
            timeInPopup = time->time();
            time->setTime(QTime(7, 15));
        }
        afterPopupEdit = date->dateTime();
        editor.close();
    });
    Vector<Alarm> tea;
    tea.addElement(group()->alarms.elementAt(0));
    window.lists()->editAlarms(tea, AlarmEditorLogic::existingAlarms);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(sameFirstDay);
    EXPECT_EQ(timeInPopup, QTime(16, 30));
    EXPECT_EQ(afterPopupEdit, QDateTime(QDate(2026, 3, 9), QTime(7, 15), Qt::UTC));
    for (modTranslation* t : {&texts, &app.translation()}) {
        t->setLanguage("English");
    }
    Translatable::translateAll();
}

TEST_F(CalendarViewTest, CopyAndPasteBetweenCellsMoveTheAlarmByTheirDistance) {
    shown().selectEntry(shown().cellOf(Date::fromParts(2026, 3, 9)), 2);
    key(Qt::Key_C, Qt::ControlModifier);
    // Three cells on with the arrow keys, then paste: the copy lands on the 12th at the tea's time.
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(shown().getSelectedPeriod().start, Date::fromParts(2026, 3, 12));
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(group()->alarms.numberOfElements(), 3);
    EXPECT_EQ(group()->alarms.elementAt(2)->name, "Tea");
    EXPECT_EQ(group()->alarms.elementAt(2)->onceDate, Date::fromParts(2026, 3, 12, 16, 30, 0));

    // Delete removes the selected entry's alarm (after the question), once the calendar shows the copy.
    const int twelfth = shown().cellOf(Date::fromParts(2026, 3, 12));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !shown().layout().cells[static_cast<std::size_t>(twelfth)].entries.empty(); }, 5000));
    shown().selectEntry(twelfth, shown().layout().cells[static_cast<std::size_t>(twelfth)].entries.front());
    dialogs.setNextAnswer(Dialogs::answerYes);
    key(Qt::Key_Delete);
    EXPECT_EQ(group()->alarms.numberOfElements(), 2);
}

TEST_F(CalendarViewTest, TheViewsAreStoredAndTheExportOpensAPage) {
    logic().command(HalvikaCalendarLogic::k5);
    window.takeSettings();
    const auto stored = core.settings().calendarSettings;
    EXPECT_EQ(core.settings().view, 1);
    EXPECT_EQ(stored->getNode("view", 0)->getLong("scopelength"), 2);
    EXPECT_GT(stored->getSingle("hordivy"), 0.0F);

    window.calendar()->findChild<QToolButton*>("cmdExport")->click();
    ASSERT_TRUE(core.groups().fileWriter().waitUntilDone());
    core.groups().fileWriter().reportOutcomes(); // as the writer's wake-up does in the program
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], paths.homeFile("temp.html"));
    EXPECT_NE(home.read("temp.html").find("Tea"), std::string::npos);
    EXPECT_FALSE(home.read("hgrstyle.css").empty()); // the shipped style sheet beside it
}

class UnshownCalendarTest : public ::testing::Test, protected test::MainWindowRig {};

TEST_F(UnshownCalendarTest, TheCalendarIsBuiltWhenFirstShownAndARunWithoutItKeepsItsSettings) {
    home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><lng>English</lng><mw><view>0</view>"
                          "<halvikacal><hordivy>3000</hordivy></halvikacal></mw></settings>");
    core.mainStart(false);
    window.setCore(core, clock, systemClipboard, watchReports);
    window.show();
    window.applySettings();
    EXPECT_EQ(window.calendar(), nullptr); // most runs never show it
    window.takeSettings();
    EXPECT_FLOAT_EQ(core.settings().calendarSettings->getSingle("hordivy"), 3000);

    window.showView(1);
    ASSERT_NE(window.calendar(), nullptr);
    EXPECT_TRUE(window.calendar()->isVisible());
    EXPECT_NEAR(window.calendar()->dividerTwips(), 3000, 100); // the stored place, to the pixel
    window.showView(0);
    EXPECT_FALSE(window.calendar()->isVisible());
}

} // namespace
} // namespace halvika
