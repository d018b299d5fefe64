// A record of what the program noticed and when, for the tests and benchmarks that measure it.
#include "platform/EventTrace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace halvika {

namespace {

const char* traceFile() {
    static const char* const file = std::getenv("HALVIKA_EVENT_TRACE");
    return file != nullptr && *file != '\0' ? file : nullptr;
}

} // namespace

bool EventTrace::enabled() {
    return traceFile() != nullptr;
}

void EventTrace::note(const std::string& event) {
    const char* file = traceFile();
    if (file == nullptr) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    char line[256];
    const int n = std::snprintf(line, sizeof line, "%lld.%06ld %s\n", static_cast<long long>(now.tv_sec),
                                now.tv_nsec / 1000, event.c_str());
    const int fd = ::open(file, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0 && n > 0) {
        [[maybe_unused]] const ssize_t written =
            ::write(fd, line, static_cast<std::size_t>(std::min<int>(n, sizeof line - 1)));
    }
    if (fd >= 0) {
        ::close(fd);
    }
}

} // namespace halvika
