// A plug-in's settings window, open while the program goes on.
#include "plugins/PluginSettingsEdit.h"

namespace halvika {

PluginSettingsEdit::PluginSettingsEdit(std::unique_ptr<PluginProcess::Pending> call, std::string elementName)
    : m_call(std::move(call)), m_elementName(std::move(elementName)) {}

bool PluginSettingsEdit::poll() {
    if (m_done) {
        return true;
    }
    if (m_call && !m_call->advance(0)) {
        return false;
    }
    m_done = true;
    if (!m_call) {
        return true;
    }
    const PluginProcess::Result outcome = m_call->takeResult();
    m_call.reset();
    const XMLNodePtr reply = XMLNode::createFromXML(outcome.reply);
    if (outcome.ok && reply->getNumberOfNodesWithName(m_elementName) > 0) {
        m_result = reply->getNode(m_elementName);
    }
    return true;
}

} // namespace halvika
