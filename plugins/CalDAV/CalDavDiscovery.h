// Finding a user's calendars from a server or principal address, and making a new one.
#pragma once

#include "DavClient.h"

#include <string>
#include <vector>

namespace halvika {

class CalDavDiscovery {
public:
    struct Calendar {
        std::string url;
        std::string name;
    };
    struct Result {
        std::vector<Calendar> calendars;
        std::string home;    ///< the calendar home, where new calendars go
        std::string problem; ///< one sentence when the search failed
    };

    explicit CalDavDiscovery(DavClient& client) : m_client(client) {}

    /// From any of: the server, the principal, the calendar home (current-user-principal, calendar-home-set).
    Result find(const std::string& address);
    /// A new calendar named `name` in the home; its address, or "" with `problem` set.
    std::string create(const std::string& home, const std::string& name, std::string& problem);

private:
    DavClient& m_client;
};

} // namespace halvika
