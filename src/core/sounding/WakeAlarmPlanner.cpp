// Keeps the computer's wake-up alarm on the earliest alarm that is to wake it.
#include "sounding/WakeAlarmPlanner.h"

#include "dates/ArithmeticError.h"
#include "groups/AlarmGroupCollection.h"
#include "platform/Clock.h"
#include "sounding/WatchSettings.h"

#include <cmath>

namespace halvika {

WakeAlarmPlanner::WakeAlarmPlanner(const Clock& clock, const AlarmGroupCollection& groups,
                                   const WatchSettings& settings, WakeAlarmSetter& setter)
    : m_clock(clock), m_groups(groups), m_settings(settings), m_setter(setter) {}

Date WakeAlarmPlanner::earliestAlarm(const AlarmGroupCollection& groups, const Date& now, std::int16_t minImportance) {
    Date best = Date::none();
    for (const auto& group : groups.alarmGroups) {
        if (!group->Active) {
            continue;
        }
        for (const auto& alarm : group->alarms) {
            if (!alarm->Active || alarm->importance < minImportance) {
                continue;
            }
            const std::optional<Date> next = alarm->nextMomentAfter(now);
            if (next && *next < best) {
                best = *next;
            }
        }
    }
    return best;
}

std::int64_t WakeAlarmPlanner::wanted() const {
    if (!m_settings.wakeOn) {
        return 0;
    }
    // The watch's "now" is the wall clock moved back by the timer correction; alarms sound that much later.
    const auto correction = static_cast<std::int64_t>(std::floor(m_settings.timerCorrectionMs / 1000.0));
    const Date now = m_clock.today();
    const std::int64_t nowSecond = m_clock.epochSeconds(now);
    Date moment;
    try {
        moment = earliestAlarm(m_groups, Date::fromSerialSeconds(now.serialSeconds() - correction),
                               m_settings.wakeImportance);
    } catch (const ArithmeticError&) {
        return 0;
    }
    if (moment >= Date::none()) {
        return 0;
    }
    const std::int64_t due = m_clock.epochSeconds(moment) + correction;
    std::int64_t wake = due - m_settings.wakeLeadSeconds;
    if (wake < nowSecond + minAheadSeconds) {
        wake = due; // within the lead already: at least on time
    }
    if (wake < nowSecond + minAheadSeconds || wake > nowSecond + maxAheadSeconds) {
        return 0;
    }
    return wake;
}

WakeAlarmPlanner::Choice WakeAlarmPlanner::choice() const {
    return {m_settings.wakeOn, m_settings.wakeImportance, m_settings.wakeLeadSeconds};
}

int WakeAlarmPlanner::problemTextNumber() const {
    if (!m_problem) {
        return 0;
    }
    switch (*m_problem) {
    case WakeAlarmSetter::Outcome::Missing:
        return 51;
    case WakeAlarmSetter::Outcome::Refused:
        return 52;
    default:
        return 53;
    }
}

void WakeAlarmPlanner::update() {
    if (m_problem) {
        if (choice() == m_problemChoice) {
            return;
        }
        m_problem.reset();
    }
    if (m_inFlight) {
        return; // asked again when the call in hand is answered
    }
    const std::int64_t second = wanted();
    // Nothing set and nothing wanted: the helper is not run at all, so a user who never switched waking
    // on never sees it.
    if (second != m_set) {
        send(second);
    }
}

void WakeAlarmPlanner::send(std::int64_t second) {
    m_inFlight = true;
    m_setter.set(second, [this, second](WakeAlarmSetter::Outcome outcome) {
        m_inFlight = false;
        if (outcome == WakeAlarmSetter::Outcome::Done) {
            m_set = second;
            update(); // the alarms may have moved on while it ran
            return;
        }
        m_problem = outcome;
        m_problemChoice = choice();
        if (problemFound) {
            problemFound();
        }
    });
}

} // namespace halvika
