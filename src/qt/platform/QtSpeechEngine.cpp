#include "platform/QtSpeechEngine.h"

#include <QTextToSpeech>
#include <QVoice>

namespace halvika {

QtSpeechEngine::QtSpeechEngine(QStringList engines) : m_engines(std::move(engines)) {}

QtSpeechEngine::~QtSpeechEngine() = default;

bool QtSpeechEngine::ready() {
    if (!m_tried) {
        m_tried = true;
        const QStringList available = QTextToSpeech::availableEngines();
        for (const QString& engine : m_engines) {
            if (!available.contains(engine)) {
                continue;
            }
            auto speech = std::make_unique<QTextToSpeech>(engine);
            if (speech->state() != QTextToSpeech::Error && !speech->availableVoices().isEmpty()) {
                m_speech = std::move(speech);
                break;
            }
        }
    }
    return m_speech != nullptr;
}

std::vector<std::string> QtSpeechEngine::voices() {
    std::vector<std::string> names;
    if (ready()) {
        for (const QVoice& voice : m_speech->availableVoices()) {
            names.push_back(voice.name().toStdString());
        }
    }
    return names;
}

bool QtSpeechEngine::speak(const std::string& text, int voiceIndex, std::optional<int> volume,
                           std::optional<int> rate) {
    if (!ready()) {
        return false;
    }
    const QList<QVoice> voices = m_speech->availableVoices();
    if (voiceIndex < 0 || voiceIndex >= voices.size()) {
        return false;
    }
    m_speech->setVoice(voices[voiceIndex]);
    if (volume) {
        m_speech->setVolume(*volume / 100.0);
    }
    if (rate) {
        m_speech->setRate(*rate / 10.0);
    }
    m_speech->say(QString::fromStdString(text));
    return m_speech->state() != QTextToSpeech::Error;
}

bool QtSpeechEngine::speaking() {
    return m_speech && m_speech->state() == QTextToSpeech::Speaking;
}

void QtSpeechEngine::stop() {
    if (m_speech) {
        m_speech->stop();
    }
}

} // namespace halvika
