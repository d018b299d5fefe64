// One text-to-speech engine: its voices, and asynchronous speaking.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace halvika {

class SpeechEngine {
public:
    virtual ~SpeechEngine() = default;
    /// The voices' names in the engine's order; empty when the engine is not there.
    virtual std::vector<std::string> voices() = 0;
    /// Starts speaking with voice `index` of voices(); volume 0 to 100 and rate -10 to 10 when given.
    /// Returns at once; false when the engine did not take the text.
    virtual bool speak(const std::string& text, int voiceIndex, std::optional<int> volume, std::optional<int> rate) = 0;
    virtual bool speaking() = 0;
    virtual void stop() = 0;
    /// True while the engine is still learning its voices in the background (it starts to when asked):
    /// a text is then held back rather than matched against a list not known yet.
    virtual bool preparing() { return false; }
};

} // namespace halvika
