// Sound and the output volume against a private PulseAudio server with a null sink, and speech synthesised by
// espeak-ng.
#include "fakes/ManualClock.h"
#include "fakes/TempHome.h"
#include "platform/EspeakSpeechEngine.h"
#include "platform/PulseMixer.h"
#include "platform/QtSoundOutput.h"
#include "platform/QtWorkerThread.h"
#include "qt/QtTestApp.h"
#include "services/ServiceDaemons.h"
#include "settings/SettingsStore.h"
#include "sounding/SoundVolume.h"
#include "sounding/SoundWindowLogic.h"
#include "sounding/modSpeech.h"

#include <pulse/volume.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <random>

namespace halvika {
namespace {

class SoundServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home = std::make_unique<test::TempHome>();
        const std::string runtime = home->file("runtime");
        std::filesystem::create_directory(runtime);
        ::setenv("HOME", home->path().c_str(), 1);
        pulse = test::startPulseAudio(runtime);
        ASSERT_TRUE(pulse) << "the PulseAudio server did not start";
        socket = runtime + "/native";
        test::ensureQtApp();
    }
    static void TearDownTestSuite() {
        pulse.reset();
        home.reset();
    }
    static std::string server() { return "unix:" + socket; }

    static std::unique_ptr<test::TempHome> home;
    static std::unique_ptr<test::Daemon> pulse;
    static std::string socket;
};

std::unique_ptr<test::TempHome> SoundServiceTest::home;
std::unique_ptr<test::Daemon> SoundServiceTest::pulse;
std::string SoundServiceTest::socket;

long percentOf(const Mixer::Level& level) {
    return (level.volume * 100 + level.maximum / 2) / level.maximum;
}

/// Runs the window's events and its one-second timer until it has finished, for 15 seconds at most (each play
/// ends with the media player's event or, failing that, the retry: never wait for sound without a limit).
bool playToTheEnd(SoundWindowLogic& window, const bool& finished, bool* playedByMediaPlayer = nullptr) {
    QElapsedTimer clock;
    clock.start();
    while (!finished && clock.elapsed() < 15000) {
        if (playedByMediaPlayer) {
            *playedByMediaPlayer = *playedByMediaPlayer || window.usingMediaPlayer();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (window.timerIntervalMs() > 0 && clock.elapsed() % 1000 < 60) {
            window.timerFired();
        }
    }
    return finished;
}

SoundWindowLogic::Request beepsTwice() {
    SoundWindowLogic::Request request;
    request.kind = ActionKind::SoundRepeated;
    request.file = HALVIKA_SOURCE_DIR "/data/sounds/beeps.wav";
    request.repeatMode = 0;
    request.repeatTimes = 2;
    return request;
}

class BeepCountingOutput : public QtSoundOutput {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

TEST_F(SoundServiceTest, TheMixerReadsAndSetsTheDefaultOutput) {
    PulseMixer mixer(server());
    auto level = mixer.level();
    ASSERT_TRUE(level.has_value());
    EXPECT_EQ(level->minimum, 0);
    EXPECT_GT(level->maximum, 0);
    ASSERT_TRUE(mixer.setVolume(level->maximum * 80 / 100));
    ASSERT_TRUE(mixer.setMuted(true));
    level = mixer.level();
    EXPECT_EQ(percentOf(*level), 80);
    EXPECT_TRUE(level->muted);

    // 30 % is quieter than the 80 % set: the output stays at 80 %, but is unmuted; restored afterwards.
    SoundVolume volume(&mixer);
    volume.setSoundVolume(30);
    EXPECT_EQ(percentOf(*mixer.level()), 80);
    EXPECT_FALSE(mixer.level()->muted);
    volume.setSoundVolume(95);
    EXPECT_EQ(percentOf(*mixer.level()), 95);
    volume.restoreSoundVolume();
    EXPECT_EQ(percentOf(*mixer.level()), 80);
    EXPECT_TRUE(mixer.level()->muted);

    PulseMixer nowhere("unix:" + home->file("no-such-socket"));
    EXPECT_FALSE(nowhere.level().has_value());
    EXPECT_FALSE(nowhere.setVolume(1));
}

TEST_F(SoundServiceTest, AFrozenSoundServerIsGivenUpInsteadOfHoldingUpTheAlarm) {
    // Stopped, not gone: the connection stays open and no answer ever comes. Setting the volume for an
    // alarm must come back, and later calls must not wait again.
    PulseMixer mixer(server());
    ASSERT_TRUE(mixer.level().has_value());
    struct Thaw {
        ~Thaw() { pulse->signal(SIGCONT); }
    } thaw;
    pulse->signal(SIGSTOP);
    EXPECT_FALSE(mixer.setVolume(PA_VOLUME_NORM / 2));
    EXPECT_FALSE(mixer.level().has_value());
    EXPECT_FALSE(mixer.setMuted(false));
    PulseMixer late(server()); // its connection is never answered either
    EXPECT_FALSE(late.level().has_value());
}

TEST_F(SoundServiceTest, AFrozenSoundServerLeavesAnAlarmBeepingAndThePlayersRecover) {
    // Qt Multimedia waits for a stopped server without a limit: the alarm's calls must come back, and the
    // window beep when its sound does not start.
    BeepCountingOutput output;
    SoundVolume volume(nullptr);
    std::mt19937 random(1);
    {
        struct Thaw {
            ~Thaw() { pulse->signal(SIGCONT); }
        } thaw;
        pulse->signal(SIGSTOP);
        SoundWindowLogic window(output, volume, output.openChannel(), random);
        bool finished = false;
        window.onFinished = [&finished] { finished = true; };
        window.setSoundAction(beepsTwice(), Date::fromParts(2026, 3, 7, 8, 0, 0));
        EXPECT_TRUE(playToTheEnd(window, finished));
        EXPECT_GE(output.beeps, 1);
    }

    // Once the server answers again, the jobs left waiting are done and a new sound plays to its end.
    SoundWindowLogic window(output, volume, output.openChannel(), random);
    bool finished = false;
    window.onFinished = [&finished] { finished = true; };
    QElapsedTimer clock;
    clock.start();
    while (QtWorkerThread::sound().stalled() && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const int beepsBefore = output.beeps;
    window.setSoundAction(beepsTwice(), Date::fromParts(2026, 3, 7, 8, 0, 0));
    bool playedByMediaPlayer = false;
    EXPECT_TRUE(playToTheEnd(window, finished, &playedByMediaPlayer));
    EXPECT_TRUE(playedByMediaPlayer);
    EXPECT_EQ(output.beeps, beepsBefore);
}

TEST_F(SoundServiceTest, AFileTheMediaPlayerCannotPlayIsToldOfAfterItTried) {
    home->write("not-a-sound.mp3", "plain text, not a sound");
    QtSoundOutput output;
    const auto channel = output.openChannel();
    int errors = 0;
    bool done = false;
    channel->onMediaError = [&errors] { ++errors; };
    channel->onMediaDone = [&done] { done = true; };
    EXPECT_TRUE(channel->playMedia(home->file("not-a-sound.mp3")));
    QElapsedTimer clock;
    clock.start();
    while (errors == 0 && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    // Told once, whether the player said so at once or when it tried to play; the start's time limit,
    // which also reports an error, was called off.
    QElapsedTimer more;
    more.start();
    while (more.elapsed() < QtWorkerThread::stallLimitMs + 500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(errors, 1);
    EXPECT_FALSE(done);
}

TEST_F(SoundServiceTest, ASoundPlaysToItsEndWithTheVolumeRaisedAndIsThenRestored) {
    PulseMixer mixer(server());
    ASSERT_TRUE(mixer.setMuted(false));
    const long start = mixer.level()->maximum * 40 / 100;
    ASSERT_TRUE(mixer.setVolume(start));

    QtSoundOutput output;
    SoundVolume volume(&mixer);
    std::mt19937 random(1);
    SoundWindowLogic window(output, volume, output.openChannel(), random);
    bool finished = false;
    window.onFinished = [&finished] { finished = true; };
    SoundWindowLogic::Request request = beepsTwice();
    request.overrideVolume = true;
    request.volume = 90;
    window.setSoundAction(request, Date::fromParts(2026, 3, 7, 8, 0, 0));
    EXPECT_EQ(percentOf(*mixer.level()), 90);

    bool playedByMediaPlayer = false;
    EXPECT_TRUE(playToTheEnd(window, finished, &playedByMediaPlayer));
    EXPECT_TRUE(playedByMediaPlayer);
    EXPECT_EQ(window.playedCount(), 3);
    EXPECT_EQ(mixer.level()->volume, start);
}

TEST(SpeechServiceTest, EspeakSynthesisesTheTimeTellersSentence) {
    EspeakSpeechEngine espeak(EspeakSpeechEngine::Output::Memory);
    const auto voices = espeak.voices();
    ASSERT_FALSE(voices.empty());
    SettingsStore settings;
    settings.overrideVoiceSpeed = true;
    settings.voiceSpeed = 5;
    test::ManualClock clock(Date::fromParts(2026, 3, 7, 7, 30, 0));
    modSpeech speech(nullptr, &espeak, settings, clock);
    ASSERT_TRUE(speech.tellTime("now \"It is <h:nn>. Time to get up.\""));
    // About two seconds of speech at the engine's rate.
    ASSERT_GT(espeak.sampleRate(), 0);
    const double seconds = static_cast<double>(espeak.samples().size()) / espeak.sampleRate();
    EXPECT_GT(seconds, 0.8);
    EXPECT_LT(seconds, 6.0);
    const std::size_t fast = espeak.samples().size();
    settings.voiceSpeed = -10;
    ASSERT_TRUE(speech.tellTime("now \"It is <h:nn>. Time to get up.\""));
    EXPECT_GT(espeak.samples().size(), fast); // slower speech is longer

    test::TempHome folder;
    ASSERT_TRUE(espeak.writeWav(folder.file("time.wav")));
    const std::string wav = test::readText(folder.file("time.wav"));
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.size(), 44 + espeak.samples().size() * 2);
    EXPECT_EQ(EspeakSpeechEngine::wordsPerMinute(0), 175);
    EXPECT_EQ(EspeakSpeechEngine::wordsPerMinute(-10), 80);
    EXPECT_EQ(EspeakSpeechEngine::wordsPerMinute(10), 450);
}

} // namespace
} // namespace halvika
