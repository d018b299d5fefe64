// The voices of the two speech engines, and speaking with one of them by name.
#pragma once

#include "platform/SpeechEngine.h"

#include <string>
#include <vector>

namespace halvika {

/// The current engine's voices are named by their descriptions; the older engine's by "(" + 1-based number
/// + ") " + name. Either engine may be missing (null).
class clsVoices {
public:
    /// Which engine took the last text.
    enum class Engine { None, Current, Older };

    clsVoices(SpeechEngine* current, SpeechEngine* older) : m_current(current), m_older(older) {}

    /// The current engine's voices first, then the older engine's.
    std::vector<std::string> getVoices();
    /// Speaks with the voice named `voice` (the first voice when empty), trying the current engine first.
    /// Volume (0 to 100) and speed (-10 to 10) apply only when overridden and in range. Returns at once.
    bool speak(const std::string& text, const std::string& voice, bool overrideVoiceVolume, int voiceVolume,
               bool overrideSpeed, int speed);
    Engine lastEngine() const { return m_lastEngine; }

    static std::string olderVoiceName(std::size_t index, const std::string& name) {
        return "(" + std::to_string(index + 1) + ") " + name;
    }

private:
    SpeechEngine* m_current;
    SpeechEngine* m_older;
    Engine m_lastEngine = Engine::None;
};

} // namespace halvika
