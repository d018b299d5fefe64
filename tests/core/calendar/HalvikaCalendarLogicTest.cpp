// The alarm calendar: filling a view from the groups, the toolbar's limits, the stored settings, the
// selected-date label, the clipboard offsets and the export.
#include "calendar/HalvikaCalendarLogic.h"

#include "alarms/Alarm.h"
#include "base/AppPaths.h"
#include "dates/DateUnits.h"
#include "fakes/DatePrinter.h"
#include "fakes/RecordingShell.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "text/FileWriteQueue.h"

#include <gtest/gtest.h>

#include <optional>

namespace halvika {
namespace {

Date at(int day, int hour = 0, int minute = 0) {
    return Date::fromParts(2026, 3, day, hour, minute, 0);
}

class HalvikaCalendarLogicTest : public ::testing::Test {
protected:
    std::shared_ptr<AlarmGroup> group(const std::string& name, std::int32_t colour = 0) {
        auto g = std::make_shared<AlarmGroup>();
        g->name = name;
        g->Active = true;
        g->Color = colour;
        groups.addElement(g);
        return g;
    }
    std::shared_ptr<Alarm> once(const std::shared_ptr<AlarmGroup>& g, const std::string& name, const Date& when) {
        auto a = Alarm::createAlarm(g);
        a->name = name;
        a->onceDate = when;
        a->Active = true;
        a->durationAmount = 0;
        g->alarms.addElement(a);
        return a;
    }
    std::shared_ptr<Alarm> every(const std::shared_ptr<AlarmGroup>& g, const std::string& name, const Date& anchor,
                                 std::int32_t amount, std::int16_t unit) {
        auto a = once(g, name, Date::none());
        a->momentKind = 1;
        a->everyAmount = amount;
        a->everyUnit = unit;
        a->nextDate = anchor;
        a->startDate = a->endDate = Date::none();
        return a;
    }
    /// The entries of a view as "name@day".
    std::vector<std::string> entries(int view) {
        std::vector<std::string> out;
        const HCalendar& c = logic.calendar(view);
        for (int i = 0; i < c.NumberOfEntries(); ++i) {
            out.push_back(c.entry(i).text + "@" + std::to_string(c.entry(i).startDate.day()));
        }
        return out;
    }
    /// Shows March 2026 (a month grid of 1 March to 4 April) in view 0.
    void showMarch() {
        XMLNode settings;
        logic.setSettings(settings, at(10));
        ASSERT_EQ(logic.getFirstDate(0), at(1));
    }

    Vector<AlarmGroup> groups;
    HalvikaCalendarLogic logic;
};

TEST_F(HalvikaCalendarLogicTest, AViewShowsEachOccurrenceOfTheShownAlarmsInStartOrder) {
    showMarch();
    auto home = group("Home", 0x00ff00);
    auto work = group("Work");
    auto daily = every(home, "Daily", at(1, 7), 1, unitDay);
    once(work, "Dentist", at(3, 7)); // same moment as the daily one: after it, as gathered later
    auto trip = once(work, "Trip", Date::fromParts(2026, 2, 27, 12, 0, 0));
    trip->durationAmount = 3;
    trip->durationUnit = unitDay; // began before the view, lasts into it
    once(work, "Long ago", Date::fromParts(2026, 2, 20, 12, 0, 0));
    once(work, "Switched off", at(5))->Active = false;
    once(work, "Minor", at(6))->importance = 0;
    auto off = group("Off");
    once(off, "In an inactive group", at(7));
    off->Active = false;

    logic.setMinImportance(0, 0);
    ASSERT_TRUE(logic.fillView(0, groups, false));
    const auto shown = entries(0);
    ASSERT_EQ(shown.size(), 35u + 3u); // 35 days from 1 March to 4 April, the dentist, the trip, the minor
    EXPECT_EQ(shown[0], "Trip@27");
    EXPECT_EQ(shown[1], "Daily@1");
    EXPECT_EQ(shown[3], "Daily@3");
    EXPECT_EQ(shown[4], "Dentist@3");
    EXPECT_EQ(shown.back(), "Daily@4");
    for (int i = 2; i < 35; ++i) {
        EXPECT_LE(logic.calendar(0).entry(i - 1).startDate, logic.calendar(0).entry(i).startDate);
    }
    EXPECT_EQ(logic.calendar(0).entry(1).colour, 0x00ff00); // the group's colour
    EXPECT_EQ(logic.calendar(0).entry(1).alarm, daily);

    // Only important alarms: the daily one is made important, the rest are left out.
    daily->importance = 1;
    logic.setMinImportance(0, 1);
    ASSERT_TRUE(logic.fillView(0, groups, false));
    EXPECT_EQ(entries(0).size(), 35u);
}

TEST_F(HalvikaCalendarLogicTest, AViewOfMoreThanAThousandOccurrencesShowsNone) {
    showMarch();
    auto g = group("G");
    every(g, "Half-hourly", at(1), 30, unitMinute); // 35 days of 48
    EXPECT_FALSE(logic.fillView(0, groups, false));
    EXPECT_EQ(logic.calendar(0).NumberOfEntries(), 0);

    // 1,000 are shown; 1,001 are too many.
    g->alarms.clear();
    for (int k = 0; k < 1000; ++k) {
        once(g, "Minute " + std::to_string(k), Date::fromSerialSeconds(at(1).serialSeconds() + 60 * k));
    }
    EXPECT_TRUE(logic.fillView(0, groups, false));
    EXPECT_EQ(logic.calendar(0).NumberOfEntries(), 1000);
    once(g, "One more", at(20));
    EXPECT_FALSE(logic.fillView(0, groups, false));
    EXPECT_EQ(logic.calendar(0).NumberOfEntries(), 0);
}

TEST_F(HalvikaCalendarLogicTest, AViewWhoseFirstDateIsItsLastIsLeftAsItWas) {
    // Never given a first date, the view shows no period: its first and last dates are the same.
    auto g = group("G");
    auto tea = once(g, "Tea", at(3, 16));
    DateVector moments;
    moments.addDate(at(3));
    logic.addAlarms(0, Vector<Alarm>::createVectorWithObj(tea, 1), moments, moments);
    ASSERT_EQ(logic.getFirstDate(0), logic.getLastDate(0));
    EXPECT_TRUE(logic.fillView(0, groups, false));
    EXPECT_EQ(entries(0), std::vector<std::string>{"Tea@3"});
}

TEST_F(HalvikaCalendarLogicTest, TheToolbarMovesAndResizesTheViewWithinItsLimits) {
    showMarch();
    std::vector<int> changed;
    logic.ScopeChanged = [&changed](int view) { changed.push_back(view); };
    HCalendar& c = logic.calendar(0);

    EXPECT_TRUE(logic.command(HalvikaCalendarLogic::k3));
    EXPECT_EQ(c.getBaseDate(), Date::fromParts(2026, 4, 1));
    logic.command(HalvikaCalendarLogic::k1);
    logic.command(HalvikaCalendarLogic::k1);
    EXPECT_EQ(c.getBaseDate(), Date::fromParts(2026, 2, 1));

    for (int i = 0; i < 20; ++i) {
        logic.command(HalvikaCalendarLogic::k5);
        logic.command(HalvikaCalendarLogic::k7);
        logic.command(HalvikaCalendarLogic::k9);
    }
    EXPECT_EQ(c.ScopeLength(), 12);
    EXPECT_EQ(c.ShownScopeLength(), 12);
    EXPECT_EQ(c.ShownScopeBreadth(), 27); // no upper limit
    for (int i = 0; i < 40; ++i) {
        logic.command(HalvikaCalendarLogic::k4);
        logic.command(HalvikaCalendarLogic::k6);
        logic.command(HalvikaCalendarLogic::k8);
    }
    EXPECT_EQ(c.ScopeLength(), 1);
    EXPECT_EQ(c.ShownScopeLength(), 1);
    EXPECT_EQ(c.ShownScopeBreadth(), 1);
    logic.command(HalvikaCalendarLogic::k10);
    EXPECT_EQ(c.UnitLineDirection(), 0);
    logic.command(HalvikaCalendarLogic::k10);
    EXPECT_EQ(c.UnitLineDirection(), 1);
    EXPECT_EQ(changed.size(), 3u + 60u + 120u + 2u);
    EXPECT_EQ(changed.back(), 0);

    // The second view is the one the toolbar works on once chosen; the first is left alone.
    logic.setCurrentView(1);
    logic.command(HalvikaCalendarLogic::k3);
    EXPECT_EQ(changed.back(), 1);
    EXPECT_EQ(logic.calendar(1).getBaseDate(), at(11));
    EXPECT_EQ(c.ScopeLength(), 1);

    // Not past the calendar's last year.
    logic.setCurrentView(0);
    logic.setFirstDate(Date::fromParts(9999, 12, 5));
    EXPECT_FALSE(logic.command(HalvikaCalendarLogic::k3));
}

TEST_F(HalvikaCalendarLogicTest, SettingsComeBackAndAbsurdOnesAreMended) {
    logic.setSettings(XMLNode(), at(10));
    logic.setCurrentView(1);
    logic.command(HalvikaCalendarLogic::k5);
    logic.command(HalvikaCalendarLogic::k10);
    logic.setMinImportance(1, 2);
    logic.setHorizontalDivider(2000);
    const auto saved = logic.getSettings();
    EXPECT_EQ(saved->name, "halvikacal");
    EXPECT_EQ(saved->getNumberOfNodesWithName("view"), 2);

    HalvikaCalendarLogic restored;
    restored.setSettings(*saved, at(20));
    EXPECT_EQ(restored.calendar(1).FirstDate(), at(10));
    EXPECT_EQ(restored.calendar(1).ScopeUnit(), unitDay);
    EXPECT_EQ(restored.calendar(1).ScopeLength(), 5);
    EXPECT_EQ(restored.calendar(1).UnitLineDirection(), 0);
    EXPECT_EQ(restored.getMinImportance(1), 2);
    EXPECT_EQ(restored.horizontalDivider(), 2000);
    EXPECT_EQ(restored.getFirstDate(1), logic.getFirstDate(1));
    EXPECT_EQ(restored.getLastDate(1), logic.getLastDate(1));

    const auto absurd =
        XMLNode::createFromXML("<halvikacal><view><firstdate>0001/01/01 00:00:00</firstdate><scopeunit>17</scopeunit>"
                               "<scopelength>-4</scopelength><shownscopelength>400</shownscopelength>"
                               "<shownscopebreadth>100000</shownscopebreadth><linedirection>9</linedirection>"
                               "<minimportance>-3</minimportance></view><view><scopeunit>5</scopeunit></view>"
                               "<hordivy>-1</hordivy></halvikacal>");
    HalvikaCalendarLogic mended;
    mended.setSettings(*absurd, at(20));
    const HCalendar& c = mended.calendar(0);
    EXPECT_EQ(c.FirstDate(), at(20));
    EXPECT_EQ(c.ScopeUnit(), unitMonth);
    EXPECT_EQ(c.ScopeLength(), 1);
    EXPECT_EQ(c.ShownScopeLength(), 12);
    EXPECT_EQ(c.ShownScopeBreadth(), 366);
    EXPECT_EQ(c.UnitLineDirection(), 1);
    EXPECT_EQ(mended.getMinImportance(0), 0);
    EXPECT_EQ(mended.calendar(1).ScopeUnit(), unitYear);
    EXPECT_EQ(mended.calendar(1).FirstDate(), at(20)); // missing
    EXPECT_EQ(mended.horizontalDivider(), HalvikaCalendarLogic::defaultHorizontalDivider);
}

TEST_F(HalvikaCalendarLogicTest, ARefillKeepsTheSelectedEntryAndNeverWidensItToTheCell) {
    showMarch();
    auto g = group("G");
    once(g, "Breakfast", at(3, 8));
    auto tea = once(g, "Tea", at(3, 16, 30));
    once(g, "Dinner", at(3, 19));
    ASSERT_TRUE(logic.fillView(0, groups, false));
    HCalendar& c = logic.calendar(0);
    const int third = c.cellOf(at(3));
    c.selectEntry(third, 1);
    ASSERT_EQ(logic.getSelectedAlarms().elementAt(0), tea);

    // Another alarm sounded and everything was filled again: tea is still what Delete would take.
    g->alarms.remove(g->alarms.elementAt(0));
    ASSERT_TRUE(logic.fillView(0, groups, false));
    ASSERT_TRUE(logic.isAlarmSelected());
    ASSERT_EQ(logic.getSelectedAlarms().numberOfElements(), 1);
    EXPECT_EQ(logic.getSelectedAlarms().elementAt(0), tea);

    // Tea itself is gone: nothing is selected, not the dinner beside it.
    g->alarms.remove(tea);
    ASSERT_TRUE(logic.fillView(0, groups, false));
    EXPECT_FALSE(logic.isAlarmSelected());
    EXPECT_EQ(logic.getSelectedAlarms().numberOfElements(), 0);
}

TEST_F(HalvikaCalendarLogicTest, SelectionLabelClipboardOffsetAndExport) {
    showMarch();
    auto g = group("G", 0x0000ff);
    auto tea = once(g, "Tea", at(3, 16, 30));
    logic.fillView(0, groups, false);
    HCalendar& c = logic.calendar(0);
    EXPECT_EQ(logic.selectedDateLabel("dd.mm.yyyy hh:nn"), "");

    c.selectCell(c.cellOf(at(3)));
    EXPECT_EQ(logic.selectedDateLabel("dd.mm.yyyy hh:nn"), "03.03.2026 00:00");
    EXPECT_EQ(logic.getSelectedAlarms().numberOfElements(), 1); // the period's alarms
    c.selectEntry(c.cellOf(at(3)), 0);
    EXPECT_TRUE(logic.isAlarmSelected());
    EXPECT_EQ(logic.selectedDateLabel("dd.mm.yyyy hh:nn"), "03.03.2026 16:30");
    EXPECT_EQ(logic.getSelectedAlarms().elementAt(0), tea);

    // Copied from the 3rd, pasted on the 10th: a week later, at the same time.
    const std::int32_t offset = logic.copyOffset();
    c.selectCell(c.cellOf(at(10)));
    auto pasted = Alarm::createFromXML(*tea->toXML("al"), g);
    logic.shiftPasted(*pasted, offset);
    EXPECT_EQ(pasted->onceDate, at(10, 16, 30));

    // The style sheet is put beside the page, which links it by name.
    test::TempHome home;
    test::TempHome data;
    data.write("hgrstyle.css", "td { }");
    test::RecordingShell shell;
    const AppPaths paths(home.path(), {data.path()});
    FileWriteQueue writer;
    const auto exported = [this, &shell, &writer](const AppPaths& to) {
        std::optional<HalvikaCalendarLogic::HtmlExport> outcome;
        logic.exportHtml(to, shell, writer, [&outcome](HalvikaCalendarLogic::HtmlExport o) { outcome = o; });
        EXPECT_TRUE(writer.waitUntilDone());
        EXPECT_FALSE(outcome.has_value()); // told on this thread, at the writer's report
        writer.reportOutcomes();
        return outcome;
    };
    ASSERT_EQ(exported(paths), HalvikaCalendarLogic::HtmlExport::Opened);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], paths.homeFile("temp.html"));
    const std::string page = home.read("temp.html");
    EXPECT_NE(page.find("16 Tea"), std::string::npos);
    EXPECT_EQ(home.read("hgrstyle.css"), "td { }");
    shell.opens = false; // written, but nothing opens it: told apart from a page that could not be written
    EXPECT_EQ(exported(paths), HalvikaCalendarLogic::HtmlExport::NotOpened);
    EXPECT_EQ(exported(AppPaths(home.file("missing/folder"), {data.path()})),
              HalvikaCalendarLogic::HtmlExport::NotWritten);
}

TEST(HalvikaCalendarLogicProposal, ANewAlarmInACellIsProposedAtTheNextHourAndNeverInThePast) {
    const auto day = [](int d) {
        return HPeriod{Date::fromParts(2026, 3, d), Date::fromParts(2026, 3, d, 23, 59, 59)};
    };
    const Date afternoon = Date::fromParts(2026, 3, 7, 14, 20, 0);
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(day(7), afternoon), Date::fromParts(2026, 3, 7, 15, 0, 0));
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(day(9), afternoon), Date::fromParts(2026, 3, 9, 15, 0, 0));
    // Late in the evening: today's cell proposes tomorrow's first hour, not midnight gone by.
    const Date late = Date::fromParts(2026, 3, 7, 23, 30, 0);
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(day(7), late), Date::fromParts(2026, 3, 8, 0, 0, 0));
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(day(8), late), Date::fromParts(2026, 3, 8, 0, 0, 0));
    // An hour cell: its start, unless that has gone.
    const HPeriod hour{Date::fromParts(2026, 3, 7, 16, 0, 0), Date::fromParts(2026, 3, 7, 16, 59, 59)};
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(hour, afternoon), hour.start);
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(hour, Date::fromParts(2026, 3, 7, 16, 10, 0)),
              Date::fromParts(2026, 3, 7, 17, 0, 0));
    EXPECT_EQ(HalvikaCalendarLogic::proposedMoment(day(2), afternoon), Date::fromParts(2026, 3, 7, 15, 0, 0));
}

} // namespace
} // namespace halvika
