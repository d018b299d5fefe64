#include "sounding/ActionCatalog.h"

#include "alarms/clsAction.h"
#include "plugins/PluginHost.h"
#include "settings/modTranslation.h"
#include "xml/XMLNode.h"

namespace halvika {

std::vector<ActionCatalog::Entry> ActionCatalog::list(modTranslation& texts, PluginHost* plugins) {
    std::vector<Entry> entries;
    for (std::int16_t number = kindNumber(ActionKind::Message); number <= kindNumber(ActionKind::AlarmClock);
         ++number) {
        const auto kind = static_cast<ActionKind>(number);
        if (kind == ActionKind::Plugin) {
            continue; // each action plug-in has an entry of its own below
        }
        const std::string key = std::to_string(number);
        entries.push_back({kind, "", texts.getValue("Action", key + "s", ""), texts.getValue("Action", key + "c", ""),
                           texts.getValue("Action", key + "d", "")});
    }
    if (plugins) {
        for (const std::string& id : plugins->plugins(PluginHost::Action)) {
            const XMLNodePtr info = plugins->actionInfo(id);
            entries.push_back({ActionKind::Plugin, id, info->getString("shortdescription"), info->getString("category"),
                               info->getString("description")});
        }
    }
    return entries;
}

} // namespace halvika
