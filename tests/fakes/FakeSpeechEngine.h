// A speech engine with the voices the test gives it, recording what it was asked to say.
#pragma once

#include "platform/SpeechEngine.h"

#include <optional>
#include <string>
#include <vector>

namespace halvika::test {

class FakeSpeechEngine : public SpeechEngine {
public:
    struct Spoken {
        std::string text;
        int voice;
        std::optional<int> volume;
        std::optional<int> rate;
    };

    explicit FakeSpeechEngine(std::vector<std::string> voiceNames = {}) : names(std::move(voiceNames)) {}

    std::vector<std::string> voices() override { return names; }
    bool speak(const std::string& text, int voiceIndex, std::optional<int> volume, std::optional<int> rate) override {
        if (failing) {
            return false;
        }
        spoken.push_back({text, voiceIndex, volume, rate});
        busy = !finishesAtOnce;
        return true;
    }
    bool speaking() override { return busy; }
    bool preparing() override {
        ++preparingAsked;
        return learning;
    }
    void stop() override {
        busy = false;
        ++stops;
    }

    std::vector<std::string> names;
    std::vector<Spoken> spoken;
    bool busy = false;
    /// Every text is over as soon as it is started (tests of what is said, not of taking turns).
    bool finishesAtOnce = false;
    bool failing = false;
    int stops = 0;
    /// Still learning its voices, as an engine on a thread of its own is at first.
    bool learning = false;
    int preparingAsked = 0;
};

} // namespace halvika::test
