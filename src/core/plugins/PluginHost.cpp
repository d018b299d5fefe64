// The plug-in host: discovery of plug-in programs, the plug-in lists, and the XML call protocol.
#include "plugins/PluginHost.h"

#include "app/MessageBoxRoutine.h"
#include "text/NumberText.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace halvika {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSuffix = ".plugin";

bool hasChild(const std::string& reply, std::string_view childName) {
    return XMLNode::createFromXML(reply)->getNumberOfNodesWithName(childName) > 0;
}

void replaceAll(std::string& text, const std::string& mark, const std::string& replacement) {
    for (std::size_t pos = text.find(mark); pos != std::string::npos; pos = text.find(mark, pos + replacement.size())) {
        text.replace(pos, mark.size(), replacement);
    }
}

} // namespace

PluginHost::PluginHost(PluginProcess& process, std::vector<std::string> pluginFolders, bool safeMode)
    : m_process(process), m_folders(std::move(pluginFolders)), m_safeMode(safeMode) {}

PluginHost::~PluginHost() {
    releaseRunningPlugins();
}

std::string PluginHost::envelope(const std::string& pluginName, const std::string& method, const std::string& params) {
    // The names are escaped like every other text; the parameters come as XML already.
    return "<xml><plugin>" + XMLNode::stringToXMLString(pluginName) + "</plugin><method>" +
           XMLNode::stringToXMLString(method) + "</method><params>" + params + "</params></xml>";
}

std::string PluginHost::programFor(const std::string& base) const {
    if (m_safeMode || base.empty() || base.find('/') != std::string::npos) {
        return "";
    }
    for (const auto& folder : m_folders) {
        const std::string program = folder + "/" + base + std::string(kSuffix);
        if (::access(program.c_str(), X_OK) == 0) {
            return program;
        }
    }
    return "";
}

PluginProcess::Result PluginHost::runProgram(const std::string& program, const std::string& request) {
    m_busy = true;
    PluginProcess::Result result = m_process.call(program, request, m_timeoutMs, maxReplyBytes);
    m_busy = false;
    return result;
}

std::string PluginHost::methodCall(const std::string& className, const std::string& method, const std::string& params,
                                   bool addToRunningPlugins) {
    const std::size_t star = className.find('*');
    if (star == std::string::npos) {
        return "";
    }
    const std::string program = programFor(className.substr(0, star));
    if (program.empty()) {
        return "";
    }
    PluginProcess::Result result = runProgram(program, envelope(className.substr(star + 1), method, params));
    if (!result.ok) {
        return "";
    }
    // Only a program that went on after its reply is running; one that has ended is not polled again.
    if (addToRunningPlugins && result.running) {
        m_running.push_back({className, std::move(result.running)});
    } else if (result.running) {
        m_detached.push_back(std::move(result.running));
    }
    return result.reply;
}

std::string PluginHost::commonMethodCall(const std::string& className, const std::string& method,
                                         const std::string& resultName) {
    return XMLNode::createFromXML(methodCall(className, method, lang(), false))->getString(resultName, 0, "");
}

void PluginHost::loadPlugins() {
    scanPlugIns();
    loadDescriptions();
}

void PluginHost::scanPlugIns() {
    for (auto& list : m_lists) {
        list.clear();
    }
    m_importExtensions.clear();
    m_exportExtensions.clear();
    if (m_safeMode) {
        return;
    }
    std::set<std::string> bases;
    for (const auto& folder : m_folders) {
        std::vector<std::string> found;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.rfind("Halvika", 0) == 0 && name.size() > kSuffix.size() &&
                name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
                found.push_back(name.substr(0, name.size() - kSuffix.size()));
            }
        }
        std::sort(found.begin(), found.end());
        for (const auto& base : found) {
            bases.insert(base);
        }
    }
    for (const auto& base : bases) {
        const std::string program = programFor(base);
        if (program.empty()) {
            continue;
        }
        const PluginProcess::Result result = runProgram(program, discoveryRequest);
        if (!result.ok) {
            continue;
        }
        const XMLNodePtr list = XMLNode::createFromXML(result.reply)->getNode("plugins");
        for (int i = 0; i < list->getNumberOfNodesWithName("plugin"); ++i) {
            const XMLNodePtr plugin = list->getNode("plugin", i);
            const std::string type = plugin->getString("type");
            const std::string identifier = base + "*" + plugin->getString("name");
            for (int t = 0; t < TypeCount; ++t) {
                auto& target = m_lists[static_cast<std::size_t>(t)];
                if (type == typeNames[static_cast<std::size_t>(t)] &&
                    std::find(target.begin(), target.end(), identifier) == target.end()) {
                    target.push_back(identifier);
                }
            }
        }
    }
}

void PluginHost::loadDescriptions() {
    m_actionDescriptions.clear();
    for (const auto& id : m_lists[Action]) {
        m_actionDescriptions.push_back(commonMethodCall(id, "GetActionInfo", "shortdescription"));
    }
    m_syncDescriptions.clear();
    for (const auto& id : m_lists[Synchronization]) {
        m_syncDescriptions.push_back(commonMethodCall(id, "GetSynchInfo", "shortdescription"));
    }
}

XMLNodePtr PluginHost::getActivePlugins(int budgetMs) {
    auto acpl = XMLNode::Create("acpl");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(budgetMs);
    const int usualTimeout = m_timeoutMs;
    for (const auto& id : m_lists[GeneralPurpose]) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) {
            break;
        }
        m_timeoutMs = static_cast<int>(std::min<long long>(usualTimeout, left));
        if (NumberText::parseBoolean(commonMethodCall(id, "GetStatus", "active")).value_or(false)) {
            acpl->addString("plin", id);
        }
    }
    m_timeoutMs = usualTimeout;
    return acpl;
}

void PluginHost::setActivePlugins(const XMLNode& acpl, MessageBoxRoutine& messages) {
    bool failed = false;
    for (int i = 0; i < acpl.getNumberOfNodesWithName("plin"); ++i) {
        if (!hasChild(methodCall(acpl.getString("plin", i), "Run", lang(), false), "success")) {
            failed = true;
        }
    }
    if (failed) {
        messages.msgBox(startFailedMessage, Dialogs::styleExclamation);
    }
}

void PluginHost::checkRunningPlugins() {
    for (std::size_t i = m_running.size(); i-- > 0;) {
        if (!m_running[i].process->isAlive()) {
            m_running.erase(m_running.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        const XMLNodePtr reply =
            XMLNode::createFromXML(methodCall(m_running[i].identifier, "GetStatus", lang(), false));
        if (!NumberText::parseBoolean(reply->getString("active", 0, "")).value_or(false)) {
            m_running.erase(m_running.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    std::erase_if(m_detached, [](const auto& process) { return !process->isAlive(); });
}

void PluginHost::releaseRunningPlugins() {
    while (!m_running.empty()) {
        m_running.pop_back();
    }
    while (!m_detached.empty()) {
        m_detached.pop_back();
    }
}

std::vector<std::string> PluginHost::runningPlugins() const {
    std::vector<std::string> ids;
    for (const auto& r : m_running) {
        ids.push_back(r.identifier);
    }
    return ids;
}

std::unique_ptr<PluginSettingsEdit>
PluginHost::startEditSettings(const std::string& identifier, const XMLNode& settings, const std::string& elementName) {
    const std::size_t star = identifier.find('*');
    const std::string program = star == std::string::npos ? "" : programFor(identifier.substr(0, star));
    if (program.empty()) {
        return std::make_unique<PluginSettingsEdit>(nullptr, elementName);
    }
    // The user works in the plug-in's window: no time limit that a person could run into.
    return std::make_unique<PluginSettingsEdit>(
        m_process.start(program, envelope(identifier.substr(star + 1), "EditSettings", lang() + settings.toString()),
                        24 * 3600 * 1000, maxReplyBytes, {"--settings"}),
        elementName);
}

int PluginHost::setRegistered(bool registered) {
    int changed = 0;
    for (const auto& folder : m_folders) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.rfind("Halvika", 0) != 0 || name.size() <= kSuffix.size() ||
                name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
                continue;
            }
            const auto bits = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
            std::error_code denied;
            fs::permissions(it->path(), bits, registered ? fs::perm_options::add : fs::perm_options::remove, denied);
            changed += denied ? 0 : 1;
        }
    }
    return changed;
}

std::string PluginHost::buildFileFilter(const std::string& filter, bool import) {
    std::string result = filter;
    auto& extensions = import ? m_importExtensions : m_exportExtensions;
    extensions.clear();
    for (const auto& id : m_lists[import ? FileImport : FileExport]) {
        const XMLNodePtr reply =
            XMLNode::createFromXML(methodCall(id, import ? "GetImpFileFormats" : "GetExpFileFormats", lang(), false));
        result += "|" + reply->getString("filters", 0, "");
        const std::string ext = reply->getString("extensions", 0, "");
        extensions.push_back(ext);
        replaceAll(result, "#1", ";" + ext + "#1");
    }
    replaceAll(result, "#1", "");
    return result;
}

std::vector<GroupPlugins::FileFormat> PluginHost::fileFormats(bool import) {
    const auto& ids = m_lists[import ? FileImport : FileExport];
    const auto& extensions = import ? m_importExtensions : m_exportExtensions;
    if (extensions.size() != ids.size()) {
        buildFileFilter("", import);
    }
    std::vector<FileFormat> formats;
    for (std::size_t i = 0; i < ids.size() && i < extensions.size(); ++i) {
        formats.push_back({ids[i], extensions[i]});
    }
    return formats;
}

std::string PluginHost::call(const std::string& plugin, const std::string& method, const std::string& parameters) {
    return methodCall(plugin, method, parameters, false);
}

std::string PluginHost::syncDescription(const std::string& plugin) const {
    const auto& ids = m_lists[Synchronization];
    const auto it = std::find(ids.begin(), ids.end(), plugin);
    const auto index = static_cast<std::size_t>(it - ids.begin());
    return it == ids.end() || index >= m_syncDescriptions.size() ? "" : m_syncDescriptions[index];
}

} // namespace halvika
