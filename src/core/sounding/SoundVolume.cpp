#include "sounding/SoundVolume.h"

#include <algorithm>

namespace halvika {

void SoundVolume::setSoundVolume(int percent) {
    if (!m_mixer) {
        return;
    }
    const auto current = m_mixer->level();
    if (!current) {
        return;
    }
    if (!m_saved) {
        m_saved = current;
    }
    m_mixer->setMuted(false);
    const long p = std::clamp(percent, 0, 100);
    const long target = current->minimum + p * (current->maximum - current->minimum) / 100;
    if (target > current->volume) {
        m_mixer->setVolume(target);
    }
}

void SoundVolume::restoreSoundVolume() {
    if (!m_saved || !m_mixer) {
        m_saved.reset();
        return;
    }
    m_mixer->setMuted(m_saved->muted);
    m_mixer->setVolume(m_saved->volume);
    m_saved.reset();
}

} // namespace halvika
