// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the user-interface thread.
#include "platform/UnixSignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace halvika {

namespace {
int g_sockets[2] = {-1, -1};
}

UnixSignalWatcher::UnixSignalWatcher(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_sockets) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(g_sockets[1], &byte, 1) == 1) {
            emit terminationRequested();
        }
    });
    struct sigaction action {};
    action.sa_handler = &UnixSignalWatcher::handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(sig, &action, nullptr);
    }
}

UnixSignalWatcher::~UnixSignalWatcher() {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        ::signal(sig, SIG_DFL);
    }
    ::close(g_sockets[0]);
    ::close(g_sockets[1]);
    g_sockets[0] = g_sockets[1] = -1;
}

void UnixSignalWatcher::handle(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler.
    [[maybe_unused]] const ssize_t n = ::write(g_sockets[0], &byte, 1);
}

} // namespace halvika
