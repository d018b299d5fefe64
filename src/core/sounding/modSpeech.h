// Speaking for the alarm actions: the settings' voice, volume and speed, and the speech in progress.
#pragma once

#include "sounding/clsVoices.h"

#include <string>

namespace halvika {

class Clock;
class SettingsStore;

class modSpeech {
public:
    modSpeech(SpeechEngine* current, SpeechEngine* older, const SettingsStore& settings, const Clock& clock)
        : m_voices(current, older), m_current(current), m_older(older), m_settings(settings), m_clock(clock) {}

    /// Speaks with the given voice and the settings' volume and speed overrides.
    bool speak(const std::string& text, const std::string& voice);
    /// Speaks with the settings' voice.
    bool speak(const std::string& text);
    /// Speaks the time teller's sentence for a command with the settings' voice; the fixed sentence for an
    /// unknown command word, nothing when its date cannot be read.
    bool tellTime(const std::string& command);
    /// Lets go of engines that have finished speaking.
    void releaseFinishedSpeech();
    /// Stops all speech at once.
    void stopSpeech();
    bool speaking() const { return m_currentBusy || m_olderBusy; }
    std::vector<std::string> getVoices() { return m_voices.getVoices(); }

private:
    clsVoices m_voices;
    SpeechEngine* m_current;
    SpeechEngine* m_older;
    const SettingsStore& m_settings;
    const Clock& m_clock;
    bool m_currentBusy = false;
    bool m_olderBusy = false;
};

} // namespace halvika
