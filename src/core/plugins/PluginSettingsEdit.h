// A plug-in's settings window, open while the program goes on.
#pragma once

#include "platform/PluginProcess.h"
#include "xml/XMLNode.h"

#include <memory>
#include <string>

namespace halvika {

/// The user works in the plug-in's own window for as long as they like; nothing waits for it. `poll` takes
/// the reply once the plug-in has ended. Dropping the edit before then ends the plug-in's window.
class PluginSettingsEdit {
public:
    PluginSettingsEdit(std::unique_ptr<PluginProcess::Pending> call, std::string elementName);

    /// True once the plug-in has ended (at once for one that could not be started).
    bool poll();
    /// The new settings element, or nothing when the user cancelled or the plug-in failed.
    XMLNodePtr result() const { return m_result; }

private:
    std::unique_ptr<PluginProcess::Pending> m_call;
    std::string m_elementName;
    bool m_done = false;
    XMLNodePtr m_result;
};

} // namespace halvika
