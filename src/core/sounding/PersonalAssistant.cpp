#include "sounding/PersonalAssistant.h"

#include "alarms/Alarm.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroupCollection.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmQueries.h"
#include "sounding/AlarmWatch.h"
#include "text/Placeholders.h"

namespace halvika {

namespace {

constexpr std::int16_t unitMinutes = 1;
constexpr std::int16_t unitHours = 2;

void appendSentence(std::string& text, const std::string& sentence) {
    if (sentence.empty()) {
        return;
    }
    if (!text.empty()) {
        text += ' ';
    }
    text += sentence;
}

} // namespace

std::string PersonalAssistant::summary(int number, const Date& now, bool ignoreCorrection) {
    // Text number + 1 holds the period in hours, + 2 the least importance, + 10 the sentence about the first.
    const std::int16_t hours = m_texts.getAssistantNumber(number + 1, 12);
    const std::int16_t importance = m_texts.getAssistantNumber(number + 2, 0);
    Vector<Alarm> everyAlarm;
    for (int g = 0; g < m_groups.alarmGroups.numberOfElements(); ++g) {
        everyAlarm.addVector(m_groups.alarmGroups.elementAt(g)->alarms);
    }
    Vector<Alarm> found;
    DateVector starts, ends;
    const Date until = tryDateAddUnit(now, hours > 0 ? hours : 0, unitHours).value_or(now);
    AlarmQueries::collectAlarmIntervals(everyAlarm, now, until, importance, ignoreCorrection, found, starts, ends);
    const int count = found.numberOfElements();
    std::string text = Placeholders::fill(m_texts.getAssistantText(number), std::to_string(count));
    if (count > 0) {
        // A time on another day says which day, or "9:15" tomorrow would be heard as today's.
        const Date first = starts.dateAt(0);
        std::string when = formatDate("h:nn", first);
        if (first.dateOnly() != now.dateOnly()) {
            const std::string pattern = m_texts.getAssistantText(textTimeOnDay);
            const std::string day = formatDate("dddd", first);
            when = pattern.empty() ? when + " " + day : Placeholders::fill(pattern, when, day);
        }
        appendSentence(text, Placeholders::fill(m_texts.getAssistantText(number + 10), std::to_string(count),
                                                found.elementAt(0)->name, when));
    }
    return text;
}

std::string PersonalAssistant::greetingText(const Date& now, bool ignoreCorrection) {
    std::string text = m_texts.getAssistantText(now.hour() / 6 + 2);
    appendSentence(text, summary(100, now, ignoreCorrection));
    appendSentence(text, summary(200, now, ignoreCorrection));
    appendSentence(text, m_texts.getAssistantText(textClosing));
    return text;
}

void PersonalAssistant::greetUser(const Date& now, bool blocked, bool ignoreCorrection) {
    if (blocked) {
        return;
    }
    if (m_lastGreeting != Date::none() && dateDiffUnit(m_lastGreeting, now, unitMinutes) < 2) {
        return;
    }
    // One text: each new speech would cut off the one before.
    m_speak(greetingText(now, ignoreCorrection));
    m_lastGreeting = now;
}

} // namespace halvika
