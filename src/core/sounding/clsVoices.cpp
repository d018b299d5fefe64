#include "sounding/clsVoices.h"

#include <optional>

namespace halvika {

std::vector<std::string> clsVoices::getVoices() {
    std::vector<std::string> names;
    if (m_current) {
        names = m_current->voices();
    }
    if (m_older) {
        const std::vector<std::string> older = m_older->voices();
        for (std::size_t i = 0; i < older.size(); ++i) {
            names.push_back(olderVoiceName(i, older[i]));
        }
    }
    return names;
}

bool clsVoices::speak(const std::string& text, const std::string& voice, bool overrideVoiceVolume, int voiceVolume,
                      bool overrideSpeed, int speed) {
    const std::optional<int> volume =
        overrideVoiceVolume && voiceVolume >= 0 && voiceVolume <= 100 ? std::optional<int>(voiceVolume) : std::nullopt;
    const std::optional<int> rate =
        overrideSpeed && speed >= -10 && speed <= 10 ? std::optional<int>(speed) : std::nullopt;
    m_lastEngine = Engine::None;
    if (m_current) {
        const std::vector<std::string> names = m_current->voices();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (voice.empty() || names[i] == voice) {
                if (!m_current->speak(text, static_cast<int>(i), volume, rate)) {
                    return false;
                }
                m_lastEngine = Engine::Current;
                return true;
            }
        }
    }
    if (m_older) {
        const std::vector<std::string> names = m_older->voices();
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (voice.empty() || olderVoiceName(i, names[i]) == voice) {
                if (!m_older->speak(text, static_cast<int>(i), volume, rate)) {
                    return false;
                }
                m_lastEngine = Engine::Older;
                return true;
            }
        }
    }
    return false;
}

} // namespace halvika
