// Real CalDAV servers for tests, each on the loopback address with a free port and a folder of its own.
#include "caldav/CalDavServers.h"

#include "CalDavDiscovery.h"
#include "DavClient.h"

#include <arpa/inet.h>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace halvika::test {

int freePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

bool listening(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

bool waitForListener(int port) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!listening(port) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return listening(port);
}

CalDavServer::CalDavServer(Kind kind, bool lowPriority) : m_kind(kind), m_lowPriority(lowPriority) {
    m_port = freePort();
    if (m_kind == Kind::Radicale) {
        // htpasswd with plain passwords: the file format Radicale reads without further Python modules.
        std::ofstream(m_folder.file("users")) << user << ":" << password << "\n";
        std::ofstream(m_folder.file("config"))
            << "[server]\nhosts = 127.0.0.1:" << m_port
            << "\n[auth]\ntype = htpasswd\nhtpasswd_filename = " << m_folder.file("users")
            << "\nhtpasswd_encryption = plain\n[storage]\nfilesystem_folder = " << m_folder.file("collections")
            << "\n[rights]\ntype = owner_only\n[logging]\nlevel = warning\n";
    }
    start();
}

void CalDavServer::start() {
    std::vector<std::string> command;
    if (m_lowPriority) {
        command = {"nice", "-n", "19"};
    }
    if (m_kind == Kind::Radicale) {
        command.insert(command.end(), {"/usr/bin/python3", "-m", "radicale", "--config", m_folder.file("config")});
    } else {
        command.insert(command.end(), {"/usr/bin/xandikos", "-d", m_folder.file("store"), "-l", "127.0.0.1", "-p",
                                       std::to_string(m_port), "--autocreate", "--current-user-principal",
                                       std::string("/") + user + "/"});
    }
    m_daemon = std::make_unique<Daemon>(command);
    m_up = waitForListener(m_port);
}

void CalDavServer::stop() {
    m_daemon.reset();
    m_up = false;
}

std::string CalDavServer::newCalendar(const std::string& name, std::string& problem) const {
    DavClient client(user, password, 8000);
    CalDavDiscovery discovery(client);
    return discovery.create(home(), name, problem);
}

std::string CalDavServer::root() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/";
}

std::string CalDavServer::home() const {
    return m_kind == Kind::Radicale ? root() + user + "/" : root() + user + "/calendars/";
}

} // namespace halvika::test
