// Real services for tests, each private to the test process: a D-Bus bus with python-dbusmock services,
// and a PulseAudio server with a null sink.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <sys/types.h>

namespace halvika::test {

/// A child process, killed when the object goes.
class Daemon {
public:
    /// Starts the program; its standard output goes to `outputFile` when given.
    Daemon(const std::vector<std::string>& command, const std::string& outputFile = "");
    ~Daemon();
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;
    bool running();
    /// Sends the signal (SIGSTOP freezes a server, SIGCONT lets it go on).
    void signal(int sig) const;

private:
    pid_t m_pid = -1;
};

/// Waits up to `seconds` until `condition` holds.
bool waitUntil(double seconds, bool (*condition)(const std::string&), const std::string& argument);
/// The file's whole text ("" when missing).
std::string readText(const std::string& path);
bool fileHasLine(const std::string& path);

/// Runs a shell command; its standard output (and error, with `withErrors`) and, when asked, its exit status.
std::string commandOutput(const std::string& command, int* status = nullptr, bool withErrors = false);

/// A D-Bus daemon of the test's own, its address written into `folder` and set as DBUS_SESSION_BUS_ADDRESS
/// (and DBUS_SYSTEM_BUS_ADDRESS with `alsoSystem`); none when it did not come up.
std::unique_ptr<Daemon> startPrivateBus(const std::string& folder, bool alsoSystem = false);

/// A PulseAudio server of the test's own with a null sink, listening on `folder`/native, set as PULSE_SERVER
/// (and `folder` as XDG_RUNTIME_DIR); none when it did not come up.
std::unique_ptr<Daemon> startPulseAudio(const std::string& folder);

} // namespace halvika::test
