#include "sounding/SoundWindowLogic.h"

#include "alarms/clsAction.h"
#include "dates/DateUnits.h"
#include "sounding/SoundVolume.h"
#include "sounding/WildcardPath.h"

namespace halvika {

SoundWindowLogic::Request SoundWindowLogic::Request::fromAction(const clsAction& action) {
    Request request;
    request.kind = action.kind();
    request.file = action.text();
    request.repeatMode = action.repeatMode();
    request.repeatTimes = action.repeatTimes();
    request.timed = action.timed();
    request.intervalMs = action.intervalMs();
    return request;
}

SoundWindowLogic::SoundWindowLogic(SoundOutput& output, SoundVolume& volume, std::unique_ptr<SoundChannel> channel,
                                   std::mt19937& random)
    : m_output(output), m_volume(volume), m_channel(std::move(channel)), m_random(random) {
    m_channel->onMediaDone = [this] { mediaPlayerDone(); };
    m_channel->onMediaError = [this] { mediaPlayerError(); };
}

SoundWindowLogic::~SoundWindowLogic() {
    stop();
}

std::int32_t SoundWindowLogic::repeatCountFor(const Request& request, const Date& now) {
    if (request.kind != ActionKind::SoundRepeated) {
        return 1;
    }
    switch (request.repeatMode) {
    case 0:
        return request.repeatTimes;
    case 1:
        return -1;
    case 2: {
        const int hour = dateAddUnit(now, 30, 1).hour() % 12;
        return hour == 0 ? 12 : hour;
    }
    default:
        return 1;
    }
}

void SoundWindowLogic::setSoundAction(const Request& request, const Date& now) {
    m_request = request;
    m_firstFile = WildcardPath::choose(request.file, m_random);
    m_secondFile = WildcardPath::choose(request.fallbackFile, m_random);
    m_repeatCount = repeatCountFor(request, now);
    if (request.kind == ActionKind::SoundRepeated && request.timed) {
        setTimer(request.intervalMs > 0 ? request.intervalMs : 1000);
    }
    playNext();
}

void SoundWindowLogic::playNext() {
    if (m_stopped) {
        return;
    }
    ++m_played;
    if (m_repeatCount != -1 && m_played > m_repeatCount) {
        m_finished = true;
        stop();
        if (onFinished) {
            onFinished();
        }
        return;
    }
    playOnce();
}

void SoundWindowLogic::playOnce() {
    if (m_request.overrideVolume) {
        m_volume.setSoundVolume(m_request.volume);
    }
    m_channel->stop();
    m_usingMedia = false;
    for (const std::string* file : {&m_firstFile, &m_secondFile}) {
        if (!file->empty() && m_output.fileExists(*file) && m_channel->playMedia(*file)) {
            m_usingMedia = true;
            if (!m_request.timed) {
                setTimer(0);
            }
            if (onChanged) {
                onChanged();
            }
            return;
        }
    }
    if (!playSimple()) {
        beepAndRetry();
    }
    if (onChanged) {
        onChanged();
    }
}

bool SoundWindowLogic::playSimple() {
    for (const std::string* file : {&m_firstFile, &m_secondFile}) {
        if (!file->empty() && m_output.fileExists(*file) && m_channel->playSimple(*file)) {
            if (!m_request.timed) {
                setTimer(0);
            }
            return true;
        }
    }
    return false;
}

void SoundWindowLogic::beepAndRetry() {
    m_output.beep();
    setTimer(retryIntervalMs);
}

void SoundWindowLogic::mediaPlayerDone() {
    if (!m_stopped && m_usingMedia) {
        playNext();
    }
}

void SoundWindowLogic::mediaPlayerError() {
    if (m_stopped) {
        return;
    }
    m_channel->stop();
    m_usingMedia = false;
    if (!playSimple()) {
        beepAndRetry();
    }
}

void SoundWindowLogic::timerFired() {
    if (!m_stopped && m_timerMs > 0) {
        playNext();
    }
}

void SoundWindowLogic::stop() {
    if (m_stopped) {
        return;
    }
    m_stopped = true;
    setTimer(0);
    m_channel->stop();
    m_usingMedia = false;
    m_volume.restoreSoundVolume();
}

void SoundWindowLogic::setTimer(int ms) {
    if (m_timerMs != ms) {
        m_timerMs = ms;
        if (onChanged) {
            onChanged();
        }
    }
}

} // namespace halvika
