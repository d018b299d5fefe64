// The calendar grid: periods and headers per scope, entries per cell, selection, and the HTML table.
#include "calendar/HCalendar.h"
#include "dates/DateUnits.h"
#include "fakes/DatePrinter.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace halvika {
namespace {

Date at(int day, int hour = 0, int minute = 0) {
    return Date::fromParts(2026, 3, day, hour, minute, 0);
}

HCalendar calendarOf(std::int16_t unit, const Date& first) {
    HCalendar c;
    c.setScopeUnit(unit);
    c.setFirstDate(first);
    c.Refresh();
    return c;
}

std::vector<std::string> cellTexts(const HCalendar& c, int cellIndex) {
    const auto& cell = c.layout().cells[static_cast<std::size_t>(cellIndex)];
    std::vector<std::string> texts;
    for (int e : cell.entries) {
        texts.push_back(c.entryLabel(e, cell));
    }
    return texts;
}

TEST(HCalendarTest, AMonthIsAGridOfWholeWeeksUnderTheirWeekdays) {
    // March 2026 begins on a Sunday and has 31 days: five rows of seven.
    HCalendar c = calendarOf(unitMonth, at(17, 15, 30));
    const auto& l = c.layout();
    EXPECT_EQ(c.getBaseDate(), at(1));
    EXPECT_EQ(l.rows, 5);
    EXPECT_EQ(l.columns, 7);
    EXPECT_EQ(c.getFirstDateShown(), at(1));
    EXPECT_EQ(c.getLastDateShown(), Date::fromParts(2026, 4, 4, 23, 59, 59));
    EXPECT_EQ(l.secondaryHeaders.front(), "Sunday");
    EXPECT_EQ(l.secondaryHeaders.back(), "Saturday");
    ASSERT_EQ(l.lineHeaders.size(), 1u);
    EXPECT_EQ(l.lineHeaders[0].text, "Mar");
    EXPECT_EQ(l.lineHeaders[0].count, 5);
    EXPECT_EQ(l.cells[16].header, "17");
    EXPECT_EQ(l.cells[16].period, createPeriod(at(17), Date::fromParts(2026, 3, 17, 23, 59, 59)));
    EXPECT_FALSE(l.cells[31].inScope); // 1 April fills the last week
    EXPECT_EQ(l.cellAt(2, 2), 16);

    // April begins on a Wednesday: three days of March lead, and Monday as first day shifts them.
    c.setFirstDate(Date::fromParts(2026, 4, 9));
    c.Refresh();
    EXPECT_EQ(c.getFirstDateShown(), at(29));
    EXPECT_FALSE(c.layout().cells[2].inScope);
    c.setFirstDayOfWeek(1);
    c.Refresh();
    EXPECT_EQ(c.getFirstDateShown(), at(30));
    EXPECT_EQ(c.layout().secondaryHeaders.front(), "Monday");
}

TEST(HCalendarTest, ThePresetsCutEachScopeIntoCellsThatTheirHeadersName) {
    HCalendar week = calendarOf(unitWeek, at(18, 9));
    EXPECT_EQ(week.getBaseDate(), at(15)); // the Sunday before
    EXPECT_EQ(week.layout().rows, 4);
    EXPECT_EQ(week.layout().columns, 7);
    EXPECT_EQ(week.layout().lineHeaders[0].text, "wk 12 (Mar)");
    EXPECT_EQ(week.getLastDateShown(), Date::fromParts(2026, 4, 11, 23, 59, 59));

    // Four days, each in eight cells of three hours.
    HCalendar day = calendarOf(unitDay, at(18, 9));
    EXPECT_EQ(day.layout().rows, 4);
    EXPECT_EQ(day.layout().columns, 8);
    EXPECT_EQ(day.layout().lineHeaders[1].text, "Thu 19 Mar");
    EXPECT_EQ(day.layout().secondaryHeaders[1], "03");
    EXPECT_EQ(day.layout().cells[1].period, createPeriod(at(18, 3), Date::fromParts(2026, 3, 18, 5, 59, 59)));

    HCalendar hour = calendarOf(unitHour, at(18, 9, 47));
    EXPECT_EQ(hour.getBaseDate(), at(18, 9));
    EXPECT_EQ(hour.layout().columns, 15);
    EXPECT_EQ(hour.layout().secondaryHeaders[14], "56");
    EXPECT_EQ(hour.getLastDateShown(), Date::fromParts(2026, 3, 18, 12, 59, 59));

    HCalendar year = calendarOf(unitYear, at(18));
    EXPECT_EQ(year.layout().columns, 6);
    EXPECT_EQ(year.layout().secondaryHeaders[1], "March");
    EXPECT_EQ(year.getFirstDateShown(), Date::fromParts(2026, 1, 1));
    EXPECT_EQ(year.getLastDateShown(), Date::fromParts(2026, 12, 31, 23, 59, 59));

    // Lines running downwards swap rows and columns.
    day.setUnitLineDirection(0);
    day.Refresh();
    EXPECT_EQ(day.layout().rows, 8);
    EXPECT_EQ(day.layout().columns, 4);
    EXPECT_EQ(day.layout().cellAt(1, 0), 1);

    // A calendar never told its first date shows nothing.
    HCalendar blank;
    blank.Refresh();
    EXPECT_TRUE(blank.layout().cells.empty());
    EXPECT_EQ(blank.getFirstDateShown(), blank.getLastDateShown());
}

TEST(HCalendarTest, EntriesFallIntoEveryCellTheyTouchWithTheirTimeWhereTheyStart) {
    HCalendar c = calendarOf(unitMonth, at(1));
    c.setLockRefresh(true);
    int refreshes = 0;
    c.refreshed = [&refreshes] { ++refreshes; };
    c.addEntry("Early", Date::fromParts(2026, 2, 28, 22, 0, 0), at(1, 2), 0x0000ff, nullptr); // into 1 March
    c.addEntry("Tea", at(3, 16), at(3, 16), 0, nullptr);
    c.addEntry("Trip", at(3, 18), at(5, 12), 0, nullptr);
    c.addEntry("Until midnight", at(7, 23), at(8), 0, nullptr); // ends as the 8th begins
    EXPECT_EQ(refreshes, 0);
    c.setLockRefresh(false);
    c.Refresh();
    EXPECT_EQ(refreshes, 1);

    EXPECT_EQ(cellTexts(c, 0), std::vector<std::string>{"Early"}); // continued, without its time
    EXPECT_EQ(cellTexts(c, 2), (std::vector<std::string>{"16 Tea", "18 Trip"}));
    EXPECT_EQ(cellTexts(c, 3), std::vector<std::string>{"Trip"});
    EXPECT_EQ(cellTexts(c, 4), std::vector<std::string>{"Trip"});
    EXPECT_EQ(cellTexts(c, 5), std::vector<std::string>{});
    EXPECT_EQ(cellTexts(c, 6), std::vector<std::string>{"23 Until midnight"});
    EXPECT_EQ(cellTexts(c, 7), std::vector<std::string>{});

    // Selecting an entry selects its cell too; the period of a cell not shown is none.
    c.selectEntry(3, 2);
    ASSERT_TRUE(c.isEntrySelected());
    EXPECT_EQ(c.getSelectedEntry()->text, "Trip");
    EXPECT_EQ(c.getSelectedEntryPeriod().start, at(4));
    c.selectEntry(3, 1); // Tea is not in that cell
    EXPECT_TRUE(c.isPeriodSelected());
    EXPECT_EQ(c.getSelectedPeriod().start, at(4));
    c.selectCell(99);
    EXPECT_FALSE(c.isPeriodSelected());
    EXPECT_EQ(c.cellOf(at(5, 12)), 4);
    EXPECT_EQ(c.cellOf(Date::fromParts(2026, 4, 1, 1, 0, 0)), -1); // shown, but April's

    // Tool tips: the start, the end when the entry lasts, then the alarm's own text.
    EXPECT_EQ(c.entry(2).getToolTip("dd/mm hh:nn", nullptr), "03/03 18:00 --- 05/03 12:00\r\n");
    EXPECT_EQ(c.entry(1).getToolTip("dd/mm hh:nn", nullptr), "03/03 16:00\r\n");
}

TEST(HCalendarTest, TheHtmlFormIsATableOfTheGrid) {
    HCalendar c = calendarOf(unitWeek, at(15));
    c.setScopeLength(2);
    c.addEntry("Tea & <cake>", at(16, 16), at(16, 16), 0x0000ff, nullptr);
    c.addEntry("Walk", at(16, 18), at(16, 18), 0x00ff00, nullptr);

    // Well-formed throughout; the empty cells' &nbsp; is left to the browser.
    pugi::xml_document page;
    const std::string html = c.toHtml();
    const auto parsed = page.load_string(html.c_str());
    ASSERT_TRUE(parsed) << parsed.description();
    EXPECT_STREQ(page.select_node("/html/head/link").node().attribute("href").value(), "hgrstyle.css");
    const auto rows = page.select_nodes("/html/body/table/tr");
    ASSERT_EQ(rows.size(), 3u); // the header row and two weeks
    const auto header = rows[0].node();
    EXPECT_EQ(header.select_nodes("td").size(), 8u);
    EXPECT_STREQ(header.select_node("td[2]").node().text().get(), "Sunday");
    EXPECT_STREQ(header.select_node("td[2]").node().attribute("class").value(), "hgrheadercell");
    const auto firstWeek = rows[1].node();
    EXPECT_STREQ(firstWeek.select_node("td[1]").node().text().get(), "wk 12 (Mar)");
    const auto monday = firstWeek.select_node("td[3]").node();
    EXPECT_STREQ(monday.attribute("class").value(), "");
    EXPECT_STREQ(monday.select_node("div[@class='hgrcellheader']").node().text().get(), "16");
    const auto entries = monday.select_nodes("font");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].node().text().get(), "16 Tea & <cake>");
    EXPECT_STREQ(entries[0].node().attribute("color").value(), "#ff0000");
    EXPECT_STREQ(entries[1].node().attribute("color").value(), "#00ff00");
    EXPECT_EQ(monday.select_nodes("br").size(), 1u);
    EXPECT_EQ(rows[2].node().select_nodes("td/font").size(), 0u);

    // A cell with neither header nor entries holds a non-breaking space, which keeps its border drawn.
    const std::string dayHtml = calendarOf(unitDay, at(15)).toHtml();
    pugi::xml_document dayPage;
    ASSERT_TRUE(dayPage.load_string(dayHtml.c_str()));
    EXPECT_STREQ(dayPage.select_node("/html/body/table/tr[2]/td[2]").node().text().get(), "&nbsp;");
}

} // namespace
} // namespace halvika
