// One thing an alarm does when it sounds: its kind, a plug-in identifier and the kind's settings.
#include "alarms/clsAction.h"

#include "alarms/ColourSource.h"
#include "alarms/TextSource.h"

namespace halvika {

std::shared_ptr<clsAction> clsAction::Create(Alarm* al, ActionKind kind, TextSource& texts) {
    auto a = std::make_shared<clsAction>();
    a->al = al;
    a->setKind(kind);
    if (kind != ActionKind::Plugin) {
        const std::string defaults = texts.getValue("Action", std::to_string(kindNumber(kind)) + "e", "");
        if (!defaults.empty()) {
            a->settings = XMLNode::createFromXML("<sett>" + defaults + "</sett>");
        }
    }
    return a;
}

std::shared_ptr<clsAction> clsAction::createFromXML(const XMLNode& xml, Alarm* al) {
    auto a = std::make_shared<clsAction>();
    a->al = al;
    a->action = xml.getInteger("acid", 0, 0);
    a->plugin = xml.getString("plug", 0, "");
    if (xml.getNodeIndex("sett") >= 0) {
        a->settings.keepCopyOf(*xml.getNode("sett"));
    }
    return a;
}

XMLNodePtr clsAction::toXML(std::string_view name) const {
    auto node = XMLNode::Create(name);
    node->addInteger("acid", action);
    node->addString("plug", plugin);
    node->addNode(settings.getCopy());
    return node;
}

std::string clsAction::getDescription(TextSource& texts,
                                      const std::function<std::string(const std::string&)>& pluginDescription) const {
    if (isKind(ActionKind::Plugin)) {
        return pluginDescription ? pluginDescription(plugin) : std::string();
    }
    return texts.getText("Action", action);
}

std::string clsAction::getActionColorString(const ColourSource& colours) const {
    if (isKind(ActionKind::Plugin)) {
        return colours.getNamedSchemeColourText(plugin, ColourSource::windowText);
    }
    return colours.getSchemeColourText(30 + action, ColourSource::windowText);
}

} // namespace halvika
