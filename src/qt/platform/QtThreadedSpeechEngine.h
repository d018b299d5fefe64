// A speech engine used from the user-interface thread, working on the speech thread.
#pragma once

#include "platform/SpeechEngine.h"

#include <QtGlobal>

#include <functional>
#include <memory>

namespace halvika {

class QtWorkerThread;

/// Speech engines wait for their servers without a limit (espeak-ng's start for a frozen sound server,
/// speech-dispatcher's client for its replies), so the engine is made and used only on a worker thread and
/// nothing here waits for it. The voices are learned there at the first need (`preparing`); whether a text
/// is still being spoken is asked there and known here a moment later. While the thread is stalled, texts
/// are refused and nothing counts as speaking, so that the texts waiting behind are not held for good.
class QtThreadedSpeechEngine : public SpeechEngine {
public:
    using Factory = std::function<std::unique_ptr<SpeechEngine>()>;
    QtThreadedSpeechEngine(QtWorkerThread& thread, Factory makeEngine);
    ~QtThreadedSpeechEngine() override;

    std::vector<std::string> voices() override;
    bool speak(const std::string& text, int voiceIndex, std::optional<int> volume, std::optional<int> rate) override;
    bool speaking() override;
    void stop() override;
    bool preparing() override;

    /// Called when the voices have become known.
    std::function<void()> voicesLearned;

private:
    enum class Voices { Unasked, Learning, Known };
    /// Shared with the jobs: the engine, made, used and deleted on the thread, and this object, which only
    /// this thread reads (it is cleared when this object goes).
    struct Link {
        QtThreadedSpeechEngine* owner = nullptr;
        std::unique_ptr<SpeechEngine> engine;
    };
    /// From the thread: runs `what` on this object on the user-interface thread, if it is still there.
    static void tell(const std::shared_ptr<Link>& link, std::function<void(QtThreadedSpeechEngine&)> what);

    QtWorkerThread& m_thread;
    Factory m_makeEngine;
    std::shared_ptr<Link> m_link;
    Voices m_voicesState = Voices::Unasked;
    std::vector<std::string> m_voices;
    bool m_speaking = false;
    /// Counts the texts given and stops: an answer about speaking that a later one made stale is dropped.
    quint64 m_turn = 0;
    bool m_asking = false;
};

} // namespace halvika
