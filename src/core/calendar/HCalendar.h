// A calendar of dated entries laid out over a grid of date cells: which period each cell covers, the
// headers, which entries each cell shows, the selection and the HTML form. The widget only paints this.
#pragma once

#include "calendar/HCalendarEntry.h"
#include "calendar/HPeriod.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace halvika {

class HCalendar {
public:
    /// One grid cell: its period, its place, the scope line it belongs to and the entries it shows.
    struct Cell {
        HPeriod period;
        int row = 0;
        int column = 0;
        int line = 0;
        /// False for the days of a neighbouring month that fill a month's first and last week.
        bool inScope = true;
        std::string header;
        std::vector<int> entries; ///< indexes into the entries, in start order
    };
    /// A scope line's header and the grid rows (or columns, when lines run downwards) it spans.
    struct LineHeader {
        int first = 0;
        int count = 0;
        std::string text;
    };
    struct Layout {
        int rows = 0;
        int columns = 0;
        /// Lines run across (UnitLineDirection 1): line headers label rows and secondary headers columns.
        bool linesAcross = true;
        std::vector<Cell> cells;
        std::vector<LineHeader> lineHeaders;
        /// One per grid column when lines run across, one per grid row otherwise.
        std::vector<std::string> secondaryHeaders;
        /// Cell indexes by grid place (row by row), -1 where there is none.
        std::vector<int> places;
        /// The cell at a grid place, or -1.
        int cellAt(int row, int column) const;
    };

    static constexpr int maxScopeLength = 12;

    HCalendar();

    void clear();
    void addEntry(const std::string& text, const Date& startDate, const Date& endDate, std::int32_t colour,
                  const std::shared_ptr<Alarm>& alarm);
    /// The start of the first and the end of the last period shown.
    Date getFirstDateShown() const;
    Date getLastDateShown() const;
    /// Lays the grid out again and tells `refreshed`; does nothing while LockRefresh is set.
    void Refresh();
    const HCalendarEntry* getSelectedEntry() const;
    /// The period of the cell in which the selected entry was picked.
    HPeriod getSelectedEntryPeriod() const;
    HPeriod getSelectedPeriod() const;
    bool isEntrySelected() const { return m_selectedCell >= 0 && m_selectedEntry >= 0; }
    bool isPeriodSelected() const { return m_selectedCell >= 0 && m_selectedEntry < 0; }
    /// The grid as an HTML table linking "hgrstyle.css".
    std::string toHtml() const;

    int NumberOfEntries() const { return static_cast<int>(m_entries.size()); }
    const HCalendarEntry& entry(int index) const { return m_entries[static_cast<std::size_t>(index)]; }
    const Layout& layout() const { return m_layout; }
    /// The entry's text in a cell: its start in EntryPrefixFormat before the text in the cell where it
    /// starts, the text alone in the cells it lasts into.
    std::string entryLabel(int entryIndex, const Cell& cell) const;

    Date FirstDate() const { return m_firstDate; }
    void setFirstDate(const Date& date) { m_firstDate = date; }
    std::int16_t FirstDayOfWeek() const { return m_firstDayOfWeek; }
    void setFirstDayOfWeek(std::int16_t day) { m_firstDayOfWeek = static_cast<std::int16_t>(((day % 7) + 7) % 7); }
    std::int32_t ScopeLength() const { return m_scopeLength; }
    void setScopeLength(std::int32_t length);
    std::int16_t ScopeUnit() const { return m_scopeUnit; }
    /// Sets the unit and its presets (lengths, breadth and the four formats); units 0 and 1 have none.
    void setScopeUnit(std::int16_t unit);
    std::int32_t ShownScopeLength() const { return m_shownScopeLength; }
    void setShownScopeLength(std::int32_t length);
    std::int32_t ShownScopeBreadth() const { return m_shownScopeBreadth; }
    void setShownScopeBreadth(std::int32_t breadth);
    std::int32_t UnitLineDirection() const { return m_unitLineDirection; }
    void setUnitLineDirection(std::int32_t direction) { m_unitLineDirection = direction == 0 ? 0 : 1; }
    bool LockRefresh() const { return m_lockRefresh; }
    void setLockRefresh(bool locked) { m_lockRefresh = locked; }
    std::string LineHeaderFormat;
    std::string SecondaryHeaderFormat;
    std::string CellHeaderFormat;
    std::string EntryPrefixFormat;
    std::int16_t intervalBarWidth = 0;
    /// FirstDate brought back to the start of its scope unit (a week to its first day).
    Date getBaseDate() const;
    /// The unit whose count the clipboard offsets use: the length of the shortest cell.
    std::int16_t cellUnit() const;

    // Selection.
    void selectCell(int cell);
    void selectEntry(int cell, int entryIndex);
    void clearSelection();
    int selectedCell() const { return m_selectedCell; }
    int selectedEntryIndex() const { return isEntrySelected() ? m_selectedEntry : -1; }
    /// The first cell whose period holds `moment`, or -1.
    int cellOf(const Date& moment) const;

    /// Told after every Refresh (the widget repaints).
    std::function<void()> refreshed;

private:
    void layOut();

    std::vector<HCalendarEntry> m_entries;
    Layout m_layout;
    Date m_firstDate = Date::none();
    std::int16_t m_firstDayOfWeek = 0;
    std::int16_t m_scopeUnit = 4;
    std::int32_t m_scopeLength = 1;
    std::int32_t m_shownScopeLength = 1;
    std::int32_t m_shownScopeBreadth = 1;
    std::int32_t m_unitLineDirection = 1;
    bool m_lockRefresh = false;
    int m_selectedCell = -1;
    int m_selectedEntry = -1;
    /// The entry that was selected when the entries were cleared, found again by its alarm and start when
    /// it comes back. Until then nothing is selected: never the whole cell in its place.
    struct Reselection {
        int cell = -1;
        std::shared_ptr<Alarm> alarm;
        Date start;
    };
    Reselection m_reselect;
    void reselect();
};

} // namespace halvika
