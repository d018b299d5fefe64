#include "sounding/modSpeech.h"

#include "platform/Clock.h"
#include "settings/SettingsStore.h"
#include "sounding/clsTimeTeller.h"

namespace halvika {

bool modSpeech::speak(const std::string& text, const std::string& voice) {
    if (stillSpeaking() || !m_waiting.empty() || preparing()) {
        m_waiting.push_back({text, voice});
        if (textWaiting) {
            textWaiting();
        }
        return true;
    }
    return speakNow(text, voice);
}

bool modSpeech::speakNow(const std::string& text, const std::string& voice) {
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

bool modSpeech::preparing() {
    const bool current = m_current && m_current->preparing();
    const bool older = m_older && m_older->preparing(); // both asked, so that both start learning
    return current || older;
}

bool modSpeech::stillSpeaking() {
    if (m_currentBusy && !m_current->speaking()) {
        m_currentBusy = false;
    }
    if (m_olderBusy && !m_older->speaking()) {
        m_older->stop();
        m_olderBusy = false;
    }
    return m_currentBusy || m_olderBusy;
}

void modSpeech::releaseFinishedSpeech() {
    // A text no engine takes is dropped, so that the next one still gets its turn.
    // With nothing waiting the engines are not asked whether they are ready: that sets them learning.
    while (!stillSpeaking() && !m_waiting.empty() && !preparing()) {
        const Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        speakNow(next.text, next.voice);
    }
}

void modSpeech::stopSpeech() {
    m_waiting.clear();
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
