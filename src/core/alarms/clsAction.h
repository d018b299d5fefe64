// One thing an alarm does when it sounds: its kind, a plug-in identifier and the kind's settings.
#pragma once

#include "xml/XMLNode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class ColourSource;
class TextSource;

class clsAction {
public:
    /// Kinds: 1 message, 2 speak, 3 message and speak, 4-6 special command, 7 sound once, 8 sound repeated,
    /// 9 tell the time, 10 time until, 11 time since, 12 screen saver, 13 shut down, 14 restart, 15 log off,
    /// 16 plug-in, 17 alarm clock.
    static constexpr std::int16_t kindMessage = 1;
    static constexpr std::int16_t kindMessageAndSpeak = 3;
    static constexpr std::int16_t kindSoundOnce = 7;
    static constexpr std::int16_t kindSoundRepeated = 8;
    static constexpr std::int16_t kindPlugin = 16;

    std::int16_t action = 0;
    std::string plugin;
    /// The element "sett" holding the kind's parameters.
    XMLNodePtr settings = XMLNode::Create("sett");
    /// The alarm the action belongs to; the alarm owns the action.
    Alarm* al = nullptr;

    /// A new action of the kind with the kind's default settings from the language file (section "Action",
    /// key kind + "e", the children's XML text); plug-in actions start with empty settings.
    static std::shared_ptr<clsAction> Create(Alarm* al, std::int16_t action, TextSource& texts);
    /// Reads "acid", "plug" and the "sett" element; missing parts give kind 0, "" and empty settings.
    static std::shared_ptr<clsAction> createFromXML(const XMLNode& xml, Alarm* al);

    void initialize() { settings = XMLNode::Create("sett"); }
    /// An element `name` with "acid", "plug" and a copy of the settings.
    XMLNodePtr toXML(std::string_view name) const;

    /// The kind's name from the language file; for a plug-in action the plug-in's short description
    /// (from `pluginDescription`, "" when the plug-in is not loaded).
    std::string getDescription(TextSource& texts,
                               const std::function<std::string(const std::string&)>& pluginDescription = {}) const;
    /// Scheme colour 30 + kind for built-in kinds; the scheme colour named after the plug-in for kind 16.
    std::string getActionColorString(const ColourSource& colours) const;
    bool showsMessage() const { return action == kindMessage || action == kindMessageAndSpeak; }
};

} // namespace halvika
