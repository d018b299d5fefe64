// The alarm calendar: two stored views of alarm occurrences, each with its own scope and importance filter;
// the toolbar's commands, the selected-date label, the filling from the alarm groups, the stored settings,
// the clipboard offsets and the HTML export.
#pragma once

#include "calendar/HCalendar.h"
#include "containers/DateVector.h"
#include "containers/Vector.h"
#include "xml/XMLNode.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace halvika {

class Alarm;
class AlarmGroup;
class AppPaths;
class FileWriteQueue;
class Shell;

class HalvikaCalendarLogic {
public:
    /// The toolbar's buttons; k2 (pick the first date) and k12 (export) have operations of their own.
    enum ToolbarKey : int {
        k1 = 1, ///< back one scope unit
        k2,
        k3,  ///< forward one scope unit
        k4,  ///< fewer scope units
        k5,  ///< more scope units
        k6,  ///< fewer units shown at once
        k7,  ///< more units shown at once
        k8,  ///< narrower
        k9,  ///< wider
        k10, ///< lines across or downwards
        k12 = 12,
    };
    static constexpr int numberOfViews = 2;
    static constexpr float defaultHorizontalDivider = 4315;
    /// A view holding more occurrences than this shows none.
    static constexpr int maxOccurrences = 1000;

    HalvikaCalendarLogic();

    int getNumberOfViews() const { return numberOfViews; }
    HCalendar& calendar(int view) { return m_views[index(view)].calendar; }
    const HCalendar& calendar(int view) const { return m_views[index(view)].calendar; }
    Date getFirstDate(int view) const { return calendar(view).getFirstDateShown(); }
    Date getLastDate(int view) const { return calendar(view).getLastDateShown(); }
    /// The least importance shown: the index of the importance selector (0 all, 1 important, 2 very).
    std::int16_t getMinImportance(int view) const { return m_views[index(view)].minImportance; }
    void setMinImportance(int view, std::int16_t minImportance);

    /// The view the toolbar and the selection work on.
    int currentView() const { return m_current; }
    void setCurrentView(int view) { m_current = index(view); }
    HPeriod getSelectedPeriod() const { return calendar(m_current).getSelectedPeriod(); }
    HPeriod getSelectedEntryPeriod() const { return calendar(m_current).getSelectedEntryPeriod(); }
    bool isAlarmSelected() const { return calendar(m_current).isEntrySelected(); }
    /// The selected entry's alarm, or the alarms of the selected period's entries (each once).
    Vector<Alarm> getSelectedAlarms() const;

    void clear(int view);
    /// One entry per occurrence: the alarm's name, its start and end, its group's colour.
    void addAlarms(int view, const Vector<Alarm>& alarms, const DateVector& startDates, const DateVector& endDates);
    /// Gathers the view's occurrences from the groups (in their order) and shows them. Returns false, with
    /// the view left empty, when there were more than maxOccurrences; true also when nothing was to be done.
    bool fillView(int view, const Vector<AlarmGroup>& groups, bool ignoreCorrection);

    /// The toolbar button `key` on the current view; true when the view changed (ScopeChanged was told).
    bool command(int key);
    /// The current view's scope unit (hour, day, week, month or year) with its presets.
    void setScopeUnit(std::int16_t unit);
    /// The date picker's choice becomes the current view's first date.
    void setFirstDate(const Date& date);
    /// The selected entry's start, else the selected period's start, in `format`; empty without a selection.
    std::string selectedDateLabel(const std::string& format) const;

    /// Saves the views as "view" children and the divider as "hordivy".
    XMLNodePtr getSettings() const;
    /// Reads what getSettings wrote; missing values keep the current ones (a missing first date becomes
    /// `now`), absurd ones are mended.
    void setSettings(const XMLNode& node, const Date& now);
    float horizontalDivider() const { return m_horizontalDivider; }
    void setHorizontalDivider(float twips) { m_horizontalDivider = twips; }
    /// The interval bars' width ("ibw") in every view.
    void setIntervalBarWidth(std::int16_t width);

    /// The clipboard's "dd": where the selected entry's period lies, counted in cells from a fixed day.
    std::int32_t copyOffset() const;
    /// Moves a pasted alarm by the distance from the copied entry's period to the selected period.
    void shiftPasted(Alarm& alarm, std::int32_t offset) const;

    /// The moment a new alarm made from a cell proposes: the cell's start; in a cell of a day or longer,
    /// its first day at the next whole hour after `now`.
    static Date proposedMoment(const HPeriod& period, const Date& now);

    enum class HtmlExport { Opened, NotWritten, NotOpened };
    /// Hands the current view's table to `writer` as "temp.html" in the home folder (with the style sheet
    /// beside it) and, once it is written, opens it with the desktop's handler; `done` hears how it went, at
    /// the writer's report of its outcomes. `shell` must outlive that.
    void exportHtml(const AppPaths& paths, Shell& shell, FileWriteQueue& writer,
                    std::function<void(HtmlExport)> done) const;

    /// Weeks in every view start on `day` (0 Sunday … 6 Saturday); a view whose start moves is filled again.
    void setFirstDayOfWeek(std::int16_t day);

    /// Told when a view's scope changed and it is to be filled again.
    std::function<void(int view)> ScopeChanged;

private:
    struct View {
        HCalendar calendar;
        std::int16_t minImportance = 0;
    };
    static int index(int view) { return view <= 0 ? 0 : numberOfViews - 1; }
    void changed(int view);

    std::array<View, numberOfViews> m_views;
    int m_current = 0;
    float m_horizontalDivider = defaultHorizontalDivider;
};

} // namespace halvika
