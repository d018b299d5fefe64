// A mixer with a volume range of 0 to 65536 that remembers what was set.
#pragma once

#include "platform/Mixer.h"

namespace halvika::test {

class FakeMixer : public Mixer {
public:
    Level current{0, 65536, 0, false};
    bool broken = false;
    int volumeSets = 0;

    std::optional<Level> level() override { return broken ? std::nullopt : std::optional<Level>(current); }
    bool setVolume(long volume) override {
        ++volumeSets;
        current.volume = volume;
        return !broken;
    }
    bool setMuted(bool muted) override {
        current.muted = muted;
        return !broken;
    }
    int percent() const { return static_cast<int>((current.volume * 100 + current.maximum / 2) / current.maximum); }
};

} // namespace halvika::test
