// The one thread that touches Qt Multimedia.
#pragma once

#include "base/StallWatch.h"

#include <functional>

class QObject;
class QThread;

namespace halvika {

/// Qt Multimedia talks to the sound server without a time limit (a frozen PulseAudio server holds the
/// first QMediaPlayer forever), so every player lives here and the user-interface thread only hands over
/// jobs. A thread that has sat on a job past `stallLimitMs` counts as stalled: channels then report that
/// they cannot play, and the alarm beeps instead of going silent. Started at the first job.
class QtSoundThread {
public:
    static constexpr int stallLimitMs = 3000;

    static QtSoundThread& instance();
    /// Runs `job` on the sound thread after every job handed over before it.
    void post(std::function<void()> job);
    bool stalled() const;
    QThread* thread() const { return m_thread; }
    /// True when the application's end found the thread still held by the sound server. Qt Multimedia's
    /// own clean-up at the process's exit would then wait for it too (the library lock it holds), so the
    /// process must end without it.
    static bool heldAtExit() { return s_heldAtExit; }

private:
    QtSoundThread();
    /// At the application's end: the jobs handed over are done (players stopped and deleted), for a second
    /// at most; a thread still waiting for the sound server is left to the process's end.
    static void shutDown();
    static std::int64_t nowMs();

    static inline bool s_heldAtExit = false;

    QThread* m_thread = nullptr;
    QObject* m_jobs = nullptr; ///< lives on the thread; queued calls to it are the jobs
    StallWatch m_watch{stallLimitMs};
};

} // namespace halvika
