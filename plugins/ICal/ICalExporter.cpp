// Alarm group to iCalendar, with libical.
#include "ICalExporter.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "alarms/clsAdvancedDate.h"
#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"

#include <libical/ical.h>

#include <cstdlib>
#include <functional>
#include <regex>

namespace halvika {

namespace {

/// A local moment as a floating iCalendar time: the same wall-clock time wherever the calendar is read.
icaltimetype floating(const Date& d) {
    icaltimetype t = icaltime_null_time();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.hour = d.hour();
    t.minute = d.minute();
    t.second = d.second();
    t.is_date = 0;
    return t;
}

void addX(icalcomponent* c, const char* name, const std::string& value) {
    icalproperty* p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    icalcomponent_add_property(c, p);
}

int weekdayNumber(const std::string& name) {
    for (int i = 1; i <= 7; ++i) {
        if (name == clsAdvancedDate::weekdayNames[static_cast<std::size_t>(i - 1)]) {
            return i;
        }
    }
    return 0;
}

/// The rules the importer writes as expressions, read back into RRULE parts; false for any other text.
bool ruleOfExpression(const std::string& expression, icalrecurrencetype& rule) {
    static const std::regex ordinal(
        R"(WEEKDAY==([A-Z]+)&&(DAYOFMONTH|DAYSBEFORENEXTMONTH)(?:<=7|>=(\d+)&&(?:DAYOFMONTH|DAYSBEFORENEXTMONTH)<=(\d+)))");
    static const std::regex day(R"((DAYOFMONTH|DAYSBEFORENEXTMONTH)==(\d+)(?:&&MONTH==(\d+))?)");
    std::smatch m;
    if (std::regex_match(expression, m, ordinal)) {
        const int weekday = weekdayNumber(m[1]);
        int position = 1;
        if (m[3].matched) {
            const int from = std::atoi(m[3].str().c_str());
            const int to = std::atoi(m[4].str().c_str());
            if (to != from + 6 || (from - 1) % 7 != 0) {
                return false;
            }
            position = to / 7;
        }
        if (weekday == 0 || position > 5) {
            return false;
        }
        const int sign = m[2] == "DAYSBEFORENEXTMONTH" ? -1 : 1;
        rule.freq = ICAL_MONTHLY_RECURRENCE;
        // libical's encoding: the weekday plus eight times the position, the sign on the whole.
        rule.by_day[0] = static_cast<short>(sign * (weekday + 8 * position));
        rule.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        return true;
    }
    if (std::regex_match(expression, m, day)) {
        const int n = std::atoi(m[2].str().c_str());
        if (n < 1 || n > 31) {
            return false;
        }
        rule.by_month_day[0] = static_cast<short>(m[1] == "DAYOFMONTH" ? n : -n);
        rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        rule.freq = ICAL_MONTHLY_RECURRENCE;
        if (m[3].matched) {
            rule.freq = ICAL_YEARLY_RECURRENCE;
            rule.by_month[0] = static_cast<short>(std::atoi(m[3].str().c_str()));
            rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        return true;
    }
    return false;
}

std::string messageOf(const Alarm& a) {
    for (int i = 0; i < a.actions.numberOfElements(); ++i) {
        const auto& action = a.actions.elementAt(i);
        if (action->showsMessage()) {
            return action->text();
        }
    }
    return {};
}

class EventExporter {
public:
    EventExporter(Alarm& alarm, std::vector<std::string>& notes) : m_alarm(alarm), m_notes(notes) {}

    /// The event, or none when the alarm never sounds.
    icalcomponent* event(const std::string& uid, std::time_t now) {
        Alarm& a = m_alarm;
        Date start;
        if (a.momentKind == 0) {
            start = a.onceDate;
        } else if (a.momentKind == 1) {
            start = firstOccurrence();
        }
        if (a.momentKind > 1 || start >= Date::none() || start <= Date::zero()) {
            note("it has no moment to sound at and was left out");
            return nullptr;
        }
        icalcomponent* ev = icalcomponent_new(ICAL_VEVENT_COMPONENT);
        icalcomponent_add_property(ev, icalproperty_new_uid(uid.c_str()));
        icalcomponent_add_property(
            ev, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(now, 0, icaltimezone_get_utc_timezone())));
        icalcomponent_add_property(ev, icalproperty_new_summary(a.name.c_str()));
        icalcomponent_add_property(ev, icalproperty_new_dtstart(floating(start)));
        if (a.durationAmount > 0) {
            const std::int64_t seconds = secondsOf(start, a.durationAmount, a.durationUnit, "duration");
            if (seconds > 0) {
                icalcomponent_add_property(
                    ev, icalproperty_new_duration(icaldurationtype_from_int(static_cast<int>(seconds))));
            }
        }
        const std::string message = messageOf(a);
        if (!message.empty()) {
            icalcomponent_add_property(ev, icalproperty_new_description(message.c_str()));
        }
        if (a.momentKind == 1) {
            addRule(ev);
        }
        // The reminder carries the correction, so that other programs remind when Halvika sounds.
        icalcomponent* valarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(valarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(valarm,
                                   icalproperty_new_description(message.empty() ? a.name.c_str() : message.c_str()));
        icaltriggertype trigger;
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(
            static_cast<int>(secondsOf(start, a.correctionAmount, a.correctionUnit, "correction")));
        icalcomponent_add_property(valarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_component(ev, valarm);
        return ev;
    }

private:
    void note(const std::string& what) { m_notes.push_back("\"" + m_alarm.name + "\": " + what + "."); }

    /// The length of an amount in a unit, counted from `from`; months and years are taken as they fall there.
    std::int64_t secondsOf(const Date& from, std::int32_t amount, std::int16_t unit, const char* what) {
        if (amount == 0) {
            return 0;
        }
        if (unit == unitMonth || unit == unitYear) {
            note(std::string("its ") + what + " in months or years was written as the days it spans at its start");
        }
        try {
            return dateAddUnit(from, amount, unit).serialSeconds() - from.serialSeconds();
        } catch (const ArithmeticError&) {
            return 0;
        }
    }

    /// The first moment the alarm sounds at (without correction) from its anchor or its window's start on.
    Date firstOccurrence() {
        Alarm& a = m_alarm;
        Date from = a.nextDate;
        if ((a.activePeriod & Alarm::periodWindow) != 0 && a.startDate > from && a.startDate < Date::none()) {
            from = a.startDate;
        }
        try {
            if (a.hasNextAlarmDateAfter(Date::fromSerialSeconds(from.serialSeconds() - 1), true)) {
                const Date first = a.getNextAlarmDateAfter();
                return first < Date::gaveUp() ? first : Date::none();
            }
        } catch (const std::exception&) {
            note("its next moment cannot be computed");
        }
        return Date::none();
    }

    void addRule(icalcomponent* ev) {
        Alarm& a = m_alarm;
        static const icalrecurrencetype_frequency frequencies[7] = {
            ICAL_SECONDLY_RECURRENCE, ICAL_MINUTELY_RECURRENCE, ICAL_HOURLY_RECURRENCE, ICAL_DAILY_RECURRENCE,
            ICAL_MONTHLY_RECURRENCE,  ICAL_YEARLY_RECURRENCE,   ICAL_WEEKLY_RECURRENCE};
        if (a.everyUnit < 0 || a.everyUnit > 6 || a.everyAmount <= 0 || a.everyAmount > 32767) {
            note("its period has no iCalendar form; it was written as sounding once");
            return;
        }
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        rule.freq = frequencies[a.everyUnit];
        rule.interval = static_cast<short>(a.everyAmount);
        if ((a.activePeriod & Alarm::periodWindow) != 0 && a.endDate < Date::none()) {
            rule.until = floating(a.endDate);
        }
        std::string expression = (a.activePeriod & Alarm::periodAdvanced) != 0 ? a.activeAdvanced : "";
        const bool weekdays = (a.activePeriod & Alarm::periodWeekdays) != 0 && (a.weekDays & 0x7f) != 0x7f;
        if (weekdays) {
            if (a.everyUnit <= unitDay) {
                // For periods up to a day BYDAY only picks; for longer ones it would add days.
                int k = 0;
                for (int d = 1; d <= 7; ++d) {
                    if ((a.weekDays & (1 << (d - 1))) != 0) {
                        rule.by_day[k++] = static_cast<short>(d);
                    }
                }
                rule.by_day[k] = ICAL_RECURRENCE_ARRAY_MAX;
            } else {
                std::string days;
                for (int d = 1; d <= 7; ++d) {
                    if ((a.weekDays & (1 << (d - 1))) != 0) {
                        days += std::string(days.empty() ? "" : "||") + "WEEKDAY==" +
                                std::string(clsAdvancedDate::weekdayNames[static_cast<std::size_t>(d - 1)]);
                    }
                }
                expression = expression.empty() ? days : "(" + days + ")&&(" + expression + ")";
            }
        }
        if (!expression.empty()) {
            if (!(a.everyUnit == unitDay && a.everyAmount == 1 && !weekdays && ruleOfExpression(expression, rule))) {
                addX(ev, "X-HALVIKA-EXPRESSION", expression);
                note("its date expression " + expression + " has no RRULE form; other programs see every period");
            }
        }
        icalcomponent_add_property(ev, icalproperty_new_rrule(rule));
    }

    Alarm& m_alarm;
    std::vector<std::string>& m_notes;
};

} // namespace

namespace {

icalcomponent* newCalendar() {
    icalcomponent* calendar = icalcomponent_new(ICAL_VCALENDAR_COMPONENT);
    icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Halvika//Halvika alarm clock//EN"));
    icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
    return calendar;
}

std::string textOf(icalcomponent* calendar) {
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string result = text != nullptr ? text : "";
    std::free(text);
    icalcomponent_free(calendar);
    return result;
}

} // namespace

std::string ICalExporter::exportAlarm(const XMLNode& alarmElement, const std::string& uid, std::time_t now,
                                      std::vector<std::string>& notes) {
    auto alarm = Alarm::createFromXML(alarmElement, nullptr);
    EventExporter exporter(*alarm, notes);
    icalcomponent* ev = exporter.event(uid, now);
    if (ev == nullptr) {
        return "";
    }
    const std::time_t modified = alarm->syncModified > 0 ? static_cast<std::time_t>(alarm->syncModified) : now;
    icalcomponent_add_property(
        ev, icalproperty_new_lastmodified(icaltime_from_timet_with_zone(modified, 0, icaltimezone_get_utc_timezone())));
    icalcomponent* calendar = newCalendar();
    icalcomponent_add_component(calendar, ev);
    return textOf(calendar);
}

ICalExporter::Result ICalExporter::exportGroup(const XMLNode& group, std::time_t now) {
    Result result;
    icalcomponent* calendar = newCalendar();
    const std::string name = group.getString("name");
    addX(calendar, "X-WR-CALNAME", name);
    const std::size_t nameHash = std::hash<std::string>{}(name);
    for (int i = 0; i < group.getNumberOfNodesWithName("alrm"); ++i) {
        auto alarm = Alarm::createFromXML(*group.getNode("alrm", i), nullptr);
        EventExporter exporter(*alarm, result.notes);
        const std::string uid = "halvika-" + std::to_string(nameHash) + "-" + std::to_string(i) + "@halvika";
        if (icalcomponent* ev = exporter.event(uid, now)) {
            icalcomponent_add_component(calendar, ev);
        }
    }
    result.text = textOf(calendar);
    return result;
}

} // namespace halvika
