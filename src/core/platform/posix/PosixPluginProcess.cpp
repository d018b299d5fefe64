// Plug-in programs run with posix_spawn, pipes and poll.
#include "platform/posix/PosixPluginProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace halvika {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitGraceMs = 500;

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(std::min<long long>(left, 1 << 30));
}

/// Ends the program and everything it started (its process group), then collects it. Only while the program
/// is not yet collected, so that its number cannot have been given to another.
void killAndReap(pid_t pid) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

/// A program that replied and went on; ended (politely, then firmly) when the handle goes.
class PosixRunning : public PluginProcess::Running {
public:
    explicit PosixRunning(pid_t pid) : m_pid(pid) {}
    ~PosixRunning() override {
        if (!isAlive()) {
            return;
        }
        ::kill(-m_pid, SIGTERM);
        for (int i = 0; i < 50 && isAlive(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (isAlive()) {
            killAndReap(m_pid);
        }
    }
    bool isAlive() override {
        if (m_reaped) {
            return false;
        }
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
            m_reaped = true;
        }
        return !m_reaped;
    }

private:
    pid_t m_pid;
    bool m_reaped = false;
};

/// One call as a small state machine: writing and reading until the output closes, then a short grace for
/// the program to end.
class PosixPendingCall : public PluginProcess::Pending {
public:
    PosixPendingCall(std::string input, int timeoutMs, std::size_t maxReply)
        : m_input(std::move(input)), m_maxReply(maxReply),
          m_deadline(Clock::now() + std::chrono::milliseconds(timeoutMs)) {}

    ~PosixPendingCall() override {
        closeFds();
        if (m_pid > 0 && !m_done) {
            killAndReap(m_pid);
        }
    }

    bool spawn(const std::string& program, const std::vector<std::string>& arguments) {
        int toChild[2];
        int fromChild[2];
        if (::pipe2(toChild, O_CLOEXEC) != 0) {
            return false;
        }
        if (::pipe2(fromChild, O_CLOEXEC) != 0) {
            ::close(toChild[0]);
            ::close(toChild[1]);
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        pid_t pid = -1;
        const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toChild[0]);
        ::close(fromChild[1]);
        if (spawned != 0) {
            ::close(toChild[1]);
            ::close(fromChild[0]);
            return false;
        }
        m_pid = pid;
        m_readFd = fromChild[0];
        m_writeFd = toChild[1];
        // WORKAROUND: writing to a pipe whose reader has gone raises SIGPIPE, which would end the program;
        // the write's EPIPE is handled instead.
        ::signal(SIGPIPE, SIG_IGN);
        ::fcntl(m_writeFd, F_SETFL, O_NONBLOCK);
        ::fcntl(m_readFd, F_SETFL, O_NONBLOCK);
        if (m_input.empty()) {
            closeWrite();
        }
        return true;
    }

    bool advance(int waitMs) override {
        const auto until = waitMs < 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(waitMs);
        while (!m_done) {
            if (m_readFd >= 0) {
                pumpOutput(until);
            } else {
                awaitExit(until);
            }
            if (!m_done && Clock::now() >= until) {
                break;
            }
        }
        return m_done;
    }

    PluginProcess::Result takeResult() override { return std::move(m_result); }

private:
    void pumpOutput(Clock::time_point until) {
        if (Clock::now() >= m_deadline) {
            fail(); // out of time
            return;
        }
        pollfd fds[2] = {{m_readFd, POLLIN, 0}, {m_writeFd, POLLOUT, 0}};
        const int wait =
            until == Clock::time_point::max() ? msLeft(m_deadline) : std::min(msLeft(until), msLeft(m_deadline));
        const int ready = ::poll(fds, m_writeFd >= 0 ? 2 : 1, wait);
        if (ready <= 0) {
            return; // nothing yet (or interrupted): the deadline is checked on the next round
        }
        if (m_writeFd >= 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = ::write(m_writeFd, m_input.data() + m_written, m_input.size() - m_written);
            if (n > 0) {
                m_written += static_cast<std::size_t>(n);
            }
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || m_written == m_input.size()) {
                closeWrite();
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[65536];
            const ssize_t n = ::read(m_readFd, buffer, sizeof buffer);
            if (n > 0) {
                m_reply.append(buffer, static_cast<std::size_t>(n));
                if (m_reply.size() > m_maxReply) {
                    fail();
                }
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                // The output is closed: the program has replied. One that has not ended shortly after means
                // to go on running.
                closeFds();
                m_graceEnd = std::min(m_deadline, Clock::now() + std::chrono::milliseconds(kExitGraceMs));
            }
        }
    }

    void awaitExit(Clock::time_point until) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            if (m_result.ok) {
                m_result.reply = std::move(m_reply);
            }
            m_done = true;
            return;
        }
        if (Clock::now() >= m_graceEnd) {
            m_result.ok = true;
            m_result.reply = std::move(m_reply);
            m_result.running = std::make_unique<PosixRunning>(m_pid);
            m_done = true;
            return;
        }
        if (Clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp(msLeft(until), 0, 2)));
        }
    }

    void fail() {
        closeFds();
        killAndReap(m_pid);
        m_reply.clear();
        m_done = true;
    }

    void closeWrite() {
        if (m_writeFd >= 0) {
            ::close(m_writeFd);
            m_writeFd = -1;
        }
    }

    void closeFds() {
        closeWrite();
        if (m_readFd >= 0) {
            ::close(m_readFd);
            m_readFd = -1;
        }
    }

    std::string m_input;
    std::size_t m_maxReply;
    Clock::time_point m_deadline;
    Clock::time_point m_graceEnd;
    pid_t m_pid = -1;
    int m_readFd = -1;
    int m_writeFd = -1;
    std::size_t m_written = 0;
    std::string m_reply;
    bool m_done = false;
    PluginProcess::Result m_result;
};

class FailedStart : public PluginProcess::Pending {
public:
    bool advance(int) override { return true; }
    PluginProcess::Result takeResult() override { return {}; }
};

} // namespace

std::unique_ptr<PluginProcess::Pending> PosixPluginProcess::start(const std::string& program, const std::string& input,
                                                                  int timeoutMs, std::size_t maxReply,
                                                                  const std::vector<std::string>& arguments) {
    auto pending = std::make_unique<PosixPendingCall>(input, timeoutMs, maxReply);
    if (!pending->spawn(program, arguments)) {
        return std::make_unique<FailedStart>();
    }
    return pending;
}

PluginProcess::Result PosixPluginProcess::call(const std::string& program, const std::string& input, int timeoutMs,
                                               std::size_t maxReply, const std::vector<std::string>& arguments) {
    auto pending = start(program, input, timeoutMs, maxReply, arguments);
    pending->advance(-1);
    return pending->takeResult();
}

} // namespace halvika
