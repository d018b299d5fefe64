// Keeps the computer's wake-up alarm on the earliest alarm that is to wake it.
#pragma once

#include "dates/Date.h"
#include "platform/WakeAlarmSetter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <tuple>

namespace halvika {

class AlarmGroupCollection;
class Clock;
struct WatchSettings;

/// Asked after every scheduling; runs the privileged setter only when the wanted moment changed, one call
/// at a time. A failure stops the asking until the user changes the choice, so that a missing helper or
/// a refusal is not tried every half minute.
class WakeAlarmPlanner {
public:
    /// The helper takes nothing further ahead than this.
    static constexpr std::int64_t maxAheadSeconds = 365LL * 24 * 3600;
    /// A wake-up sooner than this is not worth the helper: the computer is awake.
    static constexpr std::int64_t minAheadSeconds = 3;

    WakeAlarmPlanner(const Clock& clock, const AlarmGroupCollection& groups, const WatchSettings& settings,
                     WakeAlarmSetter& setter);

    void update();
    /// The earliest moment after `now` of an active alarm of at least `minImportance` in an active group, or
    /// none.
    static Date earliestAlarm(const AlarmGroupCollection& groups, const Date& now, std::int16_t minImportance);
    /// The last failure, until the choice changes.
    std::optional<WakeAlarmSetter::Outcome> problem() const { return m_problem; }
    /// The settings dialog's text (section "frmSettings") that says why waking does not work; 0 when it does.
    int problemTextNumber() const;
    /// Told when a failure is found (not again for the same choice).
    std::function<void()> problemFound;
    /// The epoch second last set (0 none or cleared), for the record.
    std::int64_t wakeSecond() const { return m_set; }

private:
    /// The epoch second to wake at, 0 for none.
    std::int64_t wanted() const;
    void send(std::int64_t second);

    const Clock& m_clock;
    const AlarmGroupCollection& m_groups;
    const WatchSettings& m_settings;
    WakeAlarmSetter& m_setter;
    std::int64_t m_set = 0;
    bool m_inFlight = false;
    std::optional<WakeAlarmSetter::Outcome> m_problem;
    /// The user's choice: on, minimum importance, lead.
    using Choice = std::tuple<bool, std::int16_t, std::int32_t>;
    Choice choice() const;
    /// The choice the problem was found with.
    Choice m_problemChoice;
};

} // namespace halvika
