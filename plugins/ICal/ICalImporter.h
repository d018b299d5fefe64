// An iCalendar text (RFC 5545) as one alarm group: each event, and each to-do with a due time, becomes an
// alarm with a message; rules, windows, weekdays, corrections and durations are carried over as far as
// Halvika can hold them, and whatever could not be carried over exactly is listed.
#pragma once

#include "xml/XMLNode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halvika {

class ICalImporter {
public:
    struct Result {
        /// The alarm group element "algr"; none when the text is no calendar.
        XMLNodePtr group;
        /// One line per alarm for what was imported only approximately or not at all.
        std::vector<std::string> notes;
        /// Per alarm of the group, in order: the event it came from (its UID, and LAST-MODIFIED in seconds
        /// since 1970, 0 when it has none).
        struct Source {
            std::string uid;
            std::int64_t lastModified = 0;
        };
        std::vector<Source> sources;
    };

    /// `fallbackName` names the group when the calendar has no X-WR-CALNAME. Times in a named zone or in UTC
    /// become local times of the process's time zone; an all-day event sounds `allDayMinutes` after the
    /// start of its day.
    static constexpr int defaultAllDayMinutes = 9 * 60;
    static Result importText(const std::string& text, const std::string& fallbackName,
                             int allDayMinutes = defaultAllDayMinutes);
    /// "allDayTime=hh:mm" from the plug-in's settings text; the default for anything else.
    static int allDayMinutesFrom(const std::string& settings);
};

} // namespace halvika
