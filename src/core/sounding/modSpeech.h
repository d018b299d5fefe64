// Speaking for the alarm actions: the settings' voice, volume and speed, and the speech in progress.
#pragma once

#include "sounding/clsVoices.h"

#include <deque>
#include <functional>
#include <string>

namespace halvika {

class Clock;
class SettingsStore;

class modSpeech {
public:
    modSpeech(SpeechEngine* current, SpeechEngine* older, const SettingsStore& settings, const Clock& clock)
        : m_voices(current, older), m_current(current), m_older(older), m_settings(settings), m_clock(clock) {}

    /// Speaks with the given voice and the settings' volume and speed overrides. While something is being
    /// spoken, or the engines are still learning their voices, the text waits its turn: speech is never cut
    /// off, and texts are heard in the order given. The settings are read when a text's turn comes, so a
    /// changed volume or speed takes effect at the next one.
    /// True when an engine took the text, or when it waits.
    bool speak(const std::string& text, const std::string& voice);
    /// Speaks with the settings' voice.
    bool speak(const std::string& text);
    /// Speaks the time teller's sentence for a command with the settings' voice; the fixed sentence for an
    /// unknown command word, nothing when its date cannot be read.
    bool tellTime(const std::string& command);
    /// Lets go of engines that have finished speaking, and starts the next waiting text.
    void releaseFinishedSpeech();
    /// Stops all speech at once, the waiting texts too.
    void stopSpeech();
    bool speaking() const { return m_currentBusy || m_olderBusy; }
    /// Texts waiting for the one being spoken.
    std::size_t waiting() const { return m_waiting.size(); }
    /// Called when a text starts to wait, so that the program looks in soon (releaseFinishedSpeech) rather
    /// than at the watch's next rescheduling.
    std::function<void()> textWaiting;
    std::vector<std::string> getVoices() { return m_voices.getVoices(); }

private:
    struct Waiting {
        std::string text;
        std::string voice;
    };
    bool speakNow(const std::string& text, const std::string& voice);
    /// Whether an engine is still speaking; one that has finished is let go.
    bool stillSpeaking();
    /// Whether an engine is still learning its voices.
    bool preparing();

    clsVoices m_voices;
    SpeechEngine* m_current;
    SpeechEngine* m_older;
    const SettingsStore& m_settings;
    const Clock& m_clock;
    bool m_currentBusy = false;
    bool m_olderBusy = false;
    std::deque<Waiting> m_waiting;
};

} // namespace halvika
