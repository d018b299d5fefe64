// A proxy in front of a real CalDAV server that spoils chosen answers.
#include "caldav/FaultProxy.h"

namespace halvika::test {

FaultProxy::FaultProxy(const CalDavServer& server) : m_serverRoot(server.root()), m_port(freePort()) {
    setRules("[]");
    const std::string port = m_serverRoot.substr(m_serverRoot.rfind(':') + 1);
    m_daemon = std::make_unique<Daemon>(
        std::vector<std::string>{"/usr/bin/python3", HALVIKA_SOURCE_DIR "/tests/plugins/caldav/fault_proxy.py",
                                 port.substr(0, port.size() - 1), std::to_string(m_port), m_folder.file("rules")});
    m_up = waitForListener(m_port);
}

std::string FaultProxy::through(const std::string& url) const {
    const std::string root = "http://127.0.0.1:" + std::to_string(m_port) + "/";
    return url.rfind(m_serverRoot, 0) == 0 ? root + url.substr(m_serverRoot.size()) : url;
}

void FaultProxy::setRules(const std::string& json) const {
    m_folder.write("rules", json);
}

} // namespace halvika::test
