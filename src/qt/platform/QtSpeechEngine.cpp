#include "platform/QtSpeechEngine.h"

#include <QStandardPaths>
#include <QTextToSpeech>
#include <QVoice>

namespace halvika {

namespace {

// Long enough for a speech server to start talking, short enough that a lost text holds up little.
constexpr qint64 startGraceMs = 3000;

} // namespace

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
            // Its plug-in is there whether or not the server is: without the server, trying it only costs
            // a connection attempt (and its client library leaks the failure's message).
            if (engine == "speechd" && QStandardPaths::findExecutable("speech-dispatcher").isEmpty()) {
                continue;
            }
            auto speech = std::make_unique<QTextToSpeech>(engine);
            if (speech->state() != QTextToSpeech::Error && !speech->availableVoices().isEmpty()) {
                m_speech = std::move(speech);
                QObject::connect(m_speech.get(), &QTextToSpeech::stateChanged, m_speech.get(),
                                 [this](QTextToSpeech::State state) {
                                     if (state != QTextToSpeech::Ready) {
                                         m_awaitingStart = false;
                                     }
                                 });
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
    m_awaitingStart = m_speech->state() != QTextToSpeech::Speaking;
    m_sinceSay.start();
    return m_speech->state() != QTextToSpeech::Error;
}

bool QtSpeechEngine::speaking() {
    if (!m_speech) {
        return false;
    }
    if (m_speech->state() == QTextToSpeech::Speaking) {
        return true;
    }
    if (m_awaitingStart && m_sinceSay.elapsed() < startGraceMs) {
        return true;
    }
    m_awaitingStart = false;
    return false;
}

void QtSpeechEngine::stop() {
    m_awaitingStart = false;
    if (m_speech) {
        m_speech->stop();
    }
}

} // namespace halvika
