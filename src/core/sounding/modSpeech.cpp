#include "sounding/modSpeech.h"

#include "platform/Clock.h"
#include "settings/SettingsStore.h"
#include "sounding/clsTimeTeller.h"

namespace halvika {

bool modSpeech::speak(const std::string& text, const std::string& voice) {
    const bool taken = m_voices.speak(text, voice, m_settings.overrideVoiceVolume, m_settings.voiceVolume,
                                      m_settings.overrideVoiceSpeed, m_settings.voiceSpeed);
    if (taken) {
        (m_voices.lastEngine() == clsVoices::Engine::Current ? m_currentBusy : m_olderBusy) = true;
    }
    return taken;
}

bool modSpeech::speak(const std::string& text) {
    return speak(text, m_settings.voice);
}

bool modSpeech::tellTime(const std::string& command) {
    const auto sentence = clsTimeTeller::sentenceFor(command, m_clock.now().date);
    return sentence && speak(*sentence);
}

void modSpeech::releaseFinishedSpeech() {
    if (m_currentBusy && !m_current->speaking()) {
        m_currentBusy = false;
    }
    if (m_olderBusy && !m_older->speaking()) {
        m_older->stop();
        m_olderBusy = false;
    }
}

void modSpeech::stopSpeech() {
    if (m_currentBusy) {
        m_current->stop();
        m_currentBusy = false;
    }
    if (m_olderBusy) {
        m_older->stop();
        m_olderBusy = false;
    }
}

} // namespace halvika
