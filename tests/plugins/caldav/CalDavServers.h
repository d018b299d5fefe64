// Real CalDAV servers for tests, each on the loopback address with a free port and a folder of its own:
// Radicale with htpasswd authentication, and Xandikos.
#pragma once

#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <memory>
#include <string>

namespace halvika::test {

class CalDavServer {
public:
    enum class Kind { Radicale, Xandikos };
    static constexpr const char* user = "alice";
    static constexpr const char* password = "correct horse";

    /// `lowPriority`: the server runs at the lowest CPU priority, standing in for a server on another machine
    /// when what is measured is the program beside it.
    explicit CalDavServer(Kind kind, bool lowPriority = false);
    bool up() const { return m_up; }
    /// http://127.0.0.1:PORT/ and the user's calendar home on it.
    std::string root() const;
    std::string home() const;
    void stop();
    void start();
    /// A new calendar of the user's, made through the plug-in's own discovery code; its address, or "" with
    /// the reason in `problem`.
    std::string newCalendar(const std::string& name, std::string& problem) const;

private:
    Kind m_kind;
    bool m_lowPriority;
    TempHome m_folder;
    int m_port = 0;
    std::unique_ptr<Daemon> m_daemon;
    bool m_up = false;
};

/// A port nobody listens on at the moment.
int freePort();
bool listening(int port);
/// Waits up to 20 seconds for something to listen on the port; whether it does.
bool waitForListener(int port);

} // namespace halvika::test
