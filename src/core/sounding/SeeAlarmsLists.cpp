#include "sounding/SeeAlarmsLists.h"

#include "alarms/Alarm.h"
#include "containers/VectorStorage.h"
#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroupCollection.h"
#include "sounding/AlarmQueries.h"
#include "sounding/WatchSettings.h"

#include <algorithm>

namespace halvika {

bool SeeAlarmsLists::window(int list, const Date& now, Date& start, Date& end) const {
    const std::int32_t amount = m_settings.seeAlarmsAmount[list];
    const std::int16_t unit = m_settings.seeAlarmsUnit[list];
    const std::optional<Date> first = tryDateAddUnit(now, (list - 1) * amount, unit);
    const std::optional<Date> last = tryDateAddUnit(now, list * amount, unit);
    if (!first || !last) {
        return false;
    }
    start = *first;
    end = *last;
    return true;
}

void SeeAlarmsLists::insert(int list, const std::shared_ptr<Alarm>& alarm, const Date& moment) {
    List& l = m_lists[list];
    // After the entries of the same moment.
    int position = l.moments.numberOfElements();
    while (position > 0 && l.moments.dateAt(position - 1) > moment) {
        --position;
    }
    if (l.alarms.addElementAt(alarm, position)) {
        l.moments.addDateAt(moment, position);
        l.selected.addBooleanAt(false, position);
    }
}

void SeeAlarmsLists::computeBoundary(int list, const Date& now) {
    List& l = m_lists[list];
    l.boundary = Date::none();
    Date start, end;
    if (!window(list, now, start, end)) {
        return;
    }
    const std::int32_t amount = m_settings.seeAlarmsAmount[list];
    const std::int16_t unit = m_settings.seeAlarmsUnit[list];
    try {
        if (l.moments.numberOfElements() > 0) {
            // List 0: when the oldest entry leaves; list 1: when the first entry becomes due.
            l.boundary = dateAddUnit(l.moments.dateAt(0), (1 - list) * amount, unit);
        }
        const Vector<Alarm> next = AlarmQueries::collectEarliestAlarms(m_groups, end, false);
        if (next.numberOfElements() > 0) {
            const Date entry = dateAddUnit(next.elementAt(0)->getNextAlarmDateAfter(), -list * amount, unit);
            l.boundary = std::min(l.boundary, entry);
        }
    } catch (const ArithmeticError&) {
        l.boundary = Date::none();
    }
}

bool SeeAlarmsLists::update(int list, const Date& now) {
    if (!m_settings.seeAlarmsShown[list]) {
        return false;
    }
    List& l = m_lists[list];
    Date start, end;
    if (!window(list, now, start, end)) {
        return false;
    }
    while (l.moments.numberOfElements() > 0 && l.moments.dateAt(0) <= start) {
        l.alarms.removeElementAt(0);
        l.moments.removeDateAt(0);
        l.selected.removeBooleanAt(0);
    }
    Date x = l.moments.numberOfElements() > 0 ? l.moments.dateAt(l.moments.numberOfElements() - 1) : start;
    for (int round = 0; round < VectorStorage<int>::kMaxCount; ++round) {
        const Vector<Alarm> next = AlarmQueries::collectEarliestAlarms(m_groups, x, false);
        if (next.numberOfElements() == 0) {
            break;
        }
        const Date d = next.elementAt(0)->getNextAlarmDateAfter();
        if (d > end) {
            break;
        }
        for (int i = 0; i < next.numberOfElements(); ++i) {
            insert(list, next.elementAt(i), d);
        }
        x = d;
    }
    computeBoundary(list, now);
    return true;
}

void SeeAlarmsLists::rebuild(int list, const Date& now) {
    m_lists[list] = List{};
    if (m_settings.seeAlarmsShown[list]) {
        Vector<Alarm> every;
        for (int g = 0; g < m_groups.alarmGroups.numberOfElements(); ++g) {
            every.addVector(m_groups.alarmGroups.elementAt(g)->alarms);
        }
        add(every, list, now);
    }
}

void SeeAlarmsLists::add(const Vector<Alarm>& alarms, int list, const Date& now) {
    if (!m_settings.seeAlarmsShown[list]) {
        return;
    }
    Date start, end;
    if (!window(list, now, start, end)) {
        return;
    }
    for (int i = 0; i < alarms.numberOfElements(); ++i) {
        const auto alarm = alarms.elementAt(i);
        const auto group = alarm->parent.lock();
        if (!alarm->Active || !group || !group->Active) {
            continue;
        }
        Date x = start;
        for (int round = 0; round < 1000; ++round) {
            const std::optional<Date> d = alarm->nextMomentAfter(x);
            if (!d || *d >= Date::none() || *d > end) {
                break;
            }
            insert(list, alarm, *d);
            x = *d;
        }
    }
    computeBoundary(list, now);
}

void SeeAlarmsLists::remove(const Vector<Alarm>& alarms) {
    for (auto& l : m_lists) {
        for (int i = l.alarms.numberOfElements() - 1; i >= 0; --i) {
            if (alarms.contains(l.alarms.elementAt(i))) {
                l.alarms.removeElementAt(i);
                l.moments.removeDateAt(i);
                l.selected.removeBooleanAt(i);
            }
        }
    }
}

void SeeAlarmsLists::clear() {
    m_lists[0] = List{};
    m_lists[1] = List{};
}

} // namespace halvika
