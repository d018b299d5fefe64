#include "platform/QtThreadedSpeechEngine.h"

#include "platform/QtWorkerThread.h"

#include <QCoreApplication>

namespace halvika {

QtThreadedSpeechEngine::QtThreadedSpeechEngine(QtWorkerThread& thread, Factory makeEngine)
    : m_thread(thread), m_makeEngine(std::move(makeEngine)), m_link(std::make_shared<Link>()) {
    m_link->owner = this;
}

QtThreadedSpeechEngine::~QtThreadedSpeechEngine() {
    m_link->owner = nullptr;
    if (m_voicesState != Voices::Unasked) {
        m_thread.post([link = m_link] {
            if (link->engine) {
                link->engine->stop();
            }
            link->engine.reset();
        });
    }
}

void QtThreadedSpeechEngine::tell(const std::shared_ptr<Link>& link,
                                  std::function<void(QtThreadedSpeechEngine&)> what) {
    // The application object outlives every engine, unlike the engine object the answer is for; a job that
    // ends after the application (a server that answered at the very end) has nobody to tell.
    QCoreApplication* const application = QCoreApplication::instance();
    if (!application) {
        return;
    }
    QMetaObject::invokeMethod(
        application,
        [link, what = std::move(what)] {
            if (link->owner) {
                what(*link->owner);
            }
        },
        Qt::QueuedConnection);
}

bool QtThreadedSpeechEngine::preparing() {
    if (m_voicesState == Voices::Unasked) {
        m_voicesState = Voices::Learning;
        m_thread.post([link = m_link, make = m_makeEngine] {
            link->engine = make();
            tell(link, [voices = link->engine->voices()](QtThreadedSpeechEngine& self) {
                self.m_voices = voices;
                self.m_voicesState = Voices::Known;
                if (self.voicesLearned) {
                    self.voicesLearned();
                }
            });
        });
    }
    return m_voicesState == Voices::Learning && !m_thread.stalled();
}

std::vector<std::string> QtThreadedSpeechEngine::voices() {
    preparing();
    return m_voices;
}

bool QtThreadedSpeechEngine::speak(const std::string& text, int voiceIndex, std::optional<int> volume,
                                   std::optional<int> rate) {
    if (m_voicesState != Voices::Known || m_thread.stalled()) {
        return false;
    }
    const quint64 turn = ++m_turn;
    m_speaking = true;
    m_thread.post([link = m_link, text, voiceIndex, volume, rate, turn] {
        if (!link->engine->speak(text, voiceIndex, volume, rate)) {
            tell(link, [turn](QtThreadedSpeechEngine& self) {
                if (self.m_turn == turn) {
                    self.m_speaking = false;
                }
            });
        }
    });
    return true;
}

bool QtThreadedSpeechEngine::speaking() {
    if (!m_speaking || m_thread.stalled()) {
        return false;
    }
    // One question on its way at a time; until its answer comes, the text counts as being spoken.
    if (!m_asking) {
        m_asking = true;
        m_thread.post([link = m_link, turn = m_turn] {
            tell(link, [turn, speaking = link->engine->speaking()](QtThreadedSpeechEngine& self) {
                self.m_asking = false;
                if (self.m_turn == turn) {
                    self.m_speaking = speaking;
                }
            });
        });
    }
    return true;
}

void QtThreadedSpeechEngine::stop() {
    ++m_turn;
    m_speaking = false;
    if (m_voicesState != Voices::Unasked) {
        m_thread.post([link = m_link] {
            if (link->engine) {
                link->engine->stop();
            }
        });
    }
}

} // namespace halvika
