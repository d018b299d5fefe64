// The big alarm clock's states: idle, ringing until a limit, snoozing until it rings again.
#pragma once

#include "dates/Date.h"
#include "platform/SoundOutput.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace halvika {

class Clock;

class AlarmClockLogic {
public:
    enum class State { Idle = 0, Sounding = 1, Snoozing = 2 };

    /// `maxMinutes` is "acmm", `snoozeMinutes` "acst"; `ringFile` is the looping ringing sound. While the
    /// ringing sound cannot play (the sound server stalled, the file gone), the clock `beep`s at every tick
    /// and tries the sound again, so a clock meant to wake someone is never silent.
    AlarmClockLogic(const Clock& clock, std::unique_ptr<SoundChannel> channel, std::string ringFile,
                    std::int16_t maxMinutes, std::int16_t snoozeMinutes, std::function<void()> beep = {});
    ~AlarmClockLogic();
    AlarmClockLogic(const AlarmClockLogic&) = delete;
    AlarmClockLogic& operator=(const AlarmClockLogic&) = delete;

    void setLimits(std::int16_t maxMinutes, std::int16_t snoozeMinutes) {
        m_maxMinutes = maxMinutes;
        m_snoozeMinutes = snoozeMinutes;
    }
    /// Starts ringing, with a new limit of "acmm" minutes.
    void soundAlarmClock();
    /// A click on the clock snoozes it while it rings.
    void click();
    /// A double click rings the idle clock and snoozes a ringing one.
    void doubleClick();
    /// A click on the snoozing label ends snoozing.
    void snoozeLabelClicked();
    /// Stops ringing (only while ringing).
    void stopSounding();
    /// The clock's own timer (every second): rings again after a snooze, stops at the limit, beeps while the
    /// ringing sound will not play. True when the minute changed and the face is to be drawn again.
    bool tick();
    /// The window closes: a ringing clock falls silent.
    void close();

    State state() const { return m_state; }
    bool snoozeLabelVisible() const { return m_state == State::Snoozing; }
    const Date& soundUntil() const { return m_soundUntil; }
    const Date& snoozeUntil() const { return m_snoozeUntil; }

private:
    void ring();

    const Clock& m_clock;
    std::unique_ptr<SoundChannel> m_channel;
    std::string m_ringFile;
    std::int16_t m_maxMinutes;
    std::int16_t m_snoozeMinutes;
    State m_state = State::Idle;
    Date m_soundUntil = Date::none();
    Date m_snoozeUntil = Date::none();
    int m_minuteShown = -1;
    std::function<void()> m_beep;
    /// The ringing sound was taken by the channel.
    bool m_ringing = false;
};

} // namespace halvika
