// A proxy on the loopback address in front of a real CalDAV server that spoils the answers a test chooses:
// an error status, a connection closed without an answer, a body cut off, a huge or garbage multistatus, or
// another client's change arriving just before a request.
#pragma once

#include "caldav/CalDavServers.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <memory>
#include <string>

namespace halvika::test {

class FaultProxy {
public:
    explicit FaultProxy(const CalDavServer& server);
    bool up() const { return m_up; }
    /// The same address on the server, reached through the proxy.
    std::string through(const std::string& url) const;
    /// The rules as a JSON list (see fault_proxy.py); "[]" lets everything through. Requests are counted
    /// per method from when the rules changed.
    void setRules(const std::string& json) const;

private:
    TempHome m_folder;
    std::string m_serverRoot;
    int m_port = 0;
    std::unique_ptr<Daemon> m_daemon;
    bool m_up = false;
};

} // namespace halvika::test
