// The main window's lists and the alarm editor, offscreen, on the real core: what the lists show, new and
// edited alarms, keys, the clipboard, and what ends up in the group files.
#include "windows/MainWindowLists.h"
#include "app/CoreSubsystems.h"
#include "app/HalvikaApp.h"
#include "base/MessageBoxRoutine.h"
#include "editing/ColumnLayout.h"
#include "fakes/CoreTestRig.h"
#include "fakes/DatePrinter.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/MemoryClipboard.h"
#include "fakes/RecordingRunner.h"
#include "fakes/RecordingShell.h"
#include "fakes/RecordingSubsystems.h"
#include "fakes/RecordingViews.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "groups/ChangeKinds.h"
#include "platform/QtWatchListener.h"
#include "platform/posix/PosixPluginProcess.h"
#include "qt/QtTestApp.h"
#include "settings/modTranslation.h"
#include "windows/frmAlarmProperties.h"
#include "windows/frmFind.h"
#include "windows/frmHalvikaMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <ctime>

namespace halvika {
namespace {

const char* const groupFile =
    "<algr><name>Home</name><stat>-1</stat><alrm><name>Tea</name><stat>-1</stat><oncd>2026/03/07 12:30:00</oncd>"
    "<acti><acid>1</acid><plug></plug><sett><s>Tea!</s></sett></acti></alrm><alrm><name>Bins</name><stat>-1</stat>"
    "<oncd>2026/03/07 19:00:00</oncd></alrm></algr>";

class MainWindowListsTest : public ::testing::Test, protected test::CoreTestServices {
protected:
    MainWindowListsTest() {
        test::ensureQtApp();
        // The alarm list in the groups' own order, so that moving alarms shows.
        home.write("usr.cfx", "<settings><lsd>2026/03/07 12:00:00</lsd><so><ag>0</ag><agd>0</agd><al>-1</al>"
                              "<ald>0</ald></so><lng>English</lng></settings>");
        home.write("usg_0.agx", groupFile);
        core.mainStart(false);
        lists = std::make_unique<MainWindowLists>(core, texts, messages, clock, systemClipboard);
        lists->resize(900, 600);
        lists->show();
    }
    QTreeWidget* list(const char* name) { return lists->findChild<QTreeWidget*>(name); }
    /// Any list, the see-alarms lists (a view of a model) too.
    QTreeView* view(const char* name) { return lists->findChild<QTreeView*>(name); }
    QVariant cell(const char* name, int row, int c, int role = Qt::DisplayRole) {
        return view(name)->model()->index(row, c).data(role);
    }
    QColor colour(const char* name, int row, int c) {
        return cell(name, row, c, Qt::ForegroundRole).value<QBrush>().color();
    }
    QStringList column(const char* name, int c) {
        QStringList cells;
        for (int i = 0; i < view(name)->model()->rowCount(); ++i) {
            cells << cell(name, i, c).toString();
        }
        return cells;
    }
    void key(const char* listName, int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers);
        QApplication::sendEvent(list(listName), &press);
    }
    /// Runs `fill` on the editor once it is open, then presses its OK.
    void whenEditorOpens(std::function<void(frmAlarmProperties&)> fill) {
        test::whenShown("frmAlarmProperties", [fill](QWidget& widget) {
            auto& editor = static_cast<frmAlarmProperties&>(widget);
            fill(editor);
            editor.applyOk();
        });
    }

    CoreSubsystems core = makeCore();
    test::MemoryClipboard systemClipboard;
    std::unique_ptr<MainWindowLists> lists;
};

TEST_F(MainWindowListsTest, TheListsShowTheGroupsItsAlarmsAndTheComingOnes) {
    EXPECT_EQ(column("lstAlarmGroups", 0), QStringList{"Home"});
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Tea", "Bins"}));
    EXPECT_EQ(column("lstAlarms", 1), (QStringList{"on", "on"}));
    EXPECT_EQ(column("lstSeeAlarms(1)", 0), (QStringList{"Tea", "Bins"})); // both within the coming day
    EXPECT_FALSE(list("lstAlarms")->topLevelItem(0)->toolTip(0).isEmpty());
}

TEST_F(MainWindowListsTest, NamesThatLookLikeMarkupAreShownAsTyped) {
    core.groups().alarmGroups.elementAt(0)->name = "<b>Home</b>";
    core.groups().alarmGroups.elementAt(0)->alarms.elementAt(0)->name = "<i>Tea</i> & <u>cake</u>";
    lists->refresh();
    // The caption is as wide as the tags themselves, not only the bold word.
    auto* caption = lists->findChild<QLabel*>("lblAlarms");
    EXPECT_EQ(caption->text(), "<b>Home</b>");
    EXPECT_GE(caption->sizeHint().width(), caption->fontMetrics().horizontalAdvance(caption->text()));
    // A tool tip is markup, so the name comes out of it as typed.
    const QString tip = list("lstAlarms")->topLevelItem(0)->toolTip(3);
    EXPECT_TRUE(QTextDocumentFragment::fromHtml(tip).toPlainText().contains("<i>Tea</i> & <u>cake</u>"))
        << tip.toStdString();
}

TEST_F(MainWindowListsTest, ColoursFollowTheDesktopPaletteAndTheScheme) {
    // A dark theme: system colours and "no scheme colour" are the palette's text, never near-black.
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    core.colours().loadColourScheme("");
    lists->setPalette(dark); // followed at once, as a theme switched at run time would be
    const QColor light(230, 230, 230);
    EXPECT_EQ(list("lstAlarms")->topLevelItem(0)->foreground(1).color(), light); // state: window text
    EXPECT_EQ(list("lstAlarms")->topLevelItem(0)->foreground(2).color(), light); // next moment: no scheme
    EXPECT_EQ(list("lstAlarmGroups")->topLevelItem(0)->foreground(0).color(), light);

    // With a scheme, the coming list's names take their group's colour and the moments the nearness
    // gradient; a colour too dark for the dark base is moved towards the text colour.
    core.colours().loadColourScheme("default");
    core.groups().alarmGroups.elementAt(0)->Color = 0xFF8000; // blue 255, green 128: legible on dark
    lists->refresh();
    const char* coming = "lstSeeAlarms(1)";
    ASSERT_EQ(view(coming)->model()->rowCount(), 2);
    EXPECT_EQ(colour(coming, 0, 0), QColor(0, 128, 255));
    const QColor nearer = colour(coming, 0, 1);  // Tea in 30 minutes
    const QColor farther = colour(coming, 1, 1); // Bins in 7 hours
    EXPECT_NE(nearer, farther);
    EXPECT_GT(nearer.red(), farther.red());                   // slot 21 is the warm one
    core.groups().alarmGroups.elementAt(0)->Color = 0x202020; // near-black on a dark base
    lists->refresh();
    EXPECT_GT(colour(coming, 0, 0).lightness(), 100);

    lists->setPalette(QPalette(QColor(240, 240, 240))); // back to light: the near-black stays as it is
    EXPECT_EQ(colour(coming, 0, 0), QColor(0x20, 0x20, 0x20));
}

TEST_F(MainWindowListsTest, AComingEntryStaysSelectedWhereverItMovesAndOpensItsAlarm) {
    const char* coming = "lstSeeAlarms(1)";
    // The descriptions are made when shown, as in the alarm list.
    EXPECT_EQ(cell(coming, 0, 3), cell("lstAlarms", 0, 4));
    EXPECT_FALSE(cell(coming, 1, 2).toString().isEmpty());
    QTreeView* see = view(coming);
    see->selectionModel()->select(see->model()->index(1, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows); // Bins

    // Tea moves after Bins: the selection follows the entry, not the row.
    const auto tea = core.groups().alarmGroups.elementAt(0)->alarms.elementAt(0);
    tea->onceDate = Date::fromParts(2026, 3, 7, 20, 0, 0);
    core.watch().alarmsChanged(Vector<Alarm>::createVectorWithObj(tea, 1), kindTimingChanged);
    lists->refresh();
    ASSERT_EQ(column(coming, 0), (QStringList{"Bins", "Tea"}));
    const QModelIndexList selected = see->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().row(), 0);

    QString opened;
    test::whenShown("frmAlarmProperties", [&opened](QWidget& editor) {
        opened = editor.findChild<QLineEdit*>("txtAlarmName")->text();
        editor.close();
    });
    const QPoint onTea = see->visualRect(see->model()->index(1, 0)).center();
    QTest::mouseClick(see->viewport(), Qt::LeftButton, Qt::NoModifier, onTea);
    QTest::mouseDClick(see->viewport(), Qt::LeftButton, Qt::NoModifier, onTea);
    EXPECT_EQ(opened, "Tea");
}

TEST_F(MainWindowListsTest, TheEditorsMomentsFollowTheUsersFormatKeepADaylightSavingGapAndNeverShow9999) {
    // Berlin springs forward at 02:00 on 29 March 2026: 02:30 does not exist there, but is what was stored.
    const char* zone = std::getenv("TZ");
    const std::string oldZone = zone ? zone : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    const auto tea = core.groups().alarmGroups.elementAt(0)->alarms.elementAt(0);
    tea->onceDate = Date::fromParts(2026, 3, 29, 2, 30, 0);
    core.settings().displayFormats[0] = "dd.mm.yyyy hh:nn";
    QString shown, shownEnd;
    whenEditorOpens([&shown, &shownEnd](frmAlarmProperties& editor) {
        shown = editor.findChild<QDateTimeEdit*>("dtpDate0")->text();
        shownEnd = editor.findChild<QDateTimeEdit*>("dtpDate2")->text();
    });
    Vector<Alarm> alarms;
    alarms.addElement(tea);
    lists->editAlarms(alarms, AlarmEditorLogic::existingAlarms);
    setenv("TZ", oldZone.c_str(), 1);
    tzset();
    EXPECT_EQ(shown, "29.03.2026 02:30"); // the user's order, no seconds when none are used
    EXPECT_EQ(shownEnd, "no end");        // the alarm has no end date
    EXPECT_EQ(tea->onceDate, Date::fromParts(2026, 3, 29, 2, 30, 0));
    EXPECT_EQ(tea->endDate, Date::none());
}

TEST_F(MainWindowListsTest, AColumnTitleSortsTheListAndMovingAnAlarmSwitchesSortingOff) {
    auto* header = list("lstAlarms")->header();
    emit header->sectionClicked(0);
    EXPECT_EQ(core.settings().alarmSortColumn, 0);
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Bins", "Tea"}));
    emit header->sectionClicked(0);
    EXPECT_TRUE(core.settings().alarmSortDescending);
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Tea", "Bins"}));
    emit header->sectionClicked(2); // by next moment: Tea 12:30, Bins 19:00
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Tea", "Bins"}));
    EXPECT_FALSE(core.settings().alarmSortDescending);
    // The selection follows the alarm, not the row.
    list("lstAlarms")->topLevelItem(1)->setSelected(true);
    ASSERT_EQ(lists->selectedAlarms().numberOfElements(), 1);
    EXPECT_EQ(lists->selectedAlarms().elementAt(0)->name, "Bins");
    key("lstAlarms", Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(core.settings().alarmSortColumn, -1);
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Bins", "Tea"}));
}

TEST_F(MainWindowListsTest, ColumnLayoutsAndSeeAlarmsControlsComeFromTheSettingsAndGoBack) {
    lists->applySettings();
    QHeaderView* header = list("lstAlarms")->header();
    // The built-in layout shows name, state and next moment.
    EXPECT_FALSE(header->isSectionHidden(2));
    EXPECT_TRUE(header->isSectionHidden(3));
    EXPECT_EQ(header->sectionSize(0), 122);
    header->setSectionHidden(3, false);
    header->moveSection(header->visualIndex(3), 0);
    list("lstAlarms")->setColumnWidth(3, 200);
    lists->takeSettings();
    const auto columns = ColumnLayout::read(*core.settings().layouts[1], 7);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].index, 3);
    EXPECT_EQ(columns[0].width, 200);

    // The coming list looks two hours ahead instead of one day: Bins (19:00) drops out.
    lists->findChild<QComboBox*>("cmbSeeAlarms(1)")->setCurrentIndex(2); // hours
    lists->findChild<QSpinBox*>("txtSeeAlarms(1)")->setValue(2);
    EXPECT_EQ(core.settings().seeAlarmsUnit[1], 2);
    EXPECT_EQ(core.settings().seeAlarmsAmount[1], 2);
    EXPECT_EQ(column("lstSeeAlarms(1)", 0), QStringList{"Tea"});
    EXPECT_TRUE(core.watch().pendingWork() & AlarmWatch::settingsChanged);
}

TEST_F(MainWindowListsTest, TheAlarmListTakesTheRoomAndTheStoredDividersSurviveResizingAndMaximising) {
    lists->applySettings();
    auto* top = lists->findChild<QSplitter*>("lblVerDiv1");
    auto* bottom = lists->findChild<QSplitter*>("lblVerDiv2");
    EXPECT_EQ(top->sizes().value(0), 337);    // the group list as stored
    EXPECT_EQ(bottom->sizes().value(2), 155); // the to-do note
    lists->resize(1600, 1000);                // as when maximised
    QApplication::processEvents();
    EXPECT_EQ(top->sizes().value(0), 337);
    EXPECT_GT(top->sizes().value(1), 1000); // the alarm list got the room
    EXPECT_EQ(bottom->sizes().value(1), 463);
    lists->takeSettings();
    EXPECT_EQ(core.settings().dividers[0], 337);
    EXPECT_EQ(core.settings().dividers[3], 463);

    // The whole area fits a small screen.
    EXPECT_LE(lists->minimumSizeHint().width(), 760);
    // Moments are never cut off, whatever the stored width.
    QTreeView* coming = view("lstSeeAlarms(1)");
    const QString moment = cell("lstSeeAlarms(1)", 0, 1).toString();
    ASSERT_FALSE(moment.isEmpty());
    EXPECT_GT(coming->columnWidth(1), coming->fontMetrics().horizontalAdvance(moment));
}

TEST_F(MainWindowListsTest, ANewAlarmFromTheEditorJoinsTheGroupAndIsSaved) {
    QString proposedName, selectedName, lineWhileTyping;
    whenEditorOpens([&](frmAlarmProperties& editor) {
        auto* name = editor.findChild<QLineEdit*>("txtAlarmName");
        proposedName = name->text();
        selectedName = name->selectedText(); // typing replaces the proposed name
        name->setText("Call mum");
        editor.findChild<QDateTimeEdit*>("dtpDate0")->setDateTime(QDateTime(QDate(2026, 3, 7), QTime(12, 2, 0)));
        // The action list follows the message as it is typed.
        editor.findChild<QListWidget*>("lstActions")->setCurrentRow(0);
        editor.findChild<QPlainTextEdit*>("txtActionText")->setPlainText("Ring mum");
        lineWhileTyping = editor.findChild<QListWidget*>("lstActions")->item(0)->text();
    });
    lists->newAlarm();
    EXPECT_FALSE(proposedName.isEmpty());
    EXPECT_EQ(selectedName, proposedName);
    EXPECT_TRUE(lineWhileTyping.endsWith(": Ring mum")) << lineWhileTyping.toStdString();
    const auto group = core.groups().alarmGroups.elementAt(0);
    ASSERT_EQ(group->alarms.numberOfElements(), 3);
    const auto added = group->alarms.elementAt(2);
    EXPECT_EQ(added->name, "Call mum");
    EXPECT_EQ(added->onceDate, Date::fromParts(2026, 3, 7, 12, 2, 0));
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Tea", "Bins", "Call mum"}));
    EXPECT_EQ(core.watch().nextAlarmMoment(), Date::fromParts(2026, 3, 7, 12, 2, 0));
    // "Save all" hands the groups and the settings to the file writer: nothing here waits for the disk.
    std::filesystem::remove(home.file("usr.cfx"));
    dialogs.setNextAnswer(Dialogs::answerYes);
    lists->findChild<QAction*>("mnuAgSaveAll")->trigger();
    ASSERT_TRUE(core.groups().fileWriter().waitUntilDone());
    core.groups().fileWriter().reportOutcomes();
    EXPECT_NE(home.read("usg_0.agx").find("<name>Call mum</name>"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(home.file("usr.cfx")));
    EXPECT_FALSE(dialogs.shown().back().notice); // the question was the last word: nothing failed
}

TEST_F(MainWindowListsTest, TheMainWindowsListsFollowTheWatchAsAnAlarmSounds) {
    lists.reset();
    test::RecordingShell shell;
    test::RecordingViews views;
    test::RecordingSubsystems subsystems;
    HalvikaApp app({clock, timer, dialogs, shell, views}, subsystems, paths);
    {
        QtWatchListener watchReports(core.watch());
        frmHalvikaMain window(app);
        window.setCore(core, clock, systemClipboard, watchReports);
        window.show();
        lists.reset(window.lists());
        EXPECT_EQ(column("lstSeeAlarms(1)", 0), (QStringList{"Tea", "Bins"}));
        EXPECT_EQ(column("lstSeeAlarms(0)", 0), QStringList{});

        clock.set(Date::fromParts(2026, 3, 7, 12, 30, 1));
        core.watchTick();
        // The refresh comes a moment later, not in the tick that started the alarm's program.
        EXPECT_EQ(column("lstSeeAlarms(1)", 0), (QStringList{"Tea", "Bins"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return column("lstSeeAlarms(0)", 0) == QStringList{"Tea"}; }, 5000));
        EXPECT_EQ(column("lstSeeAlarms(1)", 0), QStringList{"Bins"});
        EXPECT_EQ(column("lstSeeAlarms(0)", 0), QStringList{"Tea"});
        EXPECT_EQ(runner.names(), std::vector<std::string>{"Tea"});
        (void)lists.release(); // the window owns its lists
    }
    // Without the window the watch goes on without calling into it.
    clock.set(Date::fromParts(2026, 3, 7, 19, 0, 1));
    core.watchTick();
    EXPECT_EQ(core.watch().seeAlarmsList(0).alarms.numberOfElements(), 2);
}

TEST_F(MainWindowListsTest, ACustomActionSoundsAtOnceWithoutJoiningAGroupAndIsKeptForNextTime) {
    whenEditorOpens([](frmAlarmProperties& editor) {
        EXPECT_EQ(editor.windowTitle(), "Run an action now");
        editor.findChild<QPlainTextEdit*>("txtActionText")->setPlainText("Stretch!");
    });
    lists->showCustomActionWindow();
    ASSERT_EQ(runner.soundings.size(), 1u);
    EXPECT_EQ(runner.soundings[0].alarm, "Run an action now");
    EXPECT_FALSE(runner.soundings[0].real);
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0)->alarms.numberOfElements(), 2);

    QString shownText;
    test::whenShown("frmAlarmProperties", [&shownText](QWidget& editor) {
        shownText = editor.findChild<QPlainTextEdit*>("txtActionText")->toPlainText();
        editor.close(); // cancelled: nothing sounds
    });
    lists->showCustomActionWindow();
    EXPECT_EQ(shownText, "Stretch!");
    EXPECT_EQ(runner.soundings.size(), 1u);
}

TEST_F(MainWindowListsTest, EditingSeveralAlarmsWritesOnlyWhatWasTouched) {
    list("lstAlarms")->selectAll();
    whenEditorOpens([](frmAlarmProperties& editor) {
        editor.findChild<QComboBox*>("cmbImportance")->setCurrentIndex(0); // touched: very important
    });
    lists->editSelectedAlarms();
    const auto group = core.groups().alarmGroups.elementAt(0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(group->alarms.elementAt(i)->importance, 2);
    }
    EXPECT_EQ(group->alarms.elementAt(0)->name, "Tea");
    EXPECT_EQ(group->alarms.elementAt(1)->onceDate, Date::fromParts(2026, 3, 7, 19, 0, 0));
    EXPECT_EQ(group->alarms.elementAt(0)->actions.numberOfElements(), 1);
}

TEST_F(MainWindowListsTest, TheAlarmMenuSwitchesTheSelectedAlarmsOnAndOff) {
    list("lstAlarms")->selectAll();
    const auto group = core.groups().alarmGroups.elementAt(0);
    auto* turnOff = lists->findChild<QAction*>("mnuAlTurnOff");
    auto* turnOn = lists->findChild<QAction*>("mnuAlTurnOn");
    ASSERT_TRUE(turnOff && turnOn);
    EXPECT_EQ(turnOff->text(), "Turn o&ff");
    turnOff->trigger();
    turnOff->trigger(); // off stays off, unlike the toggle
    for (int i = 0; i < group->numberOfAlarms(); ++i) {
        EXPECT_FALSE(group->elementAt(i)->Active);
    }
    turnOn->trigger();
    for (int i = 0; i < group->numberOfAlarms(); ++i) {
        EXPECT_TRUE(group->elementAt(i)->Active);
    }
}

TEST_F(MainWindowListsTest, CommandsThatCanDoNothingAreDisabledAndANewAlarmWithoutAGroupAsksForItsName) {
    // As a menu opens: the states are worked out then.
    const auto enabled = [this](const char* name) {
        for (QMenu* menu : {lists->groupMenu(), lists->alarmMenu()}) {
            emit menu->aboutToShow();
        }
        return lists->findChild<QAction*>(name)->isEnabled();
    };
    const auto exportWith = lists->findChild<QMenu*>("mnuAgExportPlugIn")->menuAction();
    list("lstAlarmGroups")->clearSelection();
    list("lstAlarms")->clearSelection();
    EXPECT_FALSE(enabled("mnuAgUnload"));
    EXPECT_FALSE(enabled("mnuAgUnload") || exportWith->isEnabled());
    EXPECT_TRUE(enabled("mnuAgSaveAll"));
    EXPECT_FALSE(enabled("mnuAlProperties"));
    EXPECT_FALSE(enabled("mnuAlDelete"));
    EXPECT_FALSE(enabled("mnuAlPaste")); // nothing copied yet
    list("lstAlarms")->topLevelItem(0)->setSelected(true);
    list("lstAlarmGroups")->topLevelItem(0)->setSelected(true);
    EXPECT_TRUE(enabled("mnuAlProperties"));
    EXPECT_TRUE(enabled("mnuAgUnload"));
    EXPECT_FALSE(enabled("mnuAgSynchronize")); // the group has no synchronisation plug-in
    lists->findChild<QAction*>("mnuAlCopy")->trigger();
    EXPECT_TRUE(enabled("mnuAlPaste"));

    // No group at all: only making things is left, and a new alarm asks what to call its group first.
    core.groups().alarmGroups.clear();
    lists->refresh();
    EXPECT_FALSE(enabled("mnuAgSaveAll"));
    EXPECT_FALSE(enabled("mnuAgExportCol"));
    EXPECT_FALSE(enabled("mnuAlPaste"));
    EXPECT_TRUE(enabled("mnuAlAddNew"));
    EXPECT_TRUE(enabled("mnuAgAddNew"));
    lists->findChild<QAction*>("mnuAlAddNew")->trigger(); // cancelled: nothing is left behind
    EXPECT_EQ(core.groups().alarmGroups.numberOfElements(), 0);
    ASSERT_EQ(dialogs.textRequests().size(), 1u);
    EXPECT_EQ(dialogs.textRequests()[0].proposed, "New alarm group");

    dialogs.setNextText("Medicine");
    whenEditorOpens([](frmAlarmProperties& editor) { editor.findChild<QLineEdit*>("txtAlarmName")->setText("Pill"); });
    lists->newAlarm();
    ASSERT_EQ(core.groups().alarmGroups.numberOfElements(), 1);
    EXPECT_EQ(column("lstAlarmGroups", 0), QStringList{"Medicine"});
    EXPECT_EQ(column("lstAlarms", 0), QStringList{"Pill"});
    EXPECT_TRUE(enabled("mnuAgSaveAll"));
}

TEST_F(MainWindowListsTest, ANewGroupJoinsOnlyWhenItsDialogIsConfirmedAndEnterOpensItsProperties) {
    test::whenShown("frmAlarmGroupProperties", [](QWidget& dialog) { dialog.close(); }); // cancelled
    lists->newGroup();
    EXPECT_EQ(core.groups().alarmGroups.numberOfElements(), 1);

    test::whenShown("frmAlarmGroupProperties", [](QWidget& dialog) {
        dialog.findChild<QLineEdit*>("txtName")->setText("Garden");
        static_cast<QDialog&>(dialog).accept();
    });
    lists->newGroup();
    ASSERT_EQ(core.groups().alarmGroups.numberOfElements(), 2);
    EXPECT_EQ(column("lstAlarmGroups", 0), (QStringList{"Garden", "Home"})); // sorted by name
    EXPECT_EQ(lists->currentGroup()->name, "Garden");

    // Enter on the group list: its properties; switching it off is a state change.
    for (int i = 0; i < list("lstAlarmGroups")->topLevelItemCount(); ++i) {
        list("lstAlarmGroups")
            ->topLevelItem(i)
            ->setSelected(list("lstAlarmGroups")->topLevelItem(i)->text(0) == "Garden");
    }
    test::whenShown("frmAlarmGroupProperties", [](QWidget& dialog) {
        dialog.findChild<QCheckBox*>("chkActive")->setChecked(false);
        static_cast<QDialog&>(dialog).accept();
    });
    key("lstAlarmGroups", Qt::Key_Return);
    EXPECT_FALSE(core.groups().alarmGroups.elementAt(0)->Active); // the sorted list's order is the collection's
    EXPECT_EQ(column("lstAlarmGroups", 1), (QStringList{"off", "on"}));
}

TEST_F(MainWindowListsTest, TheFindWindowListsWhatItFindsAndOpensTheEditorForTheChosenOnes) {
    frmFind find(core.groups(), texts);
    Vector<Alarm> opened;
    find.openEditor = [&opened](const Vector<Alarm>& alarms) { opened = alarms; };
    find.findChild<QLineEdit*>("txtFind")->setText("TEA");
    find.find();
    auto* results = find.findChild<QTreeWidget*>("lvwResults");
    ASSERT_EQ(results->topLevelItemCount(), 1);
    EXPECT_EQ(results->topLevelItem(0)->text(0), "Tea");
    EXPECT_EQ(results->topLevelItem(0)->text(1), "Home");
    EXPECT_EQ(find.findChild<QLabel*>("lblSummary")->text(), "1 alarm found");
    EXPECT_TRUE(find.findChild<QCheckBox*>("chkSearchWithinResults")->isEnabled());
    results->topLevelItem(0)->setSelected(true);
    find.openSelected();
    ASSERT_EQ(opened.numberOfElements(), 1);
    EXPECT_EQ(opened.elementAt(0)->name, "Tea");

    find.findChild<QCheckBox*>("chkMatchCase")->setChecked(true);
    find.find();
    EXPECT_EQ(results->topLevelItemCount(), 0);
    EXPECT_EQ(find.findChild<QLabel*>("lblSummary")->text(), "0 alarms found");
    EXPECT_FALSE(find.findChild<QCheckBox*>("chkSearchWithinResults")->isEnabled());

    // Opened again, the old search is chosen so that typing replaces it; Escape puts the window away.
    find.present();
    EXPECT_TRUE(find.isVisible());
    EXPECT_EQ(find.findChild<QLineEdit*>("txtFind")->selectedText(), "TEA");
    QTest::keyClick(find.findChild<QLineEdit*>("txtFind"), Qt::Key_Escape);
    EXPECT_FALSE(find.isVisible());
}

TEST_F(MainWindowListsTest, TheSortedGroupListIsTheCollectionsOrderForMovingAndSounding) {
    // A second group with an alarm due in the same second as Tea, added after Home.
    auto attic = AlarmGroup::createDefaultAlarmGroup(core.groupServices());
    attic->name = "Attic";
    const auto home = core.groups().alarmGroups.elementAt(0);
    auto lamp = Alarm::createFromXML(*home->alarms.elementAt(0)->toXML("al"), attic);
    lamp->name = "Lamp";
    attic->alarms.addElement(lamp);
    core.groups().alarmGroups.addElement(attic);
    Vector<AlarmGroup> added;
    added.addElement(attic);
    core.watch().groupsChanged(added, kindAdded);
    const auto upcomingNames = [this] {
        QStringList names;
        for (int i = 0; i < core.watch().upcomingAlarms().numberOfElements(); ++i) {
            names << QString::fromStdString(core.watch().upcomingAlarms().elementAt(i)->name);
        }
        return names;
    };
    EXPECT_EQ(upcomingNames(), (QStringList{"Tea", "Lamp"}));

    lists->refresh(); // the list is sorted by name: the collection and the sounding order follow it
    EXPECT_EQ(column("lstAlarmGroups", 0), (QStringList{"Attic", "Home"}));
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0), attic);
    EXPECT_EQ(upcomingNames(), (QStringList{"Lamp", "Tea"}));

    // Ctrl+Up moves Home past its visible neighbour, and sorting is off from then on.
    lists->selectGroup(home);
    key("lstAlarmGroups", Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(core.settings().groupSortColumn, -1);
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0), home);
    EXPECT_EQ(column("lstAlarmGroups", 0), (QStringList{"Home", "Attic"}));
    EXPECT_EQ(lists->currentGroup(), home);
    EXPECT_EQ(upcomingNames(), (QStringList{"Tea", "Lamp"}));
    key("lstAlarmGroups", Qt::Key_Up, Qt::ControlModifier); // already first: nothing moves
    EXPECT_EQ(core.groups().alarmGroups.elementAt(0), home);
}

TEST_F(MainWindowListsTest, KeysMoveCopyPasteAndDeleteAlarms) {
    const auto group = core.groups().alarmGroups.elementAt(0);
    list("lstAlarms")->topLevelItem(1)->setSelected(true);
    key("lstAlarms", Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Bins", "Tea"}));
    EXPECT_TRUE(group->changed);

    // Copy through the desktop's clipboard (with Shift) and paste back: a third alarm.
    key("lstAlarms", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(systemClipboard.text().find("Bins"), std::string::npos);
    key("lstAlarms", Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(group->alarms.numberOfElements(), 3);

    for (int i = 0; i < list("lstAlarms")->topLevelItemCount(); ++i) {
        list("lstAlarms")->topLevelItem(i)->setSelected(i == 0);
    }
    dialogs.setNextAnswer(Dialogs::answerYes);
    key("lstAlarms", Qt::Key_Delete);
    EXPECT_EQ(group->alarms.numberOfElements(), 2);
    EXPECT_EQ(column("lstAlarms", 0), (QStringList{"Tea", "Bins"}));
}

} // namespace
} // namespace halvika
