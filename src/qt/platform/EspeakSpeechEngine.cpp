#include "platform/EspeakSpeechEngine.h"

#include <espeak-ng/speak_lib.h>

#include <cstdio>
#include <fstream>

namespace halvika {

namespace {

// espeak-ng's callback has no user pointer: the one engine synthesising into memory is named here.
std::vector<std::int16_t>* memorySamples = nullptr;

int collectSamples(short* wav, int count, espeak_EVENT*) {
    if (wav && count > 0 && memorySamples) {
        memorySamples->insert(memorySamples->end(), wav, wav + count);
    }
    return 0;
}

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

} // namespace

EspeakSpeechEngine::EspeakSpeechEngine(Output output) : m_output(output) {}

EspeakSpeechEngine::~EspeakSpeechEngine() {
    if (m_sampleRate > 0) {
        espeak_Cancel();
        espeak_Terminate();
    }
    if (memorySamples == &m_samples) {
        memorySamples = nullptr;
    }
}

bool EspeakSpeechEngine::initialise() {
    if (m_sampleRate > 0) {
        return true;
    }
    if (m_failed) {
        return false;
    }
    const espeak_AUDIO_OUTPUT mode = m_output == Output::Device ? AUDIO_OUTPUT_PLAYBACK : AUDIO_OUTPUT_SYNCHRONOUS;
    m_sampleRate = espeak_Initialize(mode, 0, nullptr, 0);
    if (m_sampleRate <= 0 && m_output == Output::Device) {
        // No sound device: the voices can still be listed (for the settings), but nothing can be spoken.
        m_sampleRate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0);
        m_silent = true;
    }
    if (m_sampleRate <= 0) {
        m_sampleRate = 0;
        m_failed = true;
        return false;
    }
    if (m_output == Output::Memory) {
        memorySamples = &m_samples;
        espeak_SetSynthCallback(collectSamples);
    }
    for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
        m_voiceNames.emplace_back((*voice)->name ? (*voice)->name : "");
    }
    return true;
}

std::vector<std::string> EspeakSpeechEngine::voices() {
    return initialise() ? m_voiceNames : std::vector<std::string>{};
}

int EspeakSpeechEngine::wordsPerMinute(int rate) {
    // -10 is espeak's slowest (80), 10 its fastest usual speed (450).
    return rate <= 0 ? 175 + rate * 95 / 10 : 175 + rate * 275 / 10;
}

bool EspeakSpeechEngine::speak(const std::string& text, int voiceIndex, std::optional<int> volume,
                               std::optional<int> rate) {
    if (!initialise() || m_silent || voiceIndex < 0 || voiceIndex >= static_cast<int>(m_voiceNames.size())) {
        return false;
    }
    espeak_Cancel();
    if (espeak_SetVoiceByName(m_voiceNames[static_cast<std::size_t>(voiceIndex)].c_str()) != EE_OK) {
        return false;
    }
    espeak_SetParameter(espeakVOLUME, volume.value_or(100), 0);
    espeak_SetParameter(espeakRATE, wordsPerMinute(rate.value_or(0)), 0);
    m_samples.clear();
    return espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr) ==
           EE_OK;
}

bool EspeakSpeechEngine::speaking() {
    return m_sampleRate > 0 && m_output == Output::Device && espeak_IsPlaying() != 0;
}

void EspeakSpeechEngine::stop() {
    if (m_sampleRate > 0) {
        espeak_Cancel();
    }
}

bool EspeakSpeechEngine::writeWav(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(m_samples.size() * 2);
    out.write("RIFF", 4);
    putLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, 1, 2); // mono
    putLittleEndian(out, static_cast<std::uint32_t>(m_sampleRate), 4);
    putLittleEndian(out, static_cast<std::uint32_t>(m_sampleRate * 2), 4);
    putLittleEndian(out, 2, 2);
    putLittleEndian(out, 16, 2);
    out.write("data", 4);
    putLittleEndian(out, dataBytes, 4);
    for (const std::int16_t sample : m_samples) {
        putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    }
    return static_cast<bool>(out);
}

} // namespace halvika
