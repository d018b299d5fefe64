// The real halvika program started on a home folder, for end-to-end tests.
#pragma once

#include "fakes/TempHome.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace halvika::test {

using namespace std::chrono_literals;

/// Runs HALVIKA_BINARY, or the program named by $HALVIKA_E2E_BINARY (to measure a release build).
class Process {
public:
    /// `option`, when given, is one more argument after the home folder.
    explicit Process(const std::string& home, const std::string& option = "") {
        // A home that has been run before: without settings the first-run dialog would wait for the user.
        if (!std::filesystem::exists(home + "/usr.cfx")) {
            std::ofstream(home + "/usr.cfx") << "<settings><lng>English</lng></settings>";
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            const char* platform = std::getenv("HALVIKA_E2E_PLATFORM");
            ::setenv("QT_QPA_PLATFORM", platform ? platform : "offscreen", 1);
            // A first run may write an autostart entry: into the test's folder, never the machine's.
            ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
            const char* binary = std::getenv("HALVIKA_E2E_BINARY") ? std::getenv("HALVIKA_E2E_BINARY") : HALVIKA_BINARY;
            if (option.empty()) {
                ::execl(binary, binary, "--home", home.c_str(), static_cast<char*>(nullptr));
            } else {
                ::execl(binary, binary, "--home", home.c_str(), option.c_str(), static_cast<char*>(nullptr));
            }
            ::_exit(127);
        }
    }
    ~Process() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool running() {
        int status = 0;
        if (m_reaped) {
            return false;
        }
        const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_reaped = true;
            m_status = status;
            return false;
        }
        return true;
    }
    /// Exit code, or -1 when the process did not end within the time.
    int waitForExit(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (running()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return -1;
            }
            std::this_thread::sleep_for(20ms);
        }
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : 128 + WTERMSIG(m_status);
    }
    void signal(int sig) const { ::kill(m_pid, sig); }
    pid_t pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    bool m_reaped = false;
    int m_status = 0;
};

/// Waits until the file holds exactly `content`.
inline bool waitForContent(const TempHome& home, const std::string& name, const std::string& content) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(home.file(name)) && home.read(name) == content) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

inline bool waitForContentPrefix(const TempHome& home, const std::string& name, const std::string& prefix) {
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(home.file(name)) && home.read(name).rfind(prefix, 0) == 0) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

/// A moment in the group files' form, in UTC (the tests run with TZ=UTC).
inline std::string fileMoment(std::time_t t) {
    std::tm tm{};
    ::gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &tm);
    return text;
}

/// "LABEL SECONDS" lines of the stamp program, by label.
inline std::map<int, double> readStamps(const std::string& path) {
    std::map<int, double> stamps;
    std::ifstream in(path);
    int label = 0;
    double seconds = 0;
    while (in >> label >> seconds) {
        stamps[label] = seconds;
    }
    return stamps;
}

/// `count` alarms one a second from `first`, each starting the stamp program with its number.
inline std::string stampAlarms(std::time_t first, int count, const std::string& stamps) {
    std::string alarms;
    for (int i = 0; i < count; ++i) {
        alarms += "<alrm><name>A" + std::to_string(i) + "</name><datk>0</datk><oncd>" + fileMoment(first + i) +
                  "</oncd><acti><acid>4</acid><plug></plug><sett><s>" + HALVIKA_STAMP_PROGRAM + "|" + stamps + " " +
                  std::to_string(i) + "</s></sett></acti></alrm>";
    }
    return alarms;
}

/// How late each stamped alarm began after its second, in milliseconds (negative: early).
inline std::vector<double> latenessOf(const std::map<int, double>& stamps, std::time_t first) {
    std::vector<double> lateness;
    for (const auto& [label, seconds] : stamps) {
        lateness.push_back((seconds - static_cast<double>(first + label)) * 1000.0);
    }
    return lateness;
}

} // namespace halvika::test
