#include "sounding/ActionCatalog.h"

#include "alarms/clsAction.h"
#include "plugins/PluginHost.h"
#include "settings/modTranslation.h"
#include "xml/XMLNode.h"

namespace halvika {

namespace {
constexpr std::int16_t lastKind = 17;
}

std::vector<ActionCatalog::Entry> ActionCatalog::list(modTranslation& texts, PluginHost* plugins) {
    std::vector<Entry> entries;
    for (std::int16_t kind = 1; kind <= lastKind; ++kind) {
        if (kind == clsAction::kindPlugin) {
            continue; // each action plug-in has an entry of its own below
        }
        const std::string key = std::to_string(kind);
        entries.push_back({kind, "", texts.getValue("Action", key + "s", ""), texts.getValue("Action", key + "c", ""),
                           texts.getValue("Action", key + "d", "")});
    }
    if (plugins) {
        for (const std::string& id : plugins->plugins(PluginHost::Action)) {
            const XMLNodePtr info = plugins->actionInfo(id);
            entries.push_back({clsAction::kindPlugin, id, info->getString("shortdescription"),
                               info->getString("category"), info->getString("description")});
        }
    }
    return entries;
}

} // namespace halvika
