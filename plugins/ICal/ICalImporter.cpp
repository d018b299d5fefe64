// iCalendar to alarm group, with libical.
#include "ICalImporter.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "alarms/clsAdvancedDate.h"
#include "dates/DateUnits.h"

#include <libical/ical.h>

#include <cstdio>
#include <ctime>
#include <memory>

namespace halvika {

namespace {

struct CalendarDeleter {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};

/// A moment of the calendar as a local moment of this machine.
Date localOf(const icaltimetype& t) {
    if (icaltime_is_null_time(t)) {
        return Date::none();
    }
    if (icaltime_is_date(t) || (t.zone == nullptr && !icaltime_is_utc(t))) {
        // All-day and floating times mean the same wall-clock time wherever one is.
        return Date::tryFromParts(t.year, t.month, t.day, t.hour, t.minute, t.second).value_or(Date::none());
    }
    const icaltimezone* zone = t.zone != nullptr ? t.zone : icaltimezone_get_utc_timezone();
    const time_t seconds = icaltime_as_timet_with_zone(t, zone);
    std::tm local{};
    localtime_r(&seconds, &local);
    return Date::tryFromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                              local.tm_sec)
        .value_or(Date::none());
}

/// An amount of seconds as the largest unit that holds it whole.
std::pair<std::int32_t, std::int16_t> amountOf(std::int64_t seconds) {
    if (seconds % 86400 == 0) {
        return {static_cast<std::int32_t>(seconds / 86400), unitDay};
    }
    if (seconds % 60 == 0) {
        return {static_cast<std::int32_t>(seconds / 60), unitMinute};
    }
    return {static_cast<std::int32_t>(seconds), unitSecond};
}

std::string text(const char* value) {
    return value != nullptr ? value : "";
}

std::string xProperty(icalcomponent* c, const char* name) {
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        if (text(icalproperty_get_x_name(p)) == name) {
            return text(icalproperty_get_x(p));
        }
    }
    return {};
}

bool hasProperty(icalcomponent* c, icalproperty_kind kind) {
    return icalcomponent_get_first_property(c, kind) != nullptr;
}

template <std::size_t N> std::vector<short> listOf(const short (&values)[N]) {
    std::vector<short> out;
    for (std::size_t i = 0; i < N && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        out.push_back(values[i]);
    }
    return out;
}

std::string joined(const std::vector<std::string>& parts, const std::string& with) {
    std::string out;
    for (const auto& p : parts) {
        out += (out.empty() ? "" : with) + p;
    }
    return out;
}

/// "BYDAY=2MO" and "BYDAY=-1FR" as a date expression over the month.
std::string ordinalWeekday(int position, int weekday) {
    const std::string day =
        "WEEKDAY==" + std::string(clsAdvancedDate::weekdayNames[static_cast<std::size_t>(weekday - 1)]);
    const int n = position < 0 ? -position : position;
    const std::string field = position < 0 ? "DAYSBEFORENEXTMONTH" : "DAYOFMONTH";
    if (n == 1) {
        return day + "&&" + field + "<=7";
    }
    return day + "&&" + field + ">=" + std::to_string(7 * (n - 1) + 1) + "&&" + field + "<=" + std::to_string(7 * n);
}

std::string monthDay(int day) {
    return day > 0 ? "DAYOFMONTH==" + std::to_string(day) : "DAYSBEFORENEXTMONTH==" + std::to_string(-day);
}

/// Several alternatives joined with "||", each in parentheses when it has several parts.
std::string anyOf(const std::vector<std::string>& alternatives) {
    if (alternatives.size() == 1) {
        return alternatives.front();
    }
    std::vector<std::string> wrapped;
    for (const auto& a : alternatives) {
        wrapped.push_back("(" + a + ")");
    }
    return joined(wrapped, "||");
}

class EventImporter {
public:
    /// Occurrences counted out to find where a COUNT rule ends; a calendar file cannot make us count forever.
    static constexpr int maxCount = 100000;

    EventImporter(icalcomponent* event, std::vector<std::string>& notes, int allDayMinutes)
        : m_event(event), m_notes(notes), m_allDayMinutes(allDayMinutes) {}

    /// The alarm elements: none when the event has no moment, several when its rule needs one alarm per
    /// weekday.
    std::vector<XMLNodePtr> alarms() {
        const bool todo = icalcomponent_isa(m_event) == ICAL_VTODO_COMPONENT;
        const icaltimetype startTime = todo ? icalcomponent_get_due(m_event) : icalcomponent_get_dtstart(m_event);
        m_name = text(icalcomponent_get_summary(m_event));
        // Calendar programs that keep reminders as alarms often write their text only into the VALARM.
        m_reminderText = reminderDescription();
        if (m_name.empty()) {
            m_name = firstLine(m_reminderText);
        }
        if (m_name.empty()) {
            m_name = todo ? "To do" : "Event";
            note("it has neither a title (SUMMARY) nor a reminder text; it was named \"" + m_name + "\"");
        }
        // An all-day event reminds at the user's hour of the day, not with a window at midnight.
        const bool allDay = icaltime_is_date(startTime) != 0;
        const Date dayStart = localOf(startTime);
        const Date start = allDay && dayStart < Date::none()
                               ? Date::fromSerialSeconds(dayStart.serialSeconds() + m_allDayMinutes * 60LL)
                               : dayStart;
        if (start >= Date::none()) {
            note(todo ? "it has no due time and was left out" : "it has no start and was left out");
            return {};
        }
        auto a = Alarm::createAlarm(nullptr);
        a->name = m_name;
        a->Active = true;
        a->soundAfterInactive = true;
        a->startDate = a->endDate = Date::none();
        a->onceDate = start;
        a->nextDate = Date::none();
        a->durationAmount = 0;
        a->durationUnit = unitMinute;
        if (!todo) {
            const icaltimetype endTime = icalcomponent_get_dtend(m_event);
            const Date end = localOf(endTime);
            if (end < Date::none() && end > dayStart) {
                const auto [amount, unit] = amountOf(end.serialSeconds() - (allDay ? dayStart : start).serialSeconds());
                a->durationAmount = amount;
                a->durationUnit = unit;
            }
        }
        addMessage(*a);
        readAlarmTrigger(*a, start);
        if (icalproperty* rule = icalcomponent_get_first_property(m_event, ICAL_RRULE_PROPERTY)) {
            readRule(*a, icalproperty_get_rrule(rule), startTime, start);
            if (icalcomponent_get_next_property(m_event, ICAL_RRULE_PROPERTY) != nullptr) {
                note("only its first RRULE was imported");
            }
        }
        if (hasProperty(m_event, ICAL_EXDATE_PROPERTY)) {
            note("its excluded dates (EXDATE) were not imported: it also sounds on them");
        }
        if (hasProperty(m_event, ICAL_RDATE_PROPERTY)) {
            note("its extra dates (RDATE) were not imported");
        }
        const std::string expression = xProperty(m_event, "X-HALVIKA-EXPRESSION");
        if (!expression.empty()) {
            a->activeAdvanced = expression;
            a->activePeriod = static_cast<std::int16_t>(a->activePeriod | Alarm::periodAdvanced);
        }
        if (m_weekdayAnchors.empty()) {
            return {a->toXML("alrm")};
        }
        std::vector<XMLNodePtr> perWeekday;
        for (const Date& anchor : m_weekdayAnchors) {
            a->nextDate = anchor;
            perWeekday.push_back(a->toXML("alrm"));
        }
        return perWeekday;
    }

private:
    void note(const std::string& what) { m_notes.push_back("\"" + m_name + "\": " + what + "."); }

    static std::string firstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

    /// The first reminder's own text.
    std::string reminderDescription() const {
        icalcomponent* valarm = icalcomponent_get_first_component(m_event, ICAL_VALARM_COMPONENT);
        if (valarm == nullptr) {
            return {};
        }
        icalproperty* description = icalcomponent_get_first_property(valarm, ICAL_DESCRIPTION_PROPERTY);
        return description != nullptr ? text(icalproperty_get_description(description)) : "";
    }

    void addMessage(Alarm& a) {
        std::vector<std::string> parts;
        for (const char* part : {icalcomponent_get_summary(m_event), icalcomponent_get_description(m_event),
                                 icalcomponent_get_location(m_event)}) {
            if (!text(part).empty()) {
                parts.push_back(part);
            }
        }
        if (text(icalcomponent_get_summary(m_event)).empty() && text(icalcomponent_get_description(m_event)).empty() &&
            !m_reminderText.empty()) {
            parts.insert(parts.begin(), m_reminderText);
        }
        auto action = std::make_shared<clsAction>();
        action->setKind(ActionKind::Message);
        action->al = &a;
        action->setText(joined(parts, "\r\n"));
        a.actions.addElement(action);
    }

    /// The first VALARM's relative trigger becomes the correction.
    void readAlarmTrigger(Alarm& a, const Date& start) {
        icalcomponent* valarm = icalcomponent_get_first_component(m_event, ICAL_VALARM_COMPONENT);
        if (valarm == nullptr) {
            return;
        }
        if (icalcomponent_get_next_component(m_event, ICAL_VALARM_COMPONENT) != nullptr) {
            note("it has several reminders (VALARM); only the first was imported");
        }
        icalproperty* trigger = icalcomponent_get_first_property(valarm, ICAL_TRIGGER_PROPERTY);
        if (trigger == nullptr) {
            return;
        }
        const icaltriggertype t = icalproperty_get_trigger(trigger);
        std::int64_t seconds = 0;
        if (!icaltime_is_null_time(t.time)) {
            seconds = localOf(t.time).serialSeconds() - start.serialSeconds();
            if (hasProperty(m_event, ICAL_RRULE_PROPERTY)) {
                note("its reminder at a fixed time was taken as the same distance before every occurrence");
            }
        } else {
            seconds = icaldurationtype_as_int(t.duration);
            icalparameter* related = icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER);
            if (related != nullptr && icalparameter_get_related(related) == ICAL_RELATED_END) {
                seconds += dateAddUnit(start, a.durationAmount, a.durationUnit).serialSeconds() - start.serialSeconds();
            }
        }
        const auto [amount, unit] = amountOf(seconds);
        a.correctionAmount = amount;
        a.correctionUnit = unit;
    }

    void readRule(Alarm& a, const icalrecurrencetype& rule, const icaltimetype& startTime, const Date& start) {
        static const std::int16_t units[] = {unitSecond, unitMinute, unitHour, unitDay, unitWeek, unitMonth, unitYear};
        if (rule.freq < ICAL_SECONDLY_RECURRENCE || rule.freq > ICAL_YEARLY_RECURRENCE) {
            note("its repetition could not be read; it sounds once");
            return;
        }
        a.momentKind = 1;
        a.everyUnit = units[rule.freq - ICAL_SECONDLY_RECURRENCE];
        a.everyAmount = rule.interval > 0 ? rule.interval : 1;
        a.nextDate = start;
        a.onceDate = Date::none();
        // No occurrence before the first one: the window opens at the start.
        a.activePeriod = Alarm::periodWindow;
        a.startDate = start;
        a.endDate = Date::none();
        if (!icaltime_is_null_time(rule.until)) {
            a.endDate = localOf(rule.until);
        } else if (rule.count > maxCount) {
            note("it repeats more than " + std::to_string(maxCount) + " times; it was imported without an end");
        } else if (rule.count > 0) {
            a.endDate = countEnd(rule, startTime);
        }

        std::vector<std::string> conditions;
        std::vector<std::string> ordinals;
        int mask = 0;
        for (short day : listOf(rule.by_day)) {
            const int weekday = static_cast<int>(icalrecurrencetype_day_day_of_week(day));
            const int position = icalrecurrencetype_day_position(day);
            if (position == 0) {
                mask |= 1 << (weekday - 1);
            } else {
                ordinals.push_back(ordinalWeekday(position, weekday));
            }
        }
        const auto monthDays = listOf(rule.by_month_day);
        const auto months = listOf(rule.by_month);
        const bool monthly = a.everyUnit == unitMonth;
        const bool yearly = a.everyUnit == unitYear;

        if (mask == 1 << start.dayOfWeek() && a.everyUnit == unitWeek) {
            mask = 0; // every so many weeks on the start's own weekday
        }
        if (mask != 0 && a.everyUnit == unitWeek && a.everyAmount != 1 && ordinals.empty() && monthDays.empty() &&
            months.empty()) {
            // Every N weeks on several weekdays is exact as one alarm per weekday, each every N weeks from
            // its first occurrence.
            m_weekdayAnchors = weekdayAnchors(mask, rule, start, a.everyAmount);
            mask = 0;
        }
        if (mask != 0) {
            if (a.everyUnit == unitWeek || monthly || yearly) {
                // Within a week, month or year BYDAY names every such day: every day of them.
                if (a.everyAmount != 1) {
                    note("it repeats every " + std::to_string(a.everyAmount) +
                         " periods on several weekdays; it was imported as every period");
                }
                a.everyUnit = unitDay;
                a.everyAmount = 1;
            }
            a.weekDays = static_cast<std::int16_t>(mask);
            a.activePeriod = static_cast<std::int16_t>(a.activePeriod | Alarm::periodWeekdays);
        }
        if (!ordinals.empty()) {
            conditions.push_back(anyOf(ordinals));
        }
        const bool sameMonthDay = monthDays.size() == 1 && monthDays[0] == start.day();
        if (!monthDays.empty() && !(sameMonthDay && ordinals.empty() && mask == 0 && (monthly || yearly))) {
            std::vector<std::string> days;
            for (short d : monthDays) {
                days.push_back(monthDay(d));
            }
            conditions.push_back(anyOf(days));
        }
        const bool sameMonth = months.size() == 1 && months[0] == start.month();
        if (!months.empty() && !(sameMonth && yearly && conditions.empty() && mask == 0)) {
            std::vector<std::string> ms;
            for (short m : months) {
                ms.push_back("MONTH==" + std::to_string(m));
            }
            conditions.push_back(anyOf(ms));
        }
        if (conditions.empty() && mask == 0 && (monthly || yearly) && start.day() > 28) {
            // Adding months would move the 31st to the 30th; the calendar skips months without that day.
            conditions.push_back(monthDay(start.day()));
            if (yearly) {
                conditions.push_back("MONTH==" + std::to_string(start.month()));
            }
        }
        if (!conditions.empty()) {
            if ((monthly || yearly) && a.everyAmount != 1) {
                note("it repeats every " + std::to_string(a.everyAmount) +
                     " months or years on chosen days; it was imported as on those days of every one");
            }
            // The chosen days are found on a daily grid at the start's time of day.
            if (a.everyUnit == unitMonth || a.everyUnit == unitYear || a.everyUnit == unitWeek) {
                a.everyUnit = unitDay;
                a.everyAmount = 1;
            }
            std::vector<std::string> wrapped;
            for (const auto& c : conditions) {
                wrapped.push_back(conditions.size() > 1 && c.find("||") != std::string::npos ? "(" + c + ")" : c);
            }
            a.activeAdvanced = joined(wrapped, "&&");
            a.activePeriod = static_cast<std::int16_t>(a.activePeriod | Alarm::periodAdvanced);
        }
        if (listOf(rule.by_set_pos).size() > 0) {
            note("its BYSETPOS was not imported: it sounds on every day the rest of its rule names");
        }
        if (!listOf(rule.by_year_day).empty() || !listOf(rule.by_week_no).empty() || !listOf(rule.by_hour).empty() ||
            !listOf(rule.by_minute).empty() || !listOf(rule.by_second).empty()) {
            note("parts of its rule (BYYEARDAY, BYWEEKNO, BYHOUR, BYMINUTE or BYSECOND) were not imported");
        }
    }

    /// For each weekday of `mask`, its first occurrence: that day in the start's week (weeks begin on the
    /// rule's WKST) when not before the start, else the same day `interval` weeks later.
    static std::vector<Date> weekdayAnchors(int mask, const icalrecurrencetype& rule, const Date& start,
                                            std::int32_t interval) {
        const int weekStart = rule.week_start >= ICAL_SUNDAY_WEEKDAY && rule.week_start <= ICAL_SATURDAY_WEEKDAY
                                  ? static_cast<int>(rule.week_start) - 1
                                  : 1;
        const Date firstOfWeek = dateAddUnit(start, -((start.dayOfWeek() - weekStart + 7) % 7), unitDay);
        std::vector<Date> anchors;
        for (int i = 0; i < 7; ++i) {
            const int weekday = (weekStart + i) % 7;
            if ((mask & (1 << weekday)) == 0) {
                continue;
            }
            Date day = dateAddUnit(firstOfWeek, i, unitDay);
            if (day < start) {
                day = dateAddUnit(day, interval, unitWeek);
            }
            anchors.push_back(day);
        }
        return anchors;
    }

    /// The moment of the COUNT-th occurrence, as the end of the window.
    Date countEnd(const icalrecurrencetype& rule, const icaltimetype& startTime) {
        icalrecur_iterator* it = icalrecur_iterator_new(rule, startTime);
        if (it == nullptr) {
            return Date::none();
        }
        icaltimetype last = icaltime_null_time();
        for (int i = 0; i < rule.count; ++i) {
            const icaltimetype next = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(next)) {
                break;
            }
            last = next;
        }
        icalrecur_iterator_free(it);
        last.zone = startTime.zone;
        return icaltime_is_null_time(last) ? Date::none() : localOf(last);
    }

    icalcomponent* m_event;
    std::vector<std::string>& m_notes;
    int m_allDayMinutes;
    std::string m_name;
    std::string m_reminderText;
    std::vector<Date> m_weekdayAnchors;
};

} // namespace

ICalImporter::Result ICalImporter::importText(const std::string& text, const std::string& fallbackName,
                                              int allDayMinutes) {
    Result result;
    std::unique_ptr<icalcomponent, CalendarDeleter> root(icalparser_parse_string(text.c_str()));
    if (!root) {
        return result;
    }
    icalcomponent* calendar = root.get();
    if (icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT) {
        calendar = icalcomponent_get_first_component(root.get(), ICAL_VCALENDAR_COMPONENT);
    }
    if (calendar == nullptr) {
        return result;
    }
    std::string name = xProperty(calendar, "X-WR-CALNAME");
    auto group = XMLNode::Create("algr");
    group->addString("name", name.empty() ? fallbackName : name);
    group->addBoolean("stat", true);
    for (const icalcomponent_kind kind : {ICAL_VEVENT_COMPONENT, ICAL_VTODO_COMPONENT}) {
        for (icalcomponent* c = icalcomponent_get_first_component(calendar, kind); c != nullptr;
             c = icalcomponent_get_next_component(calendar, kind)) {
            EventImporter event(c, result.notes, allDayMinutes);
            Result::Source source;
            const char* uid = icalcomponent_get_uid(c);
            source.uid = uid != nullptr ? uid : "";
            if (icalproperty* modified = icalcomponent_get_first_property(c, ICAL_LASTMODIFIED_PROPERTY)) {
                source.lastModified = static_cast<std::int64_t>(icaltime_as_timet_with_zone(
                    icalproperty_get_lastmodified(modified), icaltimezone_get_utc_timezone()));
            }
            for (const XMLNodePtr& alarm : event.alarms()) {
                group->addNode(alarm);
                result.sources.push_back(source);
            }
        }
    }
    result.group = group;
    return result;
}

int ICalImporter::allDayMinutesFrom(const std::string& settings) {
    const std::string key = "allDayTime=";
    const auto at = settings.find(key);
    if (at == std::string::npos || (at > 0 && settings[at - 1] != '\n')) {
        return defaultAllDayMinutes;
    }
    int hour = 0;
    int minute = 0;
    char colon = 0;
    char after = 0;
    const std::string value = settings.substr(at + key.size(), settings.find('\n', at) - at - key.size());
    if (std::sscanf(value.c_str(), "%2d%c%2d%c", &hour, &colon, &minute, &after) != 3 || colon != ':' || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59) {
        return defaultAllDayMinutes;
    }
    return hour * 60 + minute;
}

} // namespace halvika
