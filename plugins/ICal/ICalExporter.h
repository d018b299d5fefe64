// An alarm group as an iCalendar text (RFC 5545): every alarm an event with its start, repetition rule,
// duration, message and a reminder carrying its correction. What has no iCalendar form is kept in
// X-HALVIKA- properties and listed.
#pragma once

#include "xml/XMLNode.h"

#include <ctime>
#include <string>
#include <vector>

namespace halvika {

class ICalExporter {
public:
    struct Result {
        std::string text;
        /// One line per alarm whose rule other calendar programs will not read exactly.
        std::vector<std::string> notes;
    };

    /// `group` is an "algr" element; `now` stamps the events (DTSTAMP).
    static Result exportGroup(const XMLNode& group, std::time_t now);
    /// One alarm element as a calendar of one event with the given UID, "" when the alarm never sounds
    /// (a resource of a synchronised calendar). An alarm that carries when it was last changed ("smod")
    /// says so in LAST-MODIFIED.
    static std::string exportAlarm(const XMLNode& alarm, const std::string& uid, std::time_t now,
                                   std::vector<std::string>& notes);
};

} // namespace halvika
