#include "sounding/AlarmQueries.h"

#include "alarms/Alarm.h"
#include "alarms/ExpressionError.h"
#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroupCollection.h"

namespace halvika {

Vector<Alarm> AlarmQueries::collectEarliestAlarms(const AlarmGroupCollection& groups, const Date& after,
                                                  bool soundAfterInactiveOnly) {
    Vector<Alarm> result;
    Date best = Date::none();
    // Asked at every tick of every alarm: no reference counts taken on the way.
    for (const auto& group : groups.alarmGroups) {
        if (!group->Active) {
            continue;
        }
        for (const auto& alarm : group->alarms) {
            if (!alarm->Active || (soundAfterInactiveOnly && !alarm->soundAfterInactive)) {
                continue;
            }
            // One alarm whose moment cannot be computed must not stop the others from sounding.
            const std::optional<Date> next = alarm->nextMomentAfter(after);
            if (!next || *next >= Date::none()) {
                continue;
            }
            if (result.numberOfElements() == 0 || *next < best) {
                result.clear();
                result.addElement(alarm);
                best = *next;
            } else if (*next == best) {
                result.addElement(alarm);
            }
        }
    }
    return result;
}

bool AlarmQueries::collectAlarmIntervals(const Vector<Alarm>& alarms, const Date& from, const Date& to,
                                         std::int16_t minImportance, bool ignoreCorrection, Vector<Alarm>& found,
                                         DateVector& starts, DateVector& ends) {
    for (int i = 0; i < alarms.numberOfElements(); ++i) {
        const auto alarm = alarms.elementAt(i);
        const auto group = alarm->parent.lock();
        if (!group || !group->Active || !alarm->Active || alarm->importance < minImportance) {
            continue;
        }
        try {
            // From one second before, less the duration: an occurrence that began earlier and lasts into the
            // range is included.
            Date x = dateAddUnit(dateAddUnit(from, -1, unitSecond), -alarm->durationAmount, alarm->durationUnit);
            while (alarm->hasNextAlarmDateAfter(x, ignoreCorrection)) {
                const Date s = alarm->getNextAlarmDateAfter();
                if (s > to || s >= Date::gaveUp()) {
                    break;
                }
                int position = starts.numberOfElements();
                while (position > 0 && starts.dateAt(position - 1) > s) {
                    --position;
                }
                found.addElementAt(alarm, position);
                starts.addDateAt(s, position);
                ends.addDateAt(dateAddUnit(s, alarm->durationAmount, alarm->durationUnit), position);
                if (found.numberOfElements() > maxIntervals) {
                    found.clear();
                    starts.clear();
                    ends.clear();
                    return false;
                }
                x = s;
            }
        } catch (const ArithmeticError&) {
            continue; // an alarm whose moments cannot be computed has no occurrences to show
        } catch (const ExpressionError&) {
            continue;
        }
    }
    return true;
}

Vector<Alarm> AlarmQueries::findOverlappingAlarms(const AlarmGroupCollection& groups, const Date& now,
                                                  const Vector<Alarm>& alarms, std::int32_t marginAmount,
                                                  std::int16_t marginUnit, std::int16_t minImportance,
                                                  bool ignoreCorrection) {
    Vector<Alarm> reported;
    const Date from = now;
    const Date to = dateAddUnit(from, 1, unitYear);
    Vector<Alarm> mine, others;
    DateVector myStarts, myEnds, otherStarts, otherEnds;
    collectAlarmIntervals(alarms, from, to, minImportance, ignoreCorrection, mine, myStarts, myEnds);
    Vector<Alarm> everyAlarm;
    for (int g = 0; g < groups.alarmGroups.numberOfElements(); ++g) {
        everyAlarm.addVector(groups.alarmGroups.elementAt(g)->alarms);
    }
    collectAlarmIntervals(everyAlarm, from, to, minImportance, ignoreCorrection, others, otherStarts, otherEnds);
    for (int o = 0; o < others.numberOfElements(); ++o) {
        const auto other = others.elementAt(o);
        if (alarms.contains(other) || reported.contains(other)) {
            continue;
        }
        for (int m = 0; m < mine.numberOfElements(); ++m) {
            try {
                const Date early = dateAddUnit(myStarts.dateAt(m), -marginAmount, marginUnit);
                const Date late = dateAddUnit(myEnds.dateAt(m), marginAmount, marginUnit);
                // Touching counts as overlapping.
                if (otherStarts.dateAt(o) <= late && otherEnds.dateAt(o) >= early) {
                    reported.addElement(other);
                    break;
                }
            } catch (const ArithmeticError&) {
                continue;
            }
        }
    }
    return reported;
}

} // namespace halvika
