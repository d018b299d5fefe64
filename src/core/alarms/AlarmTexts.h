// What describing an alarm needs from the rest of the program: texts, colours and display settings.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <functional>
#include <string>

namespace halvika {

class Alarm;
class ColourSource;
class TextSource;

struct AlarmTexts {
    AlarmTexts(TextSource& languageTexts, const ColourSource& scheme) : texts(languageTexts), colours(scheme) {}

    TextSource& texts;
    const ColourSource& colours;
    /// The user's display format for moments.
    std::string dateFormat = "dd/mm/yyyy hh:nn:ss";
    /// The user's tool-tip setting.
    bool toolTips = true;
    /// The moment the descriptions are made for.
    Date now;
    /// The colour of the alarm's group; the window-text colour when not given.
    std::function<std::int32_t(const Alarm&)> groupColour;
    /// A plug-in's short description by its identifier, for plug-in actions.
    std::function<std::string(const std::string&)> pluginDescription;
};

} // namespace halvika
