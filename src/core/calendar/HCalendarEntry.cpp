// The tool tip of a calendar entry.
#include "calendar/HCalendarEntry.h"

#include "alarms/Alarm.h"
#include "alarms/AlarmTexts.h"
#include "dates/DateFormat.h"

namespace halvika {

std::string HCalendarEntry::getToolTip(const std::string& format, AlarmTexts* alarmTexts) const {
    std::string tip = formatDate(format, startDate);
    if (hasInterval()) {
        tip += " --- " + formatDate(format, endDate);
    }
    tip += "\r\n";
    if (alarm && alarmTexts) {
        tip += alarm->getToolTip(*alarmTexts);
    }
    return tip;
}

} // namespace halvika
