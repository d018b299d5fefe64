// The current speech engine: Qt TextToSpeech, with a named engine (the default one varies).
#pragma once

#include "platform/SpeechEngine.h"

#include <QElapsedTimer>
#include <QStringList>

#include <memory>

class QTextToSpeech;

namespace halvika {

class QtSpeechEngine : public SpeechEngine {
public:
    /// Tries the engines in this order and keeps the first that has voices.
    explicit QtSpeechEngine(QStringList engines = {"speechd", "flite"});
    ~QtSpeechEngine() override;

    std::vector<std::string> voices() override;
    bool speak(const std::string& text, int voiceIndex, std::optional<int> volume, std::optional<int> rate) override;
    bool speaking() override;
    void stop() override;

private:
    bool ready();

    QStringList m_engines;
    std::unique_ptr<QTextToSpeech> m_speech;
    bool m_tried = false;
    /// Some engines report speaking only a little after say(): until then the text counts as being spoken.
    bool m_awaitingStart = false;
    QElapsedTimer m_sinceSay;
};

} // namespace halvika
