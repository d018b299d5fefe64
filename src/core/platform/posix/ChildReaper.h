// Collects the exit of programs nobody waits for, so that none is left a zombie.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <thread>
#include <vector>

namespace halvika {

/// One thread waits for all handed-over children at once (a pidfd each, in one poll). A thread per child would
/// be made, and scheduled, in the very moment an alarm's program is loading.
class ChildReaper {
public:
    static ChildReaper& instance();

    ChildReaper(const ChildReaper&) = delete;
    ChildReaper& operator=(const ChildReaper&) = delete;
    ~ChildReaper();

    /// Waits for `pid`, a child of this process, when it ends. Never blocks and never throws: a child that
    /// cannot be watched stays a zombie until the program ends.
    void reap(pid_t pid) noexcept;
    /// Starts the thread ahead of the first child, so that the first alarm's program does not wait for it to
    /// be made; `reap` starts it otherwise.
    void prepare() noexcept;

private:
    ChildReaper() = default;
    void run();
    bool startLocked() noexcept;

    std::mutex m_mutex;
    std::vector<pid_t> m_incoming;
    bool m_stopping = false;
    int m_wake = -1;
    std::thread m_thread;
};

} // namespace halvika
