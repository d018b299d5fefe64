#include "sounding/AlarmClockLogic.h"

#include "dates/DateUnits.h"
#include "platform/Clock.h"

namespace halvika {

namespace {
constexpr std::int16_t unitMinutes = 1;
}

AlarmClockLogic::AlarmClockLogic(const Clock& clock, std::unique_ptr<SoundChannel> channel, std::string ringFile,
                                 std::int16_t maxMinutes, std::int16_t snoozeMinutes, std::function<void()> beep)
    : m_clock(clock), m_channel(std::move(channel)), m_ringFile(std::move(ringFile)), m_maxMinutes(maxMinutes),
      m_snoozeMinutes(snoozeMinutes), m_beep(std::move(beep)) {
    m_minuteShown = m_clock.now().date.minute();
}

AlarmClockLogic::~AlarmClockLogic() {
    close();
}

void AlarmClockLogic::soundAlarmClock() {
    m_state = State::Sounding;
    m_soundUntil = dateAddUnit(m_clock.now().date, m_maxMinutes, unitMinutes);
    m_channel->stop();
    ring();
}

void AlarmClockLogic::ring() {
    m_ringing = m_channel->playLooped(m_ringFile);
    if (!m_ringing && m_beep) {
        m_beep();
    }
}

void AlarmClockLogic::click() {
    if (m_state != State::Sounding) {
        return;
    }
    m_state = State::Snoozing;
    m_channel->stop();
    m_snoozeUntil = dateAddUnit(m_clock.now().date, m_snoozeMinutes, unitMinutes);
}

void AlarmClockLogic::doubleClick() {
    if (m_state == State::Idle) {
        soundAlarmClock();
    } else {
        click();
    }
}

void AlarmClockLogic::snoozeLabelClicked() {
    if (m_state == State::Snoozing) {
        m_state = State::Idle;
    }
}

void AlarmClockLogic::stopSounding() {
    if (m_state == State::Sounding) {
        m_state = State::Idle;
        m_channel->stop();
    }
}

bool AlarmClockLogic::tick() {
    const Date now = m_clock.now().date;
    if (m_state == State::Snoozing && now >= m_snoozeUntil) {
        soundAlarmClock();
    } else if (m_state == State::Sounding && now >= m_soundUntil) {
        stopSounding();
    } else if (m_state == State::Sounding && !m_ringing) {
        ring();
    }
    if (now.minute() != m_minuteShown) {
        m_minuteShown = now.minute();
        return true;
    }
    return false;
}

void AlarmClockLogic::close() {
    stopSounding();
}

} // namespace halvika
