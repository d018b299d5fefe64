// Speech asked for on the user-interface thread while the engine works, or hangs, on the speech thread.
#include "fakes/ManualClock.h"
#include "platform/QtThreadedSpeechEngine.h"
#include "platform/QtWorkerThread.h"
#include "qt/QtTestApp.h"
#include "settings/SettingsStore.h"
#include "sounding/modSpeech.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <future>
#include <mutex>

namespace halvika {
namespace {

/// What the engine on the speech thread was asked, and a gate its voices wait behind, as a hung server would.
struct Probe {
    std::mutex mutex;
    std::vector<std::string> spoken;
    std::promise<void> open;
    std::shared_future<void> gate = open.get_future().share();
};

class GatedEngine : public SpeechEngine {
public:
    explicit GatedEngine(Probe& probe) : m_probe(probe) {}
    std::vector<std::string> voices() override {
        m_probe.gate.wait();
        return {"Alice"};
    }
    bool speak(const std::string& text, int, std::optional<int>, std::optional<int>) override {
        const std::lock_guard lock(m_probe.mutex);
        m_probe.spoken.push_back(text);
        return true;
    }
    bool speaking() override { return false; }
    void stop() override {}

private:
    Probe& m_probe;
};

/// Runs the program's events and speech turns until `done` holds, for 15 seconds at most.
template <typename Condition> bool pumpUntil(modSpeech& speech, Condition done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
        speech.releaseFinishedSpeech();
    }
    return done();
}

std::vector<std::string> spokenBy(Probe& probe) {
    const std::lock_guard lock(probe.mutex);
    return probe.spoken;
}

TEST(ThreadedSpeech, TextsWaitForTheVoicesAndAHungEngineIsGivenUpWithoutHoldingAnything) {
    test::ensureQtApp();
    Probe probe;
    QtThreadedSpeechEngine engine(QtWorkerThread::speech(), [&probe] { return std::make_unique<GatedEngine>(probe); });
    SettingsStore settings;
    test::ManualClock clock;
    modSpeech speech(&engine, nullptr, settings, clock);

    // The voices are not known yet, and learning them hangs: the text waits, and nothing here waits.
    EXPECT_TRUE(speech.speak("lost"));
    EXPECT_EQ(speech.waiting(), 1u);
    // Past the stall limit the engine is given up: the text is let go rather than holding the ones behind.
    EXPECT_TRUE(pumpUntil(speech, [&] { return speech.waiting() == 0; }));
    EXPECT_FALSE(engine.preparing());
    EXPECT_FALSE(engine.speak("refused", 0, {}, {}));

    // The server answers at last: the voices become known and the next texts are spoken, in order.
    probe.open.set_value();
    EXPECT_TRUE(pumpUntil(speech, [&] { return engine.voices().size() == 1; }));
    EXPECT_TRUE(speech.speak("one"));
    EXPECT_TRUE(speech.speak("two"));
    EXPECT_TRUE(pumpUntil(speech, [&] { return spokenBy(probe).size() == 2; }));
    EXPECT_EQ(spokenBy(probe), (std::vector<std::string>{"one", "two"}));
}

} // namespace
} // namespace halvika
