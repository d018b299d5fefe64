// A WebDAV multistatus reply (RFC 4918, 4791, 6578) as the synchronisation needs it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace halvika {

/// Read with a namespace-aware reader: elements are known by namespace and local name, whatever prefixes
/// the server chose. Anything else in the reply is skipped; a reply that is not well-formed XML reads as
/// not `valid`.
struct DavMultistatus {
    struct Response {
        std::string href;
        int status = 200; ///< of the response or its first propstat with a known property
        std::string etag;
        std::string calendarData;
        std::string displayName;
        bool isCalendar = false;
        std::string currentUserPrincipal;
        std::string calendarHomeSet;
        std::string ctag;
    };

    bool valid = false;
    std::vector<Response> responses;
    std::string syncToken;

    static DavMultistatus read(std::string_view xml);
};

} // namespace halvika
