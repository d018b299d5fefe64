#include "platform/posix/ChildReaper.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace halvika {

namespace {

int openPidFd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

} // namespace

ChildReaper& ChildReaper::instance() {
    static ChildReaper reaper;
    return reaper;
}

ChildReaper::~ChildReaper() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    if (m_thread.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
        m_thread.join();
    }
    if (m_wake >= 0) {
        ::close(m_wake);
    }
}

void ChildReaper::prepare() noexcept {
    std::lock_guard lock(m_mutex);
    startLocked();
}

bool ChildReaper::startLocked() noexcept {
    if (m_stopping) {
        return false;
    }
    if (!m_thread.joinable()) {
        if (m_wake < 0) {
            m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        }
        if (m_wake < 0) {
            return false;
        }
        try {
            m_thread = std::thread([this] { run(); });
        } catch (...) {
            return false;
        }
    }
    return true;
}

void ChildReaper::reap(pid_t pid) noexcept {
    std::lock_guard lock(m_mutex);
    if (!startLocked()) {
        return;
    }
    try {
        m_incoming.push_back(pid);
    } catch (...) {
        return;
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

void ChildReaper::run() {
    std::vector<pollfd> watched{{m_wake, POLLIN, 0}};
    std::vector<pid_t> pids{-1};
    std::vector<pid_t> arrived;
    for (;;) {
        if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR) {
            return;
        }
        for (std::size_t i = watched.size(); i-- > 1;) {
            if (watched[i].revents != 0) {
                ::waitpid(pids[i], nullptr, 0);
                ::close(watched[i].fd);
                watched.erase(watched.begin() + static_cast<std::ptrdiff_t>(i));
                pids.erase(pids.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
        if (watched[0].revents != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t read = ::read(m_wake, &count, sizeof count);
            {
                std::lock_guard lock(m_mutex);
                if (m_stopping) {
                    break;
                }
                arrived.swap(m_incoming);
            }
            for (const pid_t pid : arrived) {
                // A child that has already ended is a zombie, which still has a pidfd: it is ready at once.
                const int fd = openPidFd(pid);
                if (fd >= 0) {
                    watched.push_back({fd, POLLIN, 0});
                    pids.push_back(pid);
                }
            }
            arrived.clear();
        }
    }
    for (std::size_t i = 1; i < watched.size(); ++i) {
        ::close(watched[i].fd);
    }
}

} // namespace halvika
