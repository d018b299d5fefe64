// The plug-in host: discovery of plug-in programs, the plug-in lists, and the XML call protocol.
#include "plugins/PluginHost.h"

#include "base/MessageBoxRoutine.h"
#include "text/FileWriteQueue.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <unistd.h>
#include <utility>

namespace halvika {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSuffix = ".plugin";

/// The base name of a plug-in program's file ("HalvikaICal" for "HalvikaICal.plugin"), or "" for another file.
std::string pluginBase(const std::string& fileName) {
    const bool named = fileName.rfind("Halvika", 0) == 0 && fileName.size() > kSuffix.size() &&
                       fileName.compare(fileName.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0;
    return named ? fileName.substr(0, fileName.size() - kSuffix.size()) : "";
}

bool hasChild(const std::string& reply, std::string_view childName) {
    return XMLNode::createFromXML(reply)->getNumberOfNodesWithName(childName) > 0;
}

/// What identifies a program's build: a changed program answers anew. "" when it cannot be looked at.
std::string programStamp(const std::string& program) {
    std::error_code error;
    const auto size = fs::file_size(program, error);
    if (error) {
        return "";
    }
    const auto modified = fs::last_write_time(program, error);
    if (error) {
        return "";
    }
    return program + "\t" + std::to_string(size) + "\t" + std::to_string(modified.time_since_epoch().count());
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
    return takeReply(className, runProgram(program, envelope(className.substr(star + 1), method, params)),
                     addToRunningPlugins);
}

std::string PluginHost::takeReply(const std::string& identifier, PluginProcess::Result result,
                                  bool addToRunningPlugins) {
    if (!result.ok) {
        return "";
    }
    // Only a program that went on after its reply is running; one that has ended is not polled again.
    if (addToRunningPlugins && result.running) {
        m_running.push_back({identifier, std::move(result.running), ++m_runningSerial});
    } else if (result.running) {
        m_detached.push_back(std::move(result.running));
    }
    return result.reply;
}

void PluginHost::methodCallLater(const std::string& className, const std::string& method, const std::string& params,
                                 bool addToRunningPlugins, std::function<void(const std::string&)> done) {
    const std::size_t star = className.find('*');
    const std::string program = star == std::string::npos ? "" : programFor(className.substr(0, star));
    if (program.empty()) {
        done("");
        return;
    }
    startCall(className, program, envelope(className.substr(star + 1), method, params), addToRunningPlugins,
              std::move(done));
}

void PluginHost::startCall(const std::string& identifier, const std::string& program, const std::string& request,
                           bool addToRunningPlugins, std::function<void(const std::string&)> done) {
    const bool first = !callsInFlight();
    m_inFlight.push_back({identifier, addToRunningPlugins,
                          m_process.start(program, request, m_timeoutMs, maxReplyBytes), std::move(done)});
    if (first && callsStarted) {
        callsStarted();
    }
}

void PluginHost::loadPluginsLater(std::function<void()> loaded) {
    m_stamps.clear(); // each round looks at the programs once
    std::set<std::string> bases;
    if (!m_safeMode) {
        for (const auto& folder : m_folders) {
            std::error_code error;
            for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
                const std::string base = pluginBase(it->path().filename().string());
                if (!base.empty() && !programFor(base).empty()) {
                    bases.insert(base);
                }
            }
        }
    }
    // Every program is asked at once; the lists are put together in name order once all have answered.
    struct Discovery {
        std::vector<std::string> bases;
        std::vector<std::string> replies;
        std::size_t waiting = 0;
        std::function<void()> loaded;
    };
    auto discovery = std::make_shared<Discovery>();
    discovery->bases.assign(bases.begin(), bases.end());
    discovery->replies.resize(bases.size());
    discovery->waiting = bases.size();
    discovery->loaded = std::move(loaded);
    auto assemble = [this, discovery] {
        for (auto& list : m_lists) {
            list.clear();
        }
        m_formatReplies.clear();
        for (std::size_t b = 0; b < discovery->bases.size(); ++b) {
            addDiscovered(discovery->bases[b], discovery->replies[b]);
        }
        loadDescriptionsLater(std::move(discovery->loaded));
    };
    if (bases.empty()) {
        assemble();
        return;
    }
    for (std::size_t b = 0; b < discovery->bases.size(); ++b) {
        describeLater(discovery->bases[b], programFor(discovery->bases[b]), discoveryRequest,
                      [discovery, b, assemble](const std::string& reply) {
                          discovery->replies[b] = reply;
                          if (--discovery->waiting == 0) {
                              assemble();
                          }
                      });
    }
}

void PluginHost::loadDescriptionsLater(std::function<void()> loaded) {
    struct Descriptions {
        std::vector<std::string> actions;
        std::vector<std::string> syncs;
        std::map<std::string, std::string> captions;
        std::map<std::string, std::string> names;
        std::map<std::string, std::string> longDescriptions;
        std::map<std::string, std::string> settingsControls;
        std::map<std::string, std::string> shows;
        std::map<std::string, std::string> actionInfos;
        std::size_t waiting = 1; // this function's own share, so that nothing finishes before all are asked
        std::function<void()> loaded;
    };
    // A newer load (the lists found again, a language chosen anew) makes this one's answers stale.
    const int generation = ++m_descriptionGeneration;
    m_stamps.clear();
    auto d = std::make_shared<Descriptions>();
    d->actions.resize(m_lists[Action].size());
    d->syncs.resize(m_lists[Synchronization].size());
    d->loaded = std::move(loaded);
    auto finishOne = [this, d, generation] {
        if (--d->waiting > 0 || generation != m_descriptionGeneration) {
            return;
        }
        m_actionDescriptions = d->actions;
        m_syncDescriptions = d->syncs;
        m_captions = d->captions;
        m_names = d->names;
        m_longDescriptions = d->longDescriptions;
        m_settingsControls = d->settingsControls;
        m_shows = d->shows;
        m_actionInfos = d->actionInfos;
        if (m_cacheChanged) {
            writeDescriptionCache();
        }
        if (d->loaded) {
            d->loaded();
        }
    };
    auto ask = [this, d, finishOne](const std::string& id, const char* method,
                                    std::function<void(const XMLNode&)> store) {
        ++d->waiting;
        describeLater(id, method, [finishOne, store](const std::string& reply) {
            store(*XMLNode::createFromXML(reply));
            finishOne();
        });
    };
    std::set<std::string> everyPlugin;
    for (const auto& list : m_lists) {
        everyPlugin.insert(list.begin(), list.end());
    }
    for (const auto& id : everyPlugin) {
        ask(id, "GetName", [d, id](const XMLNode& r) {
            d->names[id] = r.getString("name", 0, "");
            if (r.getNodeIndex("shows") >= 0) {
                d->shows[id] = " " + r.getString("shows", 0, "") + " ";
            }
        });
    }
    for (std::size_t i = 0; i < m_lists[Action].size(); ++i) {
        const std::string& id = m_lists[Action][i];
        ask(id, "GetActionInfo", [d, i, id](const XMLNode& r) {
            d->actions[i] = r.getString("shortdescription", 0, "");
            d->actionInfos[id] = r.toString();
        });
        ask(id, "GetSettingsControlName",
            [d, id](const XMLNode& r) { d->settingsControls[id] = r.getString("name", 0, ""); });
    }
    for (std::size_t i = 0; i < m_lists[Synchronization].size(); ++i) {
        const std::string& id = m_lists[Synchronization][i];
        ask(id, "GetSynchInfo", [d, i, id](const XMLNode& r) {
            d->syncs[i] = r.getString("shortdescription", 0, "");
            d->longDescriptions[id] = r.getString("description", 0, "");
        });
        ask(id, "GetSynchSettingsControlName",
            [d, id](const XMLNode& r) { d->settingsControls[id] = r.getString("name", 0, ""); });
    }
    const std::pair<Type, const char*> captionMethods[] = {
        {Import, "GetImpMenuCaption"}, {Export, "GetExpMenuCaption"}, {GeneralPurpose, "GetGPPMenuCaption"}};
    for (const auto& [type, method] : captionMethods) {
        for (const auto& id : m_lists[type]) {
            ask(id, method, [d, id](const XMLNode& r) { d->captions[id] = r.getString("menucaption", 0, ""); });
        }
    }
    for (const Type type : {FileImport, FileExport}) {
        for (const auto& id : m_lists[type]) {
            ++d->waiting;
            describeLater(id, type == FileImport ? "GetImpFileFormats" : "GetExpFileFormats",
                          [this, id, finishOne, generation](const std::string& reply) {
                              if (generation == m_descriptionGeneration) {
                                  m_formatReplies[id] = reply;
                              }
                              finishOne();
                          });
        }
    }
    finishOne();
}

void PluginHost::describeLater(const std::string& identifier, const char* method,
                               std::function<void(const std::string&)> done) {
    const std::size_t star = identifier.find('*');
    const std::string program = star == std::string::npos ? "" : programFor(identifier.substr(0, star));
    describeLater(identifier, program, envelope(identifier.substr(star + 1), method, lang()), std::move(done));
}

void PluginHost::describeLater(const std::string& identifier, const std::string& program, const std::string& request,
                               std::function<void(const std::string&)> done) {
    if (program.empty()) {
        done("");
        return;
    }
    if (!m_cacheFile.empty() && m_stamps.find(program) == m_stamps.end()) {
        m_stamps[program] = programStamp(program);
    }
    const std::string stamp = m_cacheFile.empty() ? "" : m_stamps[program];
    if (stamp.empty()) {
        startCall(identifier, program, request, false, std::move(done));
        return;
    }
    readDescriptionCache();
    const std::string key = stamp + "\n" + request;
    if (const auto known = m_cache.find(key); known != m_cache.end()) {
        done(known->second);
        return;
    }
    startCall(identifier, program, request, false, [this, key, done](const std::string& reply) {
        // A failed call is asked again next time rather than remembered as "nothing".
        if (!reply.empty()) {
            m_cache[key] = reply;
            m_cacheChanged = true;
        }
        done(reply);
    });
}

void PluginHost::readDescriptionCache() {
    if (m_cacheRead) {
        return;
    }
    m_cacheRead = true;
    // Only a cache: a file that cannot be read is as good as none, and is written anew.
    const auto text = TextFile::readText(m_cacheFile);
    if (!text) {
        return;
    }
    const XMLNodePtr root = XMLNode::createFromXML(*text);
    for (int i = 0; i < root->getNumberOfNodesWithName("entry"); ++i) {
        const XMLNodePtr entry = root->getNode("entry", i);
        m_cache[entry->getString("key", 0, "")] = entry->getString("reply", 0, "");
    }
}

void PluginHost::writeDescriptionCache() {
    auto root = XMLNode::Create("plugincache");
    // Answers of programs that have changed or gone since are dropped.
    std::erase_if(m_cache, [](const auto& entry) {
        const std::string stamp = entry.first.substr(0, entry.first.find('\n'));
        return programStamp(stamp.substr(0, stamp.find('\t'))) != stamp;
    });
    for (const auto& [key, reply] : m_cache) {
        auto entry = XMLNode::Create("entry");
        entry->addString("key", key);
        entry->addString("reply", reply);
        root->addNode(entry);
    }
    // Only a cache: without it a start asks the programs again. A failed write is tried again next time.
    if (m_cacheWriter == nullptr) {
        m_cacheChanged = root->toXMLFile(m_cacheFile).failed();
        return;
    }
    m_cacheChanged = false;
    m_cacheWriter->write(m_cacheFile, root->toString(),
                         [this](bool ok, const std::string&) { m_cacheChanged = m_cacheChanged || !ok; });
}

XMLNodePtr PluginHost::actionInfo(const std::string& identifier) {
    // Learnt in the background with the descriptions. Until then (or when the plug-in never answered) the
    // action is shown by its plug-in's name rather than asked for here, which would hold up the alarms.
    const auto known = m_actionInfos.find(identifier);
    return XMLNode::createFromXML(known != m_actionInfos.end()
                                      ? known->second
                                      : "<reply><shortdescription>" +
                                            XMLNode::stringToXMLString(pluginName(identifier)) +
                                            "</shortdescription></reply>");
}

std::string PluginHost::pluginName(const std::string& identifier) const {
    const auto it = m_names.find(identifier);
    return it == m_names.end() || it->second.empty() ? identifier : it->second;
}

std::string PluginHost::longDescription(const std::string& identifier) const {
    const auto it = m_longDescriptions.find(identifier);
    return it == m_longDescriptions.end() ? "" : it->second;
}

bool PluginHost::hasSettingsControl(const std::string& identifier) const {
    const auto it = m_settingsControls.find(identifier);
    return it != m_settingsControls.end() && !it->second.empty();
}

bool PluginHost::showsWindow(const std::string& identifier, std::string_view which) const {
    const auto it = m_shows.find(identifier);
    return it == m_shows.end() || it->second.find(" " + std::string(which) + " ") != std::string::npos;
}

std::string PluginHost::menuCaption(const std::string& identifier) const {
    const auto it = m_captions.find(identifier);
    return it == m_captions.end() ? "" : it->second;
}

void PluginHost::setActivePluginsLater(const XMLNode& acpl, MessageBoxRoutine& messages) {
    struct Outcome {
        std::size_t waiting = 1;
        bool failed = false;
    };
    auto outcome = std::make_shared<Outcome>();
    auto finishOne = [outcome, &messages] {
        // Told without waiting: an open box would hold up the alarms until someone answered it.
        if (--outcome->waiting == 0 && outcome->failed) {
            messages.notice(startFailedMessage, Dialogs::styleExclamation);
        }
    };
    for (int i = 0; i < acpl.getNumberOfNodesWithName("plin"); ++i) {
        ++outcome->waiting;
        methodCallLater(acpl.getString("plin", i), "Run", lang(), false,
                        [outcome, finishOne](const std::string& reply) {
                            outcome->failed = outcome->failed || !hasChild(reply, "success");
                            finishOne();
                        });
    }
    finishOne();
}

bool PluginHost::pollCalls() {
    // Finished calls are taken out first: a reply's handler may start calls of its own.
    std::vector<CallInFlight> finished;
    for (std::size_t i = 0; i < m_inFlight.size();) {
        if (m_inFlight[i].call->advance(0)) {
            finished.push_back(std::move(m_inFlight[i]));
            m_inFlight.erase(m_inFlight.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    const auto now = std::chrono::steady_clock::now();
    for (auto& call : finished) {
        std::string reply = takeReply(call.identifier, call.call->takeResult(), call.addToRunningPlugins);
        if (call.done) {
            m_held.push_back({std::move(call.done), std::move(reply), now});
        }
    }
    const bool mustWait = !m_held.empty() && answersMustWait && answersMustWait();
    std::vector<HeldAnswer> ready;
    for (std::size_t i = 0; i < m_held.size();) {
        if (!mustWait || now - m_held[i].since >= std::chrono::milliseconds(maxAnswerWaitMs)) {
            ready.push_back(std::move(m_held[i]));
            m_held.erase(m_held.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    // Taken out first: an answer's handler may start calls of its own.
    for (auto& answer : ready) {
        answer.done(answer.reply);
    }
    return callsInFlight();
}

std::string PluginHost::commonMethodCall(const std::string& className, const std::string& method,
                                         const std::string& resultName) {
    return XMLNode::createFromXML(methodCall(className, method, lang(), false))->getString(resultName, 0, "");
}

void PluginHost::loadPlugins() {
    loadPluginsLater({});
    waitForCalls();
}

void PluginHost::addDiscovered(const std::string& base, const std::string& reply) {
    const XMLNodePtr list = XMLNode::createFromXML(reply)->getNode("plugins");
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

void PluginHost::waitForCalls() {
    // Whoever waits wants the answers now.
    const auto gate = std::exchange(answersMustWait, nullptr);
    while (pollCalls()) {
        m_inFlight.front().call->advance(5);
    }
    answersMustWait = gate;
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
    std::erase_if(m_running, [](const RunningPlugin& plugin) { return !plugin.process->isAlive(); });
    for (std::size_t i = m_running.size(); i-- > 0;) {
        RunningPlugin& plugin = m_running[i];
        if (plugin.statusAsked) {
            continue;
        }
        plugin.statusAsked = true;
        methodCallLater(
            plugin.identifier, "GetStatus", lang(), false, [this, serial = plugin.serial](const std::string& answer) {
                const auto asked = std::find_if(m_running.begin(), m_running.end(),
                                                [serial](const RunningPlugin& p) { return p.serial == serial; });
                if (asked == m_running.end()) {
                    return; // ended or released meanwhile
                }
                asked->statusAsked = false;
                const XMLNodePtr reply = XMLNode::createFromXML(answer);
                if (!NumberText::parseBoolean(reply->getString("active", 0, "")).value_or(false)) {
                    m_running.erase(asked);
                }
            });
    }
    std::erase_if(m_detached, [](const auto& process) { return !process->isAlive(); });
}

void PluginHost::releaseRunningPlugins() {
    m_inFlight.clear(); // their programs end with them; nobody is left to hear their replies
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
            if (pluginBase(it->path().filename().string()).empty()) {
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
    for (const auto& [id, reply] : knownFormats(import)) {
        result += "|" + reply->getString("filters", 0, "");
        replaceAll(result, "#1", ";" + reply->getString("extensions", 0, "") + "#1");
    }
    replaceAll(result, "#1", "");
    return result;
}

std::vector<GroupPlugins::FileFormat> PluginHost::fileFormats(bool import) {
    std::vector<FileFormat> formats;
    for (const auto& [id, reply] : knownFormats(import)) {
        formats.push_back({id, reply->getString("extensions", 0, "")});
    }
    return formats;
}

std::vector<std::pair<std::string, XMLNodePtr>> PluginHost::knownFormats(bool import) const {
    // Learnt in the background with the descriptions. A plug-in not heard from yet offers nothing for now
    // rather than being asked here, which would hold up the alarms.
    std::vector<std::pair<std::string, XMLNodePtr>> known;
    for (const auto& id : m_lists[import ? FileImport : FileExport]) {
        if (const auto reply = m_formatReplies.find(id); reply != m_formatReplies.end()) {
            known.emplace_back(id, XMLNode::createFromXML(reply->second));
        }
    }
    return known;
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
