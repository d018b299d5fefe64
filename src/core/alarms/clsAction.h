// One thing an alarm does when it sounds: its kind, a plug-in identifier and the kind's settings.
#pragma once

#include "alarms/ActionKind.h"
#include "xml/StoredNode.h"
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
    /// The kind as the file holds it (`ActionKind`); 0 or an unknown number is kept as it is.
    std::int16_t action = 0;
    std::string plugin;
    /// The element "sett" holding the kind's parameters.
    StoredNode settings{"sett"};
    /// The alarm the action belongs to; the alarm owns the action.
    Alarm* al = nullptr;

    /// A new action of the kind with the kind's default settings from the language file (section "Action",
    /// key kind + "e", the children's XML text); plug-in actions start with empty settings.
    static std::shared_ptr<clsAction> Create(Alarm* al, ActionKind kind, TextSource& texts);
    /// Reads "acid", "plug" and the "sett" element; missing parts give kind 0, "" and empty settings.
    static std::shared_ptr<clsAction> createFromXML(const XMLNode& xml, Alarm* al);

    void initialize() { settings = StoredNode("sett"); }
    /// An element `name` with "acid", "plug" and a copy of the settings.
    XMLNodePtr toXML(std::string_view name) const;

    /// The kind's name from the language file; for a plug-in action the plug-in's short description
    /// (from `pluginDescription`, "" when the plug-in is not loaded).
    std::string getDescription(TextSource& texts,
                               const std::function<std::string(const std::string&)>& pluginDescription = {}) const;
    /// Scheme colour 30 + kind for built-in kinds; the scheme colour named after the plug-in for kind 16.
    std::string getActionColorString(const ColourSource& colours) const;
    ActionKind kind() const { return static_cast<ActionKind>(action); }
    void setKind(ActionKind kind) { action = static_cast<std::int16_t>(kind); }
    bool isKind(ActionKind kind) const { return action == static_cast<std::int16_t>(kind); }
    bool showsMessage() const { return isKind(ActionKind::Message) || isKind(ActionKind::MessageAndSpeak); }

    // The kind's parameters by meaning; the one-letter names and places are those of the files.
    /// "s": the message, spoken text, sound file, command or time format.
    std::string text() const { return settings->getString("s"); }
    void setText(const std::string& text) { settings->setString("s", text); }
    /// "d": the moment the time until or since is told for.
    std::string referenceMoment() const { return settings->getString("d"); }
    void setReferenceMoment(const std::string& moment) { settings->setString("d", moment); }
    /// "i" 0 of a message: 1 when its window offers snoozing.
    bool offersSnooze() const { return settings->getInteger("i", 0) == 1; }
    /// "i" 0, 1, 2 and "l" of a sound: how it repeats, how often, whether timed, and the pause.
    std::int16_t repeatMode() const { return settings->getInteger("i", 0); }
    void setRepeatMode(std::int16_t mode) { settings->setInteger("i", mode, 0); }
    std::int16_t repeatTimes() const { return settings->getInteger("i", 1); }
    void setRepeatTimes(std::int16_t times) { settings->setInteger("i", times, 1); }
    bool timed() const { return settings->getInteger("i", 2) == 1; }
    void setTimed(bool timed) { settings->setInteger("i", timed ? 1 : 0, 2); }
    std::int32_t intervalMs() const { return settings->getLong("l", 0, 1000); }
    void setIntervalMs(std::int32_t ms) { settings->setLong("l", ms); }
};

} // namespace halvika
