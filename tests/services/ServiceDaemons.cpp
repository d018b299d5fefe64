#include "services/ServiceDaemons.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace halvika::test {

Daemon::Daemon(const std::vector<std::string>& command, const std::string& outputFile) {
    m_pid = ::fork();
    if (m_pid == 0) {
        if (!outputFile.empty()) {
            const int fd = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(fd, STDOUT_FILENO);
        }
        std::vector<char*> argv;
        for (const auto& part : command) {
            argv.push_back(const_cast<char*>(part.c_str()));
        }
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
}

void Daemon::signal(int sig) const {
    if (m_pid > 0) {
        ::kill(m_pid, sig);
    }
}

Daemon::~Daemon() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

bool Daemon::running() {
    return m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0;
}

bool waitUntil(double seconds, bool (*condition)(const std::string&), const std::string& argument) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition(argument)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return condition(argument);
}

std::string readText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileHasLine(const std::string& path) {
    return readText(path).find('\n') != std::string::npos;
}

std::string commandOutput(const std::string& command, int* status, bool withErrors) {
    FILE* pipe = ::popen((command + (withErrors ? " 2>&1" : " 2>/dev/null")).c_str(), "r");
    std::string output;
    char buffer[512];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int result = pipe != nullptr ? ::pclose(pipe) : -1;
    if (status != nullptr) {
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    }
    return output;
}

std::unique_ptr<Daemon> startPrivateBus(const std::string& folder, bool alsoSystem) {
    const std::string addressFile = folder + "/bus-address";
    auto bus = std::make_unique<Daemon>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--print-address=1"}, addressFile);
    if (!waitUntil(10, fileHasLine, addressFile)) {
        return nullptr;
    }
    std::string address = readText(addressFile);
    address.erase(address.find('\n'));
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
    if (alsoSystem) {
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
    }
    return bus;
}

namespace {
bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}
} // namespace

std::unique_ptr<Daemon> startPulseAudio(const std::string& folder) {
    const std::string socket = folder + "/native";
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    auto pulse = std::make_unique<Daemon>(std::vector<std::string>{
        "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "--log-target=stderr",
        "--log-level=0", "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket,
        "--load=module-null-sink sink_name=halvika_null", "--load=module-always-sink"});
    if (!waitUntil(20, exists, socket)) {
        return nullptr;
    }
    ::setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    return pulse;
}

} // namespace halvika::test
