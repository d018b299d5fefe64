// Threads for the libraries that wait for a server without a limit.
#pragma once

#include "base/StallWatch.h"

#include <cstdint>
#include <functional>

class QObject;
class QThread;

namespace halvika {

/// Qt Multimedia and the speech engines talk to the sound server (and speech-dispatcher) without a time
/// limit: a frozen PulseAudio server holds the first QMediaPlayer, or espeak-ng's start, for good. So each
/// lives on a thread of its own, with an event loop, and the user-interface thread only hands over jobs.
/// A thread that has sat on a job past `stallLimitMs` counts as stalled: its users then answer at once that
/// they cannot (the alarm beeps instead of going silent). Each starts at its first job (a program that
/// never sounds or speaks has neither) and is never destroyed: one stuck in a server must not be destroyed
/// while it runs.
class QtWorkerThread {
public:
    static constexpr int stallLimitMs = 3000;

    /// Qt Multimedia's players. The user-interface thread never touches Qt Multimedia.
    static QtWorkerThread& sound();
    /// The speech engines (a Qt one plays through Qt Multimedia from here).
    static QtWorkerThread& speech();

    /// Runs `job` on the thread after every job handed over before it.
    void post(std::function<void()> job);
    bool stalled() const;
    QThread* thread();
    /// True when the application's end found a thread still held by its server. The libraries' own
    /// clean-up at the process's exit would then wait for it too (Qt Multimedia's takes the lock the
    /// thread holds), so the process must end without it.
    static bool heldAtExit() { return s_heldAtExit; }

private:
    explicit QtWorkerThread(const char* name) : m_name(name) {}
    /// Made at the first job, or when a player moves onto it.
    void startOnce();
    /// At the application's end: the jobs handed over are done (players stopped and deleted), for a second
    /// at most; a thread still waiting for its server is left to the process's end.
    static void shutDown();
    static std::int64_t nowMs();

    static inline bool s_heldAtExit = false;
    static inline QtWorkerThread* s_started[2] = {};

    const char* m_name;
    QThread* m_thread = nullptr;
    QObject* m_jobs = nullptr; ///< lives on the thread; queued calls to it are the jobs
    StallWatch m_watch{stallLimitMs};
};

} // namespace halvika
