// An iCalendar text (RFC 5545) as one alarm group: each event, and each to-do with a due time, becomes an
// alarm with a message; rules, windows, weekdays, corrections and durations are carried over as far as
// Halvika can hold them, and whatever could not be carried over exactly is listed.
#pragma once

#include "xml/XMLNode.h"

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
