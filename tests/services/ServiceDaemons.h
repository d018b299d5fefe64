// Real services for tests, each private to the test process: a D-Bus bus with python-dbusmock services,
// and a PulseAudio server with a null sink.
#pragma once

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

private:
    pid_t m_pid = -1;
};

/// Waits up to `seconds` until `condition` holds.
bool waitUntil(double seconds, bool (*condition)(const std::string&), const std::string& argument);
/// The file's whole text ("" when missing).
std::string readText(const std::string& path);
bool fileHasLine(const std::string& path);

} // namespace halvika::test
