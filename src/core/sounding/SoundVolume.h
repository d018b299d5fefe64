// Raises the output volume while alarm sounds play, and puts it back afterwards.
#pragma once

#include "platform/Mixer.h"

#include <optional>

namespace halvika {

class SoundVolume {
public:
    explicit SoundVolume(Mixer* mixer) : m_mixer(mixer) {}

    /// Remembers the output's level the first time, unmutes, and raises the volume to `percent` of its range
    /// (above 100 counts as 100); an alarm never makes the output quieter. Mixer errors are ignored.
    void setSoundVolume(int percent);
    /// Puts back the remembered mute state and volume, and forgets them.
    void restoreSoundVolume();
    bool remembering() const { return m_saved.has_value(); }

private:
    Mixer* m_mixer;
    std::optional<Mixer::Level> m_saved;
};

} // namespace halvika
