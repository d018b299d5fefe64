// The plug-in host: discovery of plug-in programs, the plug-in lists, and the XML call protocol.
#pragma once

#include "groups/GroupPlugins.h"
#include "platform/PluginProcess.h"
#include "plugins/PluginSettingsEdit.h"
#include "xml/XMLNode.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace halvika {

class FileWriteQueue;
class MessageBoxRoutine;

/// Plug-ins are programs named Halvika*.plugin in a "PlugIns" folder (the home folder's first, then the
/// installed ones). A plug-in identifier is the program's base name + "*" + the plug-in's own name. Every
/// call starts the program afresh, writes the request envelope to it and reads its reply; any failure is
/// the reply "". In safe mode no program is ever started.
class PluginHost : public GroupPlugins {
public:
    enum Type { Import, Export, Action, FileImport, FileExport, Synchronization, GeneralPurpose, TypeCount };
    static constexpr std::array<const char*, TypeCount> typeNames = {
        "ImportPlugIn",     "ExportPlugIn",          "ActionPlugIn",        "FileImportPlugIn",
        "FileExportPlugIn", "SynchronizationPlugIn", "GeneralPurposePlugIn"};
    static constexpr const char* discoveryRequest = "<xml><plugin>PlugInInfo</plugin><method>GetPlugIns</method></xml>";
    static constexpr const char* startFailedMessage = "One or more plug-ins could not be started";
    static constexpr int defaultTimeoutMs = 30000;
    static constexpr std::size_t maxReplyBytes = 64u * 1024u * 1024u;

    /// `pluginFolders`: the "PlugIns" folders, the one whose programs win first.
    PluginHost(PluginProcess& process, std::vector<std::string> pluginFolders, bool safeMode);
    ~PluginHost() override;

    void setLanguageTag(const std::string& tag) { m_language = tag; }
    const std::string& languageTag() const { return m_language; }
    void setTimeoutMs(int milliseconds) { m_timeoutMs = milliseconds; }
    /// Keeps the plug-ins' descriptions in `file`, each under its program (path, size, modification time)
    /// and request, so that a start whose programs have not changed runs none of them to learn them.
    /// With a `writer`, the cache goes to it rather than to the disk from the calling thread.
    void setDescriptionCache(std::string file, FileWriteQueue* writer = nullptr) {
        m_cacheFile = std::move(file);
        m_cacheWriter = writer;
    }

    /// The request envelope.
    static std::string envelope(const std::string& pluginName, const std::string& method, const std::string& params);
    /// "<language>" + the active language tag + "</language>".
    std::string lang() const { return "<language>" + XMLNode::stringToXMLString(m_language) + "</language>"; }
    /// Calls a method; "" for an identifier without "*", a plug-in that cannot run, or any failure.
    std::string methodCall(const std::string& className, const std::string& method, const std::string& params,
                           bool addToRunningPlugins);
    /// methodCall in the background: returns at once, and `done` gets the reply once the program has answered
    /// (from `pollCalls`), so that no plug-in ever holds up an alarm.
    void methodCallLater(const std::string& className, const std::string& method, const std::string& params,
                         bool addToRunningPlugins, std::function<void(const std::string&)> done);
    /// Moves the calls in flight on without waiting, and hands over the answers that came; true while any
    /// call or answer remains.
    bool pollCalls();
    bool callsInFlight() const { return !m_inFlight.empty() || !m_held.empty(); }
    /// Asked before answers are handed over: while it says yes (an alarm is about to sound), they wait, so
    /// that applying a large one never makes the alarm late; but never longer than `maxAnswerWaitMs`.
    std::function<bool()> answersMustWait;
    static constexpr int maxAnswerWaitMs = 3000;
    /// Told when a call starts while none was in flight: the caller is to poll until none remains.
    std::function<void()> callsStarted;
    /// methodCall with the language element only; the text of the reply's child `resultName`.
    std::string commonMethodCall(const std::string& className, const std::string& method,
                                 const std::string& resultName);
    /// True while a call is in progress: the tick does no work then.
    bool busy() const { return m_busy; }

    /// loadPluginsLater, waited for (halvika-cli and tests).
    void loadPlugins();
    /// Waits until every call in flight has answered or run out of time.
    void waitForCalls();
    /// The same in the background, every program at once: the lists fill when the answers come, and
    /// `loaded` is called then. Nothing waits meanwhile; until then the lists are as they were.
    void loadPluginsLater(std::function<void()> loaded);
    /// The descriptions (and menu captions) in the background, for a language chosen anew.
    void loadDescriptionsLater(std::function<void()> loaded);
    /// The menu caption a plug-in gave ("GetImpMenuCaption", "GetExpMenuCaption" or "GetGPPMenuCaption"),
    /// learnt with the descriptions; "" when it gave none.
    std::string menuCaption(const std::string& identifier) const;
    /// The plug-in's "GetName", learnt with the descriptions; its identifier when it gave none.
    std::string pluginName(const std::string& identifier) const;
    /// A synchronisation plug-in's long description ("GetSynchInfo"/"description").
    std::string longDescription(const std::string& identifier) const;
    /// Whether an action or synchronisation plug-in named a settings control, i.e. has settings to edit.
    bool hasSettingsControl(const std::string& identifier) const;
    /// Whether the plug-in shows a window of its own for "ShowAbout", "ShowHelp" or "ShowSettings" (`which`
    /// is "About", "Help" or "Settings"): what its "GetName" reply listed in "shows"; every one when it
    /// listed nothing.
    bool showsWindow(const std::string& identifier, std::string_view which) const;
    const std::vector<std::string>& plugins(Type type) const { return m_lists[type]; }
    const std::vector<std::string>& actionDescriptions() const { return m_actionDescriptions; }
    /// An action plug-in's "GetActionInfo" reply, learnt with the descriptions; until then, its name as the
    /// short description.
    XMLNodePtr actionInfo(const std::string& identifier);

    /// setActivePlugins in the background: the one message comes when every plug-in has answered.
    void setActivePluginsLater(const XMLNode& acpl, MessageBoxRoutine& messages);
    /// "acpl" with one "plin" per general-purpose plug-in that says it is active, asking them for at most
    /// `budgetMs` in all (a plug-in not asked in time counts as not active).
    XMLNodePtr getActivePlugins(int budgetMs = 24 * 3600 * 1000);
    /// Runs every plug-in of an "acpl" element; one message when any fails.
    void setActivePlugins(const XMLNode& acpl, MessageBoxRoutine& messages);
    /// Asks each running plug-in, last first, whether it is still active, in the background (the watch asks at
    /// every rescheduling, and a hanging plug-in must not hold it up); one that answers no, or not in time, is
    /// dropped when its answer comes. A plug-in still to answer is not asked again.
    void checkRunningPlugins();
    /// Ends every running plug-in, the most recently started first.
    void releaseRunningPlugins();
    std::vector<std::string> runningPlugins() const;

    /// Lets the plug-in edit its settings in a window of its own: the program runs with "--settings", reads the
    /// settings element and writes the new one, which the edit gives once it has ended. `elementName` is
    /// "sett" for actions and "syst" for synchronisation. Returns at once; the program goes on ticking.
    std::unique_ptr<PluginSettingsEdit> startEditSettings(const std::string& identifier, const XMLNode& settings,
                                                          const std::string& elementName);
    /// Registers (makes runnable) or unregisters the plug-in programs of the folders that allow it.
    /// Returns how many programs were changed.
    int setRegistered(bool registered);

    /// The import or export file-dialog filter with each file plug-in's formats appended (the "#1" rule); a
    /// plug-in whose formats are not learnt yet offers none.
    std::string buildFileFilter(const std::string& filter, bool import);

    // GroupPlugins
    std::vector<FileFormat> importFormats() override { return fileFormats(true); }
    std::vector<FileFormat> exportFormats() override { return fileFormats(false); }
    std::string call(const std::string& plugin, const std::string& method, const std::string& parameters) override;
    void callLater(const std::string& plugin, const std::string& method, const std::string& parameters,
                   std::function<void(const std::string&)> done) override {
        methodCallLater(plugin, method, parameters, false, std::move(done));
    }
    std::string languageElement() const override { return lang(); }
    std::string syncDescription(const std::string& plugin) const override;

private:
    struct RunningPlugin {
        std::string identifier;
        std::unique_ptr<PluginProcess::Running> process;
        /// Tells an answer's plug-in from one started later in its place.
        std::uint64_t serial = 0;
        bool statusAsked = false;
    };
    struct CallInFlight {
        std::string identifier;
        bool addToRunningPlugins = false;
        std::unique_ptr<PluginProcess::Pending> call;
        std::function<void(const std::string&)> done;
    };
    /// A description call (discovery, names, captions, formats): answered from the cache when its program
    /// is unchanged, otherwise run in the background and its answer kept.
    void describeLater(const std::string& identifier, const std::string& program, const std::string& request,
                       std::function<void(const std::string&)> done);
    /// Calls a plug-in's description method through describeLater.
    void describeLater(const std::string& identifier, const char* method, std::function<void(const std::string&)> done);
    void readDescriptionCache();
    void writeDescriptionCache();
    /// Adds the plug-ins a program's discovery reply names to the lists.
    void addDiscovered(const std::string& base, const std::string& reply);
    /// Starts a program call in the background; `done` gets the reply ("" on any failure).
    void startCall(const std::string& identifier, const std::string& program, const std::string& request,
                   bool addToRunningPlugins, std::function<void(const std::string&)> done);
    /// The reply of a finished call; a program that went on joins the running or the detached ones.
    std::string takeReply(const std::string& identifier, PluginProcess::Result result, bool addToRunningPlugins);
    /// The program of a base name, or "" when there is none (or in safe mode).
    std::string programFor(const std::string& base) const;
    PluginProcess::Result runProgram(const std::string& program, const std::string& request);
    /// The file plug-ins whose formats are known, with their extensions; the others are never asked here.
    std::vector<FileFormat> fileFormats(bool import);
    /// The file plug-ins of the list whose formats are known, each with its parsed answer, in list order.
    std::vector<std::pair<std::string, XMLNodePtr>> knownFormats(bool import) const;

    PluginProcess& m_process;
    std::vector<std::string> m_folders;
    bool m_safeMode;
    std::string m_language = "en-us";
    int m_timeoutMs = defaultTimeoutMs;
    bool m_busy = false;
    std::array<std::vector<std::string>, TypeCount> m_lists;
    std::vector<std::string> m_actionDescriptions;
    std::vector<std::string> m_syncDescriptions;
    std::map<std::string, std::string> m_captions;
    std::map<std::string, std::string> m_names;
    std::map<std::string, std::string> m_longDescriptions;
    std::map<std::string, std::string> m_settingsControls;
    std::map<std::string, std::string> m_shows;
    std::map<std::string, std::string> m_actionInfos;
    /// Each file plug-in's answer about its formats.
    std::map<std::string, std::string> m_formatReplies;
    int m_descriptionGeneration = 0;
    std::string m_cacheFile;
    FileWriteQueue* m_cacheWriter = nullptr;
    bool m_cacheRead = false;
    bool m_cacheChanged = false;
    /// Keyed by the program's path, size and modification time, then the request.
    std::map<std::string, std::string> m_cache;
    /// Each program's path, size and modification time, looked at once per round of descriptions.
    std::map<std::string, std::string> m_stamps;
    std::vector<RunningPlugin> m_running;
    std::uint64_t m_runningSerial = 0;
    std::vector<CallInFlight> m_inFlight;
    struct HeldAnswer {
        std::function<void(const std::string&)> done;
        std::string reply;
        std::chrono::steady_clock::time_point since;
    };
    std::vector<HeldAnswer> m_held;
    /// Programs that went on after a call that did not ask to keep them; ended at exit like the others.
    std::vector<std::unique_ptr<PluginProcess::Running>> m_detached;
};

} // namespace halvika
