// The sound window's decisions: which file, how many times, media player or simple player, and when to stop.
#pragma once

#include "alarms/ActionKind.h"
#include "dates/Date.h"
#include "platform/SoundOutput.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace halvika {

class SoundVolume;
class clsAction;

class SoundWindowLogic {
public:
    static constexpr int retryIntervalMs = 1000;

    /// What one sound action asks for.
    struct Request {
        ActionKind kind = ActionKind::SoundOnce; ///< once or repeated
        std::string file;                        ///< the action's "s", wildcards allowed
        std::int16_t repeatMode = 0;
        std::int32_t repeatTimes = 1;
        bool timed = false;
        std::int32_t intervalMs = 1000;
        std::string fallbackFile; ///< the settings' default sound
        bool overrideVolume = false;
        int volume = 100;

        /// The action's settings: "s", the three "i" (mode, times, timed) and "l".
        static Request fromAction(const clsAction& action);
    };

    SoundWindowLogic(SoundOutput& output, SoundVolume& volume, std::unique_ptr<SoundChannel> channel,
                     std::mt19937& random);
    ~SoundWindowLogic();
    SoundWindowLogic(const SoundWindowLogic&) = delete;
    SoundWindowLogic& operator=(const SoundWindowLogic&) = delete;

    /// Chooses the files and the repeat count and plays the first time; `now` is the system time (for
    /// striking the hour).
    void setSoundAction(const Request& request, const Date& now);
    /// The media player reached the end of the sound.
    void mediaPlayerDone();
    /// The media player failed: play once more with the simple player, without counting.
    void mediaPlayerError();
    /// The window's timer fired (timed repetition or the one-second retry).
    void timerFired();
    /// Stops the sound and restores the volume; the window closes.
    void stop();

    /// The repeat count for a request at `now`: 1 for a sound once; for a repeated one the times, -1 for endless, or
    /// the hour of now + 30 minutes on a 12-hour dial.
    static std::int32_t repeatCountFor(const Request& request, const Date& now);

    /// The window's timer: its interval in milliseconds, 0 when it is off.
    int timerIntervalMs() const { return m_timerMs; }
    bool finished() const { return m_finished; }
    std::int32_t repeatCount() const { return m_repeatCount; }
    std::int32_t playedCount() const { return m_played; }
    const std::string& firstFile() const { return m_firstFile; }
    const std::string& secondFile() const { return m_secondFile; }
    bool usingMediaPlayer() const { return m_usingMedia; }

    /// Called once when the repetitions end, so that the window closes.
    std::function<void()> onFinished;
    /// Called after each play and when the timer's interval changes, so that the window shows it.
    std::function<void()> onChanged;

private:
    void playNext();
    void playOnce();
    bool playSimple();
    void beepAndRetry();
    void setTimer(int ms);

    SoundOutput& m_output;
    SoundVolume& m_volume;
    std::unique_ptr<SoundChannel> m_channel;
    std::mt19937& m_random;
    Request m_request;
    std::string m_firstFile;
    std::string m_secondFile;
    std::int32_t m_repeatCount = 1;
    std::int32_t m_played = 0;
    bool m_finished = false;
    bool m_stopped = false;
    bool m_usingMedia = false;
    int m_timerMs = 0;
};

} // namespace halvika
