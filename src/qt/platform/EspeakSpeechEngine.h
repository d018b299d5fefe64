// The older speech engine: espeak-ng, speaking to the sound device or synthesising into memory.
#pragma once

#include "platform/SpeechEngine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halvika {

class EspeakSpeechEngine : public SpeechEngine {
public:
    enum class Output {
        Device, ///< speaks asynchronously through the sound device
        Memory  ///< synthesises at once into samples(), for tests and files
    };

    /// espeak-ng is one engine per process: only the first object's output counts.
    explicit EspeakSpeechEngine(Output output = Output::Device);
    ~EspeakSpeechEngine() override;

    std::vector<std::string> voices() override;
    bool speak(const std::string& text, int voiceIndex, std::optional<int> volume, std::optional<int> rate) override;
    bool speaking() override;
    void stop() override;

    /// The samples of the last text synthesised into memory (16-bit mono at sampleRate()).
    const std::vector<std::int16_t>& samples() const { return m_samples; }
    int sampleRate() const { return m_sampleRate; }
    /// Writes samples() as a WAV file.
    bool writeWav(const std::string& path) const;
    /// espeak-ng's words per minute for a rate from -10 to 10 (0 is its normal 175).
    static int wordsPerMinute(int rate);

private:
    bool initialise();

    Output m_output;
    int m_sampleRate = 0;
    bool m_failed = false;
    bool m_silent = false;
    std::vector<std::string> m_voiceNames;
    std::vector<std::int16_t> m_samples;
};

} // namespace halvika
