// The kinds of action an alarm can be given: the built-in kinds and the action plug-ins.
#pragma once

#include "alarms/ActionKind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halvika {

class PluginHost;
class modTranslation;

class ActionCatalog {
public:
    struct Entry {
        ActionKind kind = ActionKind::Message;
        std::string plugin; ///< the plug-in's identifier, for plug-in actions
        std::string shortDescription;
        std::string category;
        std::string description;
    };

    /// Built-in kinds 1 to 17 from the language file ("Action": kind + "s", "c", "d"), the plug-in kind
    /// excepted, then each loaded action plug-in with its answer to "GetActionInfo".
    static std::vector<Entry> list(modTranslation& texts, PluginHost* plugins);
};

} // namespace halvika
