// halvika-wakealarm: sets the real-time clock's wake-up alarm. It runs as root through pkexec, so it takes
// nothing from its caller but one checked number: no shell, no environment, no path.
#include "wakealarm/WakeAlarmArgument.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

/// Fixed when the program is built; a test build points it at a file of the test's.
constexpr const char* rtcFile = HALVIKA_WAKEALARM_FILE;

bool writeValue(const std::string& value) {
    const int fd = ::open(rtcFile, O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        std::fprintf(stderr, "halvika-wakealarm: cannot open %s: %s\n", rtcFile, std::strerror(errno));
        return false;
    }
    const ssize_t written = ::write(fd, value.data(), value.size());
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (written != static_cast<ssize_t>(value.size()) || !closed) {
        std::fprintf(stderr, "halvika-wakealarm: cannot write %s: %s\n", rtcFile,
                     std::strerror(written < 0 ? writeError : errno));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    using halvika::WakeAlarmArgument;
    std::int64_t second = 0;
    const auto verdict = WakeAlarmArgument::check(argc, argv, static_cast<std::int64_t>(std::time(nullptr)), second);
    if (verdict != WakeAlarmArgument::Verdict::Set && verdict != WakeAlarmArgument::Verdict::Clear) {
        std::fprintf(stderr, "halvika-wakealarm: %s\n", WakeAlarmArgument::explain(verdict));
        return WakeAlarmArgument::exitUsage;
    }
    // The kernel refuses a new alarm while one is set: cleared first, always.
    if (!writeValue("0")) {
        return WakeAlarmArgument::exitNotWritten;
    }
    if (second != 0 && !writeValue(std::to_string(second))) {
        return WakeAlarmArgument::exitNotWritten;
    }
    return WakeAlarmArgument::exitDone;
}
