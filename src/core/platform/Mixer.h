// The system's output volume and mute.
#pragma once

#include <optional>

namespace halvika {

class Mixer {
public:
    struct Level {
        long minimum = 0;
        long maximum = 0;
        long volume = 0;
        bool muted = false;
    };

    virtual ~Mixer() = default;
    /// The output's current level; none when the mixer cannot be read.
    virtual std::optional<Level> level() = 0;
    virtual bool setVolume(long volume) = 0;
    virtual bool setMuted(bool muted) = 0;
};

} // namespace halvika
