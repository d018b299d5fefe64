// The personal assistant: greets the user coming back and reads out what is coming.
#pragma once

#include "dates/Date.h"

#include <functional>
#include <string>

namespace halvika {

class AlarmGroupCollection;
class modTranslation;

class PersonalAssistant {
public:
    static constexpr const char* section = "assistant";
    /// "#1 on #2": a time (#1) on another day (#2).
    static constexpr int textTimeOnDay = 400;
    static constexpr int textClosing = 300;

    /// `speak` says one text with the settings' voice.
    PersonalAssistant(modTranslation& texts, AlarmGroupCollection& groups,
                      std::function<void(const std::string&)> speak)
        : m_texts(texts), m_groups(groups), m_speak(std::move(speak)) {}

    /// The greeting for the part of the day and the two summaries, as one text; nothing while blocked or
    /// within 2 minutes of the last greeting.
    void greetUser(const Date& now, bool blocked, bool ignoreCorrection);
    /// The text greetUser would speak at `now`.
    std::string greetingText(const Date& now, bool ignoreCorrection);

private:
    std::string summary(int number, const Date& now, bool ignoreCorrection);

    modTranslation& m_texts;
    AlarmGroupCollection& m_groups;
    std::function<void(const std::string&)> m_speak;
    Date m_lastGreeting = Date::none();
};

} // namespace halvika
