// The group properties dialog's decisions: what the form holds and what writing it changes.
#pragma once

#include "xml/XMLNode.h"

#include <cstdint>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class AlarmGroup;
class modTranslation;

struct GroupForm {
    std::string name;
    bool active = true;
    std::int32_t colour = 0;
    std::string templateText; ///< "" for the program's default template
    std::string synchPlugin;  ///< "" for none
    XMLNodePtr synchSettings = XMLNode::Create("syst");
};

class GroupPropertiesLogic {
public:
    static GroupForm formOf(const AlarmGroup& group);
    /// Writes the form into the group; returns the change kinds to report (0 when nothing changed).
    static std::int16_t apply(AlarmGroup& group, const GroupForm& form);
    /// The stored text of an edited template alarm: "" when it equals the program's default alarm.
    static std::string templateTextOf(const Alarm& templateAlarm, modTranslation& texts);
};

} // namespace halvika
