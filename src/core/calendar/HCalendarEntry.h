// One dated entry of a calendar: an occurrence of an alarm.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
struct AlarmTexts;

struct HCalendarEntry {
    std::string text;
    Date startDate;
    Date endDate;
    std::int32_t colour = 0; ///< 0xBBGGRR
    std::shared_ptr<Alarm> alarm;

    /// Whether the entry lasts: its end lies after its start.
    bool hasInterval() const { return startDate < endDate; }
    /// Whether any part of the entry falls between `from` and `to` (both included). A lasting entry ends
    /// just before its end moment, so that an hour-long entry does not spill into the next hour.
    bool overlaps(const Date& from, const Date& to) const {
        return hasInterval() ? startDate <= to && endDate > from : from <= startDate && startDate <= to;
    }
    /// The start moment in `format`, " --- " and the end moment when it lasts, then the alarm's own tool tip.
    std::string getToolTip(const std::string& format, AlarmTexts* alarmTexts) const;
};

} // namespace halvika
