// The calendar grid: periods, headers, entries per cell, selection and the HTML table.
#include "calendar/HCalendar.h"

#include "dates/ArithmeticError.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "xml/XMLNode.h"

#include <algorithm>
#include <cstdio>

namespace halvika {

namespace {

struct Preset {
    std::int16_t unit;
    std::int32_t scopeLength, shownScopeLength, shownScopeBreadth;
    const char *lineHeader, *secondaryHeader, *cellHeader, *entryPrefix;
};

constexpr Preset presets[] = {
    {unitHour, 4, 4, 15, "hh", "nn", "", "ss"},
    {unitDay, 4, 4, 8, "ddd d mmm", "hh", "", "h:nn"},
    {unitMonth, 1, 1, 7, "mmm", "dddd", "d", "h"},
    {unitYear, 1, 1, 6, "yyyy", "mmmm", "", "d"},
    {unitWeek, 4, 4, 7, "\"wk\" ww (mmm)", "dddd", "d", "h"},
};

/// The length in seconds of the units that have a fixed one; 0 for months and years.
std::int64_t fixedSeconds(std::int16_t unit) {
    switch (unit) {
    case unitSecond:
        return 1;
    case unitMinute:
        return 60;
    case unitHour:
        return 3600;
    case unitDay:
        return 86400;
    case unitWeek:
        return 7 * 86400;
    default:
        return 0;
    }
}

Date secondBefore(const Date& date) {
    return Date::fromSerialSeconds(date.serialSeconds() - 1);
}

std::string htmlColour(std::int32_t bgr) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(bgr & 0xff),
                  static_cast<unsigned>((bgr >> 8) & 0xff), static_cast<unsigned>((bgr >> 16) & 0xff));
    return text;
}

} // namespace

int HCalendar::Layout::cellAt(int row, int column) const {
    if (row < 0 || row >= rows || column < 0 || column >= columns) {
        return -1;
    }
    return places[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
}

HCalendar::HCalendar() = default;

void HCalendar::clear() {
    if (const HCalendarEntry* selected = getSelectedEntry()) {
        m_reselect = {m_selectedCell, selected->alarm, selected->startDate};
        m_selectedCell = -1;
    }
    m_entries.clear();
    m_selectedEntry = -1;
    Refresh();
}

void HCalendar::reselect() {
    if (!m_reselect.alarm || m_reselect.cell < 0 || m_reselect.cell >= static_cast<int>(m_layout.cells.size())) {
        return;
    }
    for (int e : m_layout.cells[static_cast<std::size_t>(m_reselect.cell)].entries) {
        const HCalendarEntry& candidate = m_entries[static_cast<std::size_t>(e)];
        if (candidate.alarm == m_reselect.alarm && candidate.startDate == m_reselect.start) {
            m_selectedCell = m_reselect.cell;
            m_selectedEntry = e;
            m_reselect = {};
            return;
        }
    }
}

void HCalendar::addEntry(const std::string& text, const Date& startDate, const Date& endDate, std::int32_t colour,
                         const std::shared_ptr<Alarm>& alarm) {
    m_entries.push_back({text, startDate, std::max(startDate, endDate), colour, alarm});
    Refresh();
}

Date HCalendar::getFirstDateShown() const {
    return m_layout.cells.empty() ? Date::none() : m_layout.cells.front().period.start;
}

Date HCalendar::getLastDateShown() const {
    return m_layout.cells.empty() ? Date::none() : m_layout.cells.back().period.end;
}

void HCalendar::Refresh() {
    if (m_lockRefresh) {
        return;
    }
    layOut();
    if (refreshed) {
        refreshed();
    }
}

void HCalendar::setScopeLength(std::int32_t length) {
    m_scopeLength = std::clamp(length, 1, maxScopeLength);
}

void HCalendar::setShownScopeLength(std::int32_t length) {
    m_shownScopeLength = std::clamp(length, 1, maxScopeLength);
}

void HCalendar::setShownScopeBreadth(std::int32_t breadth) {
    m_shownScopeBreadth = std::max(breadth, 1);
}

void HCalendar::setScopeUnit(std::int16_t unit) {
    m_scopeUnit = unit;
    for (const Preset& p : presets) {
        if (p.unit == unit) {
            m_scopeLength = p.scopeLength;
            m_shownScopeLength = p.shownScopeLength;
            m_shownScopeBreadth = p.shownScopeBreadth;
            LineHeaderFormat = p.lineHeader;
            SecondaryHeaderFormat = p.secondaryHeader;
            CellHeaderFormat = p.cellHeader;
            EntryPrefixFormat = p.entryPrefix;
        }
    }
}

Date HCalendar::getBaseDate() const {
    const Date& f = m_firstDate;
    if (f >= Date::none()) {
        return f;
    }
    switch (m_scopeUnit) {
    case unitMinute:
        return Date::fromSerialSeconds(f.serialSeconds() - f.second());
    case unitHour:
        return Date::fromSerialSeconds(f.serialSeconds() - f.minute() * 60 - f.second());
    case unitDay:
        return f.dateOnly();
    case unitMonth:
        return Date::fromParts(f.year(), f.month(), 1);
    case unitYear:
        return Date::fromParts(f.year(), 1, 1);
    case unitWeek:
        return Date::fromSerialSeconds(f.dateOnly().serialSeconds() -
                                       ((f.dayOfWeek() - m_firstDayOfWeek + 7) % 7) * std::int64_t{86400});
    default:
        return f;
    }
}

std::int16_t HCalendar::cellUnit() const {
    switch (m_scopeUnit) {
    case unitMonth:
    case unitWeek:
        return unitDay;
    case unitYear:
        return unitMonth;
    case unitDay:
        return unitHour;
    case unitHour:
        return unitMinute;
    default:
        return unitSecond;
    }
}

void HCalendar::layOut() {
    Layout layout;
    layout.linesAcross = m_unitLineDirection != 0;
    const int breadth = m_shownScopeBreadth;
    try {
        const Date base = getBaseDate();
        if (base >= Date::none()) {
            m_layout = layout;
            return;
        }
        int place = 0; // the first grid row (or column) of the next line
        int cellsPerRow = 0;
        for (int line = 0; line < m_scopeLength; ++line) {
            const Date lineStart = dateAddUnit(base, line, m_scopeUnit);
            const Date lineEnd = dateAddUnit(base, line + 1, m_scopeUnit);
            std::vector<HPeriod> periods;
            int lead = 0;
            if (m_scopeUnit == unitMonth) {
                // A month is a grid of days; with seven columns they stand under their weekdays.
                if (breadth == 7) {
                    lead = (lineStart.dayOfWeek() - m_firstDayOfWeek + 7) % 7;
                }
                const int days = Date::daysInMonth(lineStart.year(), lineStart.month());
                const int count = (lead + days + breadth - 1) / breadth * breadth;
                for (int k = 0; k < count; ++k) {
                    const Date start = dateAddUnit(lineStart, k - lead, unitDay);
                    periods.push_back({start, secondBefore(dateAddUnit(start, 1, unitDay))});
                }
            } else if (m_scopeUnit == unitYear) {
                // Months grouped evenly into at most twelve cells.
                const int count = std::min(breadth, 12);
                for (int k = 0; k < count; ++k) {
                    const Date start = dateAddUnit(lineStart, k * 12 / count, unitMonth);
                    const Date next = dateAddUnit(lineStart, (k + 1) * 12 / count, unitMonth);
                    periods.push_back({start, secondBefore(next)});
                }
            } else {
                // Units of fixed length are cut into `breadth` equal cells of whole seconds.
                const std::int64_t length = std::max<std::int64_t>(fixedSeconds(m_scopeUnit), 1);
                const auto count = static_cast<int>(std::min<std::int64_t>(breadth, length));
                for (int k = 0; k < count; ++k) {
                    const std::int64_t from = lineStart.serialSeconds() + k * length / count;
                    const std::int64_t to = lineStart.serialSeconds() + (k + 1) * length / count;
                    periods.push_back({Date::fromSerialSeconds(from), Date::fromSerialSeconds(to - 1)});
                }
            }
            const int perRow = std::min<int>(breadth, static_cast<int>(periods.size()));
            cellsPerRow = std::max(cellsPerRow, perRow);
            const int rows = (static_cast<int>(periods.size()) + perRow - 1) / perRow;
            layout.lineHeaders.push_back({place, rows, formatDate(LineHeaderFormat, lineStart)});
            for (std::size_t k = 0; k < periods.size(); ++k) {
                Cell cell;
                cell.period = periods[k];
                cell.line = line;
                cell.inScope = lineStart <= cell.period.start && cell.period.start < lineEnd;
                const int along = place + static_cast<int>(k) / perRow;
                const int across = static_cast<int>(k) % perRow;
                cell.row = layout.linesAcross ? along : across;
                cell.column = layout.linesAcross ? across : along;
                if (!CellHeaderFormat.empty()) {
                    cell.header = formatDate(CellHeaderFormat, cell.period.start);
                }
                layout.cells.push_back(std::move(cell));
            }
            place += rows;
        }
        layout.rows = layout.linesAcross ? place : cellsPerRow;
        layout.columns = layout.linesAcross ? cellsPerRow : place;
        for (int i = 0; i < cellsPerRow; ++i) {
            const bool known = i < static_cast<int>(layout.cells.size()) && !SecondaryHeaderFormat.empty();
            layout.secondaryHeaders.push_back(
                known ? formatDate(SecondaryHeaderFormat, layout.cells[static_cast<std::size_t>(i)].period.start)
                      : std::string());
        }
    } catch (const ArithmeticError&) {
        layout = Layout{}; // a view at the end of the calendar shows nothing rather than half a grid
        layout.linesAcross = m_unitLineDirection != 0;
    }
    layout.places.assign(static_cast<std::size_t>(layout.rows) * static_cast<std::size_t>(layout.columns), -1);
    for (std::size_t i = 0; i < layout.cells.size(); ++i) {
        const Cell& cell = layout.cells[i];
        layout.places[static_cast<std::size_t>(cell.row) * static_cast<std::size_t>(layout.columns) +
                      static_cast<std::size_t>(cell.column)] = static_cast<int>(i);
    }
    for (Cell& cell : layout.cells) {
        for (std::size_t e = 0; e < m_entries.size(); ++e) {
            if (m_entries[e].startDate > cell.period.end) {
                break; // entries come in start order
            }
            if (m_entries[e].overlaps(cell.period.start, cell.period.end)) {
                cell.entries.push_back(static_cast<int>(e));
            }
        }
    }
    m_layout = std::move(layout);
    if (m_selectedCell >= static_cast<int>(m_layout.cells.size())) {
        clearSelection();
    }
    if (m_selectedEntry >= static_cast<int>(m_entries.size())) {
        m_selectedEntry = -1;
    }
    reselect();
}

std::string HCalendar::entryLabel(int entryIndex, const Cell& cell) const {
    const HCalendarEntry& e = entry(entryIndex);
    if (EntryPrefixFormat.empty() || e.startDate < cell.period.start) {
        return e.text;
    }
    return formatDate(EntryPrefixFormat, e.startDate) + " " + e.text;
}

const HCalendarEntry* HCalendar::getSelectedEntry() const {
    return isEntrySelected() ? &m_entries[static_cast<std::size_t>(m_selectedEntry)] : nullptr;
}

HPeriod HCalendar::getSelectedEntryPeriod() const {
    return isEntrySelected() ? m_layout.cells[static_cast<std::size_t>(m_selectedCell)].period : HPeriod{};
}

HPeriod HCalendar::getSelectedPeriod() const {
    return m_selectedCell >= 0 ? m_layout.cells[static_cast<std::size_t>(m_selectedCell)].period : HPeriod{};
}

void HCalendar::selectCell(int cell) {
    m_reselect = {};
    m_selectedCell = cell >= 0 && cell < static_cast<int>(m_layout.cells.size()) ? cell : -1;
    m_selectedEntry = -1;
}

void HCalendar::selectEntry(int cell, int entryIndex) {
    selectCell(cell);
    if (m_selectedCell >= 0) {
        const auto& shown = m_layout.cells[static_cast<std::size_t>(m_selectedCell)].entries;
        if (std::find(shown.begin(), shown.end(), entryIndex) != shown.end()) {
            m_selectedEntry = entryIndex;
        }
    }
}

void HCalendar::clearSelection() {
    m_reselect = {};
    m_selectedCell = -1;
    m_selectedEntry = -1;
}

int HCalendar::cellOf(const Date& moment) const {
    for (std::size_t i = 0; i < m_layout.cells.size(); ++i) {
        if (m_layout.cells[i].inScope && m_layout.cells[i].period.contains(moment)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string HCalendar::toHtml() const {
    const Layout& l = m_layout;
    // Header texts per grid row and column, whichever way the lines run.
    std::vector<std::string> rowHeaders(static_cast<std::size_t>(l.rows));
    std::vector<std::string> columnHeaders(static_cast<std::size_t>(l.columns));
    for (const LineHeader& h : l.lineHeaders) {
        (l.linesAcross ? rowHeaders : columnHeaders)[static_cast<std::size_t>(h.first)] = h.text;
    }
    auto& secondary = l.linesAcross ? columnHeaders : rowHeaders;
    for (std::size_t i = 0; i < l.secondaryHeaders.size() && i < secondary.size(); ++i) {
        secondary[i] = l.secondaryHeaders[i];
    }
    const auto headerCell = [](std::string& out, const std::string& text) {
        out += "<td class=\"hgrheadercell\">";
        out += text.empty() ? "&nbsp;" : XMLNode::stringToXMLString(text);
        out += "</td>";
    };

    std::string out = "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"hgrstyle.css\"/></head><body>"
                      "<table border=\"1\">";
    out += "<tr>";
    headerCell(out, "");
    for (const std::string& h : columnHeaders) {
        headerCell(out, h);
    }
    out += "</tr>";
    for (int r = 0; r < l.rows; ++r) {
        out += "<tr>";
        headerCell(out, rowHeaders[static_cast<std::size_t>(r)]);
        for (int c = 0; c < l.columns; ++c) {
            out += "<td>";
            const int index = l.cellAt(r, c);
            bool empty = true;
            if (index >= 0) {
                const Cell& cell = l.cells[static_cast<std::size_t>(index)];
                if (!cell.header.empty()) {
                    out += "<div class=\"hgrcellheader\">" + XMLNode::stringToXMLString(cell.header) + "</div>";
                    empty = false;
                }
                for (std::size_t k = 0; k < cell.entries.size(); ++k) {
                    if (k > 0) {
                        out += "<br />";
                    }
                    out += "<font color=\"" + htmlColour(entry(cell.entries[k]).colour) + "\">" +
                           XMLNode::stringToXMLString(entryLabel(cell.entries[k], cell)) + "</font>";
                    empty = false;
                }
            }
            if (empty) {
                out += "&nbsp;";
            }
            out += "</td>";
        }
        out += "</tr>";
    }
    out += "</table></body></html>";
    return out;
}

} // namespace halvika
