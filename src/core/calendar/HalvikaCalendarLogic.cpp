// The alarm calendar's views, toolbar, filling, settings, clipboard offsets and export.
#include "calendar/HalvikaCalendarLogic.h"

#include "alarms/Alarm.h"
#include "base/AppPaths.h"
#include "dates/ArithmeticError.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroup.h"
#include "platform/Shell.h"
#include "sounding/AlarmQueries.h"
#include "sounding/AlarmWatch.h"
#include "text/FileWriteQueue.h"
#include "text/TextFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace halvika {

namespace {

// Clipboard offsets count cells from this day, so that they fit 32 bits for every cell unit.
const Date offsetOrigin = Date::fromParts(2000, 1, 1);

bool knownUnit(std::int32_t unit) {
    return unit >= unitHour && unit <= unitWeek;
}

} // namespace

HalvikaCalendarLogic::HalvikaCalendarLogic() {
    m_views[0].calendar.setScopeUnit(unitMonth);
    m_views[1].calendar.setScopeUnit(unitDay);
}

void HalvikaCalendarLogic::setMinImportance(int view, std::int16_t minImportance) {
    m_views[index(view)].minImportance = std::clamp<std::int16_t>(minImportance, 0, 2);
}

Vector<Alarm> HalvikaCalendarLogic::getSelectedAlarms() const {
    Vector<Alarm> alarms;
    const HCalendar& cal = calendar(m_current);
    if (const HCalendarEntry* entry = cal.getSelectedEntry()) {
        if (entry->alarm) {
            alarms.addElement(entry->alarm);
        }
        return alarms;
    }
    if (cal.selectedCell() < 0) {
        return alarms;
    }
    for (int e : cal.layout().cells[static_cast<std::size_t>(cal.selectedCell())].entries) {
        const auto& alarm = cal.entry(e).alarm;
        if (alarm && alarms.indexOf(alarm) < 0) {
            alarms.addElement(alarm);
        }
    }
    return alarms;
}

void HalvikaCalendarLogic::clear(int view) {
    calendar(view).clear();
}

void HalvikaCalendarLogic::addAlarms(int view, const Vector<Alarm>& alarms, const DateVector& startDates,
                                     const DateVector& endDates) {
    HCalendar& cal = calendar(view);
    cal.setLockRefresh(true);
    for (int i = 0; i < alarms.numberOfElements(); ++i) {
        const auto& alarm = alarms.elementAt(i);
        const auto group = alarm->parent.lock();
        cal.addEntry(alarm->name, startDates.dateAt(i), endDates.dateAt(i), group ? group->Color : 0, alarm);
    }
    cal.setLockRefresh(false);
}

bool HalvikaCalendarLogic::fillView(int view, const Vector<AlarmGroup>& groups, bool ignoreCorrection) {
    const Date first = getFirstDate(view);
    const Date last = getLastDate(view);
    if (first == last) {
        return true;
    }
    Vector<Alarm> alarms;
    DateVector starts;
    DateVector ends;
    bool complete = true;
    for (int g = 0; g < groups.numberOfElements() && complete; ++g) {
        complete = AlarmQueries::collectAlarmIntervals(groups.elementAt(g)->alarms, first, last, getMinImportance(view),
                                                       ignoreCorrection, alarms, starts, ends);
    }
    // One layout for the refilled view, not one for the emptied and one for the filled.
    HCalendar& cal = calendar(view);
    cal.setLockRefresh(true);
    cal.clear();
    addAlarms(view, alarms, starts, ends);
    cal.Refresh();
    return complete;
}

void HalvikaCalendarLogic::setFirstDayOfWeek(std::int16_t day) {
    for (int view = 0; view < numberOfViews; ++view) {
        if (calendar(view).FirstDayOfWeek() != day) {
            calendar(view).setFirstDayOfWeek(day);
            changed(view);
        }
    }
}

void HalvikaCalendarLogic::changed(int view) {
    calendar(view).Refresh();
    if (ScopeChanged) {
        ScopeChanged(view);
    }
}

bool HalvikaCalendarLogic::command(int key) {
    HCalendar& cal = calendar(m_current);
    try {
        switch (key) {
        case k1:
        case k3:
            cal.setFirstDate(dateAddUnit(cal.getBaseDate(), key == k1 ? -1 : 1, cal.ScopeUnit()));
            break;
        case k4:
        case k5:
            cal.setScopeLength(cal.ScopeLength() + (key == k4 ? -1 : 1));
            break;
        case k6:
        case k7:
            cal.setShownScopeLength(cal.ShownScopeLength() + (key == k6 ? -1 : 1));
            break;
        case k8:
        case k9:
            cal.setShownScopeBreadth(cal.ShownScopeBreadth() + (key == k8 ? -1 : 1));
            break;
        case k10:
            cal.setUnitLineDirection(cal.UnitLineDirection() == 0 ? 1 : 0);
            break;
        default:
            return false;
        }
    } catch (const ArithmeticError&) {
        return false; // the first or last year of the calendar: no further
    }
    changed(m_current);
    return true;
}

void HalvikaCalendarLogic::setScopeUnit(std::int16_t unit) {
    if (knownUnit(unit) && unit != calendar(m_current).ScopeUnit()) {
        calendar(m_current).setScopeUnit(unit);
        changed(m_current);
    }
}

void HalvikaCalendarLogic::setFirstDate(const Date& date) {
    if (date < Date::none()) {
        calendar(m_current).setFirstDate(date);
        changed(m_current);
    }
}

std::string HalvikaCalendarLogic::selectedDateLabel(const std::string& format) const {
    const HCalendar& cal = calendar(m_current);
    if (const HCalendarEntry* entry = cal.getSelectedEntry()) {
        return formatDate(format, entry->startDate);
    }
    return cal.isPeriodSelected() ? formatDate(format, cal.getSelectedPeriod().start) : std::string();
}

XMLNodePtr HalvikaCalendarLogic::getSettings() const {
    auto node = XMLNode::Create("halvikacal");
    for (const View& v : m_views) {
        auto view = XMLNode::Create("view");
        const HCalendar& c = v.calendar;
        view->addDate("firstdate", c.FirstDate());
        view->addLong("scopeunit", c.ScopeUnit());
        view->addLong("scopelength", c.ScopeLength());
        view->addLong("shownscopelength", c.ShownScopeLength());
        view->addLong("shownscopebreadth", c.ShownScopeBreadth());
        view->addLong("linedirection", c.UnitLineDirection());
        view->addInteger("minimportance", v.minImportance);
        view->addInteger("coloffset", 0);
        view->addInteger("rowoffset", 0);
        node->addNode(view);
    }
    node->addSingle("hordivy", m_horizontalDivider);
    return node;
}

void HalvikaCalendarLogic::setSettings(const XMLNode& node, const Date& now) {
    const auto has = [](const XMLNode& n, const char* name) { return n.getNodeIndex(name) >= 0; };
    for (int i = 0; i < numberOfViews; ++i) {
        View& v = m_views[static_cast<std::size_t>(i)];
        HCalendar& c = v.calendar;
        const XMLNodePtr view = node.getNode("view", i);
        const bool present = node.getNodeIndex("view", i) >= 0;
        const Date none = Date::none();
        Date first = present ? view->getDate("firstdate", 0, none) : none;
        if (first >= none || first.year() < 1000) {
            first = now; // missing, or a date no one means
        }
        c.setFirstDate(first);
        if (!present) {
            continue;
        }
        if (has(*view, "scopeunit")) {
            const std::int32_t unit = view->getLong("scopeunit");
            // The presets first; the stored lengths then take their place.
            c.setScopeUnit(static_cast<std::int16_t>(knownUnit(unit) ? unit : unitMonth));
        }
        // Out-of-range lengths are clamped by the calendar; a breadth beyond a few hundred cells is no view.
        if (has(*view, "scopelength")) {
            c.setScopeLength(view->getLong("scopelength"));
        }
        if (has(*view, "shownscopelength")) {
            c.setShownScopeLength(view->getLong("shownscopelength"));
        }
        if (has(*view, "shownscopebreadth")) {
            c.setShownScopeBreadth(std::min<std::int32_t>(view->getLong("shownscopebreadth"), 366));
        }
        if (has(*view, "linedirection")) {
            c.setUnitLineDirection(view->getLong("linedirection"));
        }
        if (has(*view, "minimportance")) {
            setMinImportance(i, view->getInteger("minimportance"));
        }
    }
    const float divider = node.getSingle("hordivy", 0, defaultHorizontalDivider);
    m_horizontalDivider = std::isfinite(divider) && divider >= 0 ? divider : defaultHorizontalDivider;
    for (View& v : m_views) {
        v.calendar.Refresh();
    }
}

void HalvikaCalendarLogic::setIntervalBarWidth(std::int16_t width) {
    for (View& v : m_views) {
        v.calendar.intervalBarWidth = std::max<std::int16_t>(width, 0);
    }
}

std::int32_t HalvikaCalendarLogic::copyOffset() const {
    const HCalendar& cal = calendar(m_current);
    const HPeriod period = cal.isEntrySelected() ? cal.getSelectedEntryPeriod() : cal.getSelectedPeriod();
    try {
        return dateDiffUnit(offsetOrigin, period.start, cal.cellUnit());
    } catch (const ArithmeticError&) {
        return 0;
    }
}

void HalvikaCalendarLogic::shiftPasted(Alarm& alarm, std::int32_t offset) const {
    const HCalendar& cal = calendar(m_current);
    if (cal.selectedCell() < 0) {
        return;
    }
    try {
        const std::int32_t target = dateDiffUnit(offsetOrigin, cal.getSelectedPeriod().start, cal.cellUnit());
        const std::int32_t distance = target - offset;
        const auto move = [&](Date& d) {
            if (d > Date::zero() && d < Date::none()) {
                d = dateAddUnit(d, distance, cal.cellUnit());
            }
        };
        move(alarm.onceDate);
        move(alarm.nextDate);
        alarm.setChanged();
    } catch (const ArithmeticError&) {
        // Moved out of the calendar's years: the alarm keeps its moments.
    }
}

Date HalvikaCalendarLogic::proposedMoment(const HPeriod& period, const Date& now) {
    constexpr std::int64_t day = 86400;
    const Date candidate =
        period.end.serialSeconds() - period.start.serialSeconds() + 1 < day
            ? period.start
            : Date::fromSerialSeconds(period.start.dateOnly().serialSeconds() + (now.hour() + 1) % 24 * 3600);
    if (candidate > now) {
        return candidate;
    }
    // A one-time alarm in the past would never sound: the next whole hour instead (tomorrow's first, late
    // in the evening).
    return Date::fromSerialSeconds(now.dateOnly().serialSeconds() + (now.hour() + 1) * 3600);
}

void HalvikaCalendarLogic::exportHtml(const AppPaths& paths, Shell& shell, FileWriteQueue& writer,
                                      std::function<void(HtmlExport)> done) const {
    // The table links its style sheet by a relative name; it is queued first, so it is there when the page
    // opens. Without it the page is plain, not wrong.
    const std::string style = paths.homeFile("hgrstyle.css");
    const std::string shipped = paths.findFile("hgrstyle.css");
    if (!shipped.empty() && shipped != style) {
        if (auto css = TextFile::readBytes(shipped)) {
            writer.write(style, std::move(*css));
        }
    }
    const std::string target = paths.homeFile("temp.html");
    writer.writeConfirmed(target, calendar(m_current).toHtml(), false, {}, {},
                          [&shell, target, done = std::move(done)](bool ok, const std::string&) {
                              if (!ok) {
                                  done(HtmlExport::NotWritten);
                                  return;
                              }
                              done(shell.openDocument(target) ? HtmlExport::Opened : HtmlExport::NotOpened);
                          });
}

} // namespace halvika
