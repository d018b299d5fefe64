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
    return left < 0 ? 0 : static_cast<int>(left);
}

void killAndReap(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

/// A program that replied and went on; ended (politely, then firmly) when the handle goes.
class PosixRunning : public PluginProcess::Running {
public:
    explicit PosixRunning(pid_t pid) : m_pid(pid) {}
    ~PosixRunning() override {
        if (!isAlive()) {
            return;
        }
        ::kill(m_pid, SIGTERM);
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

} // namespace

PluginProcess::Result PosixPluginProcess::call(const std::string& program, const std::string& input, int timeoutMs,
                                               std::size_t maxReply, const std::vector<std::string>& arguments) {
    Result result;
    int toChild[2];
    int fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) {
        return result;
    }
    if (::pipe2(fromChild, O_CLOEXEC) != 0) {
        ::close(toChild[0]);
        ::close(toChild[1]);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    pid_t pid = -1;
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (spawned != 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        return result;
    }

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    // A plug-in that dies early must not take the host down with SIGPIPE.
    ::fcntl(toChild[1], F_SETFL, O_NONBLOCK);
    // WORKAROUND: writing to a pipe whose reader has gone raises SIGPIPE, which would end the program;
    // the write's EPIPE is handled instead.
    ::signal(SIGPIPE, SIG_IGN);
    std::size_t written = 0;
    int writeFd = toChild[1];
    if (input.empty()) {
        ::close(writeFd);
        writeFd = -1;
    }
    std::string reply;
    bool failed = false;
    bool outputOpen = true;
    while (outputOpen && !failed) {
        pollfd fds[2] = {{fromChild[0], POLLIN, 0}, {writeFd, POLLOUT, 0}};
        const int ready = ::poll(fds, writeFd >= 0 ? 2 : 1, msLeft(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            failed = true; // out of time
            break;
        }
        if (writeFd >= 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = ::write(writeFd, input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == input.size()) {
                ::close(writeFd);
                writeFd = -1;
            }
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[65536];
            const ssize_t n = ::read(fromChild[0], buffer, sizeof buffer);
            if (n > 0) {
                reply.append(buffer, static_cast<std::size_t>(n));
                failed = reply.size() > maxReply;
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                outputOpen = false;
            }
        }
    }
    if (writeFd >= 0) {
        ::close(writeFd);
    }
    ::close(fromChild[0]);
    if (failed) {
        killAndReap(pid);
        return result;
    }
    // The output is closed: the program has replied. A program that has not ended shortly after means to
    // go on running.
    const auto graceEnd = std::min(deadline, Clock::now() + std::chrono::milliseconds(kExitGraceMs));
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            break;
        }
        if (msLeft(graceEnd) == 0) {
            // Still running after its reply: it means to go on.
            result.ok = true;
            result.reply = std::move(reply);
            result.running = std::make_unique<PosixRunning>(pid);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        result.ok = true;
        result.reply = std::move(reply);
    }
    return result;
}

} // namespace halvika
