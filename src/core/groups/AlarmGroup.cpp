// A named set of alarms, switched on or off as a whole, kept in a file of its own.
#include "groups/AlarmGroup.h"

#include "base/MessageBoxRoutine.h"
#include "groups/GroupPlugins.h"
#include "groups/GroupServices.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/AsciiText.h"
#include "text/FileWriteQueue.h"
#include "text/TextFile.h"

#include <algorithm>

namespace halvika {

namespace {

/// What a file plug-in could not carry over, as it wrote it in the reply's "error"; never dropped silently.
void showPluginNotes(const XMLNode& answer, GroupServices& services) {
    const std::string notes = answer.getString("error");
    if (!notes.empty()) {
        services.messages.msgBox(notes, Dialogs::styleInformation);
    }
}

// The extension from the last "." on, "." included; "" when there is none.
std::string extensionOf(const std::string& filePath) {
    const std::size_t dot = filePath.rfind('.');
    return dot == std::string::npos ? std::string() : filePath.substr(dot);
}

/// A path a plug-in request cannot carry exactly: XML has no form for control characters.
bool unsendable(const std::string& path) {
    return AsciiText::hasControlCharacter(path, false);
}

/// A plug-in's sentences, one per line, as one row of a list.
std::string oneLine(const std::string& lines) {
    std::string out;
    for (std::size_t at = 0; at < lines.size();) {
        const std::size_t end = std::min(lines.find('\n', at), lines.size());
        const std::string_view line = AsciiText::trimmed(std::string_view(lines).substr(at, end - at));
        out += line.empty() ? "" : (out.empty() ? "" : " ") + std::string(line);
        at = end + 1;
    }
    return out;
}

bool hasChildren(const XMLNode& parent, std::string_view childName) {
    const int position = parent.getNodeIndex(childName, 0);
    return position >= 0 && parent.getNodeAt(position)->getNumberOfNodes() > 0;
}

} // namespace

std::shared_ptr<AlarmGroup> AlarmGroup::createDefaultAlarmGroup(GroupServices& services) {
    auto g = std::make_shared<AlarmGroup>();
    g->initialize();
    g->name = services.texts.getText("AlarmGroup", textDefaultName);
    g->Active = true;
    g->changedSinceImport = true;
    g->Color = 0;
    return g;
}

std::shared_ptr<AlarmGroup> AlarmGroup::createFromXML(std::string_view xml, GroupServices& services) {
    return createFromNode(*XMLNode::createFromXML(xml), services);
}

std::shared_ptr<AlarmGroup> AlarmGroup::unreadable(const std::string& filePath, const std::string& problem) {
    auto g = std::make_shared<AlarmGroup>();
    g->initialize();
    const std::size_t slash = filePath.find_last_of('/');
    g->name = slash == std::string::npos ? filePath : filePath.substr(slash + 1);
    g->Active = false;
    g->loadProblem = problem;
    return g;
}

std::shared_ptr<AlarmGroup> AlarmGroup::createFromNode(const XMLNode& rootNode, GroupServices& services) {
    auto g = std::make_shared<AlarmGroup>();
    g->initialize();
    const XMLNode* root = &rootNode;
    g->name = root->getString("name", 0, services.texts.getText("AlarmGroup", textDefaultName));
    g->Active = root->getBoolean("stat", 0, true);
    g->changedSinceImport = root->getBoolean("chsi", 0, true);
    g->Color = root->getLong("colr", 0, services.colours.getSchemeColour(1, windowTextColour));
    const XMLNodePtr syst = root->getNode("syst", 0, "<syst></syst>");
    if (root->getInteger("type", 0, -1) >= 0 && hasChildren(*syst, "al")) {
        g->templateText = syst->getNode("al")->toString();
    }
    if (hasChildren(*root, "tmpl")) {
        g->templateText = root->getNode("tmpl")->toString();
    }
    g->synchPlugin = root->getString("sync", 0, "");
    g->synchSettings = syst->getCopy();
    // A synchronised group is brought up to date by the watch's first round, in the background.
    g->readAlarms(*root, services);
    return g;
}

void AlarmGroup::readAlarms(const XMLNode& root, GroupServices& services) {
    const auto self = shared_from_this();
    for (int i = 0; i < root.getNumberOfNodes(); ++i) {
        const XMLNodePtr child = root.getNodeAt(i);
        if (child->name == "alrm" && !alarms.addElement(Alarm::createFromXML(*child, self))) {
            // The rest would be lost at the next save: the group is kept read-only instead.
            loadProblem = services.texts.getText("AlarmGroup", textTooManyAlarms);
            return;
        }
    }
}

std::shared_ptr<AlarmGroup> AlarmGroup::createAlarmGroupFromFile(const std::string& filePath, GroupServices& services) {
    const std::string extension = extensionOf(filePath);
    if (extension.empty()) {
        return nullptr;
    }
    if (extension == ".agx") {
        std::string reason;
        bool repaired = false;
        const auto text = TextFile::readText(filePath, &reason, &repaired);
        std::shared_ptr<AlarmGroup> g;
        auto root = std::make_shared<XMLNode>();
        if (!text) {
            g = unreadable(filePath, services.texts.getText("AlarmGroup", textUnreadable) + " " + reason);
        } else if (text->find_first_not_of(" \t\r\n") == std::string::npos) {
            g = unreadable(filePath, services.texts.getText("AlarmGroup", textEmpty));
        } else if (root->initializeFromXML(*text)) {
            // Garbage, cut off, or nested too deeply: nothing of it is trusted.
            g = unreadable(filePath, services.texts.getText("AlarmGroup", textIncomplete));
        } else {
            g = createFromNode(*root, services);
            g->textRepaired = repaired;
        }
        g->path = storedPath(filePath, services.alarmGroupFolder);
        return g;
    }
    if (services.plugins == nullptr || unsendable(filePath)) {
        return nullptr;
    }
    for (const auto& format : importFormatsFor(filePath, services)) {
        if (auto g = fromImportAnswer(
                services.plugins->call(format.plugin, "GetAlarmgroupFromFile", importRequest(filePath, services)),
                services)) {
            return g;
        }
    }
    return nullptr;
}

std::vector<GroupPlugins::FileFormat> AlarmGroup::formatsFor(const std::string& filePath,
                                                             std::vector<GroupPlugins::FileFormat> offered) {
    std::erase_if(offered, [&filePath](const GroupPlugins::FileFormat& format) {
        return format.extensions.find("*" + extensionOf(filePath)) == std::string::npos;
    });
    return offered;
}

std::vector<GroupPlugins::FileFormat> AlarmGroup::importFormatsFor(const std::string& filePath,
                                                                   GroupServices& services) {
    return formatsFor(filePath, services.plugins->importFormats());
}

std::string AlarmGroup::importRequest(const std::string& filePath, GroupServices& services) {
    // The path goes in as it stands, as the plug-ins expect.
    return services.plugins->languageElement() + "<path>" + XMLNode::stringToXMLString(filePath) + "</path>";
}

std::shared_ptr<AlarmGroup> AlarmGroup::fromImportAnswer(const std::string& reply, GroupServices& services) {
    const XMLNodePtr answer = XMLNode::createFromXML(reply);
    showPluginNotes(*answer, services);
    if (answer->getNumberOfNodesWithName("algr") == 0) {
        return nullptr;
    }
    auto g = createFromXML(answer->getNode("algr")->toString(), services);
    g->setChanged();
    return g;
}

std::shared_ptr<AlarmGroup> AlarmGroup::asImported(std::shared_ptr<AlarmGroup> group) {
    if (!group || group->readOnly()) {
        return nullptr; // an import that cannot be read whole is not an import
    }
    group->changedSinceImport = false;
    group->changed = true;
    group->path = "";
    return group;
}

std::shared_ptr<AlarmGroup> AlarmGroup::createAlarmGroupFromImportedFile(const std::string& filePath,
                                                                         GroupServices& services) {
    return asImported(createAlarmGroupFromFile(filePath, services));
}

void AlarmGroup::createAlarmGroupFromFileLater(const std::string& filePath, GroupServices& services,
                                               std::function<void(std::shared_ptr<AlarmGroup>)> done) {
    const std::string extension = extensionOf(filePath);
    if (extension.empty() || extension == ".agx" || services.plugins == nullptr || unsendable(filePath)) {
        done(createAlarmGroupFromFile(filePath, services));
        return;
    }
    askImportPlugins(filePath, services,
                     std::make_shared<std::vector<GroupPlugins::FileFormat>>(importFormatsFor(filePath, services)), 0,
                     std::move(done));
}

void AlarmGroup::createAlarmGroupFromImportedFileLater(const std::string& filePath, GroupServices& services,
                                                       std::function<void(std::shared_ptr<AlarmGroup>)> done) {
    createAlarmGroupFromFileLater(filePath, services, [done = std::move(done)](std::shared_ptr<AlarmGroup> g) {
        done(asImported(std::move(g)));
    });
}

void AlarmGroup::askImportPlugins(const std::string& filePath, GroupServices& services,
                                  std::shared_ptr<std::vector<GroupPlugins::FileFormat>> formats, std::size_t next,
                                  std::function<void(std::shared_ptr<AlarmGroup>)> done) {
    if (next >= formats->size()) {
        done(nullptr);
        return;
    }
    const std::string plugin = (*formats)[next].plugin;
    services.plugins->callLater(
        plugin, "GetAlarmgroupFromFile", importRequest(filePath, services),
        [filePath, &services, formats = std::move(formats), next, done = std::move(done)](const std::string& reply) {
            if (auto g = fromImportAnswer(reply, services)) {
                done(g);
            } else {
                askImportPlugins(filePath, services, formats, next + 1, done);
            }
        });
}

bool AlarmGroup::save(const std::string& filePath, bool manual, GroupServices& services, std::string* reason) {
    const std::string extension = extensionOf(filePath);
    if (extension.empty() || (extension != ".agx" && unsendable(filePath))) {
        return false;
    }
    bool ok = false;
    if (extension == ".agx") {
        ok = !toXML()->toXMLFile(filePath, reason);
    } else {
        services.messages.msgBox(services.texts.getText("AlarmGroup", textExportedThroughPlugin),
                                 Dialogs::styleExclamation);
        if (services.plugins != nullptr) {
            const std::string request = exportRequest(filePath, services);
            for (const auto& format : formatsFor(filePath, services.plugins->exportFormats())) {
                if (exportSucceeded(services.plugins->call(format.plugin, "SaveAlarmgroupToFile", request), services)) {
                    ok = true;
                    break;
                }
            }
        }
    }
    if (ok) {
        savedAs(manual);
    }
    return ok;
}

void AlarmGroup::exportLater(const std::string& filePath, GroupServices& services, FileWriteQueue& writer,
                             std::function<void(bool)> done) {
    const std::string extension = extensionOf(filePath);
    if (extension == ".agx") {
        writer.writeConfirmed(filePath, toXML()->toString(), false, {}, {},
                              [group = weak_from_this(), done = std::move(done)](bool ok, const std::string&) {
                                  if (const auto exported = group.lock(); exported && ok) {
                                      exported->savedAs(true);
                                  }
                                  done(ok);
                              });
        return;
    }
    if (extension.empty() || unsendable(filePath) || services.plugins == nullptr) {
        done(save(filePath, true, services));
        return;
    }
    services.messages.msgBox(services.texts.getText("AlarmGroup", textExportedThroughPlugin),
                             Dialogs::styleExclamation);
    // The group's text as it is now; a change made while the plug-ins work goes with the next export.
    const std::string request = exportRequest(filePath, services);
    askExportPlugins(weak_from_this(), request, services,
                     std::make_shared<std::vector<GroupPlugins::FileFormat>>(
                         formatsFor(filePath, services.plugins->exportFormats())),
                     0, std::move(done));
}

std::string AlarmGroup::exportRequest(const std::string& filePath, GroupServices& services) const {
    return services.plugins->languageElement() + "<path>" + XMLNode::stringToXMLString(filePath) + "</path>" +
           toXML()->toString();
}

bool AlarmGroup::exportSucceeded(const std::string& reply, GroupServices& services) {
    const XMLNodePtr answer = XMLNode::createFromXML(reply);
    showPluginNotes(*answer, services);
    return answer->getNumberOfNodesWithName("success") > 0;
}

void AlarmGroup::askExportPlugins(std::weak_ptr<AlarmGroup> group, const std::string& request, GroupServices& services,
                                  std::shared_ptr<std::vector<GroupPlugins::FileFormat>> formats, std::size_t next,
                                  std::function<void(bool)> done) {
    if (next >= formats->size()) {
        done(false);
        return;
    }
    const std::string plugin = (*formats)[next].plugin;
    services.plugins->callLater(plugin, "SaveAlarmgroupToFile", request,
                                [group = std::move(group), request, &services, formats = std::move(formats), next,
                                 done = std::move(done)](const std::string& reply) {
                                    if (!exportSucceeded(reply, services)) {
                                        askExportPlugins(group, request, services, formats, next + 1, done);
                                        return;
                                    }
                                    if (const auto exported = group.lock()) {
                                        exported->savedAs(true);
                                    }
                                    done(true);
                                });
}

void AlarmGroup::savedAs(bool manual) {
    if (manual) {
        changedSinceImport = false;
    } else {
        // Only the group's own mark: an alarm's mark goes only when it is read from its file again.
        changed = false;
    }
}

std::string AlarmGroup::synchronizeRequest(GroupServices& services) const {
    return services.plugins->languageElement() + synchSettings->toString() + toXML()->toString();
}

bool AlarmGroup::synchronize(GroupServices& services) {
    if (services.plugins == nullptr) {
        return true;
    }
    // An answer without a group changes nothing, and counts as a synchronisation done.
    static_cast<void>(
        applySynchronized(services.plugins->call(synchPlugin, "Synchronize", synchronizeRequest(services)), services));
    return true;
}

void AlarmGroup::synchronizeLater(GroupServices& services, std::function<void()> applied,
                                  std::function<void()> problemChanged) {
    if (services.plugins == nullptr) {
        return;
    }
    const std::string sent = toXML()->toString();
    std::weak_ptr<AlarmGroup> self = weak_from_this();
    services.plugins->callLater(synchPlugin, "Synchronize", synchronizeRequest(services),
                                [self, sent, &services, applied = std::move(applied),
                                 problemChanged = std::move(problemChanged)](const std::string& reply) {
                                    const auto group = self.lock();
                                    // Changed meanwhile: the user's edit wins, and the next round carries it.
                                    if (!group || group->toXML()->toString() != sent) {
                                        return;
                                    }
                                    const std::string before = group->synchProblem;
                                    if (group->applySynchronized(reply, services)) {
                                        if (applied) {
                                            applied();
                                        }
                                    } else if (group->synchProblem != before && problemChanged) {
                                        problemChanged();
                                    }
                                });
}

bool AlarmGroup::applySynchronized(const std::string& reply, GroupServices& services) {
    const XMLNodePtr answer = XMLNode::createFromXML(reply);
    if (answer->getNumberOfNodesWithName("algr") == 0) {
        const std::string error = answer->getString("error");
        synchProblem = error.empty() ? services.texts.getText("AlarmGroup", textNoSynchAnswer) : error;
        return false;
    }
    synchProblem.clear();
    if (const std::string notes = oneLine(answer->getString("notes")); !notes.empty()) {
        synchNotes = notes;
    }
    synchPending = static_cast<int>(answer->getLong("pending", 0, 0));
    const XMLNodePtr g = answer->getNode("algr");
    name = g->getString("name", 0, name);
    Active = g->getBoolean("stat", 0, Active);
    changedSinceImport = g->getBoolean("chsi", 0, changedSinceImport);
    Color = g->getLong("colr", 0, Color);
    if (hasChildren(*g, "tmpl")) {
        templateText = g->getNode("tmpl")->toString();
    }
    synchPlugin = g->getString("sync", 0, synchPlugin);
    synchSettings = g->getChildCopy("syst", *synchSettings);
    alarms.clear();
    readAlarms(*g, services);
    setChanged();
    return true;
}

XMLNodePtr AlarmGroup::toXML() const {
    auto x = XMLNode::Create("algr");
    x->addString("name", name);
    x->addBoolean("stat", Active);
    x->addBoolean("chsi", getChangedSinceImport());
    x->addLong("colr", Color);
    if (!templateText.empty()) {
        x->addXMLString(templateText);
    }
    x->addString("sync", synchPlugin);
    x->addNode(synchSettings->getCopy());
    for (int i = 0; i < alarms.numberOfElements(); ++i) {
        x->addNode(alarms.elementAt(i)->toXML("alrm"));
    }
    return x;
}

bool AlarmGroup::getChanged() const {
    if (changed) {
        return true;
    }
    for (int i = 0; i < alarms.numberOfElements(); ++i) {
        if (alarms.elementAt(i)->changed) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<Alarm> AlarmGroup::getTemplateAlarm(GroupServices& services) {
    std::shared_ptr<Alarm> alarm;
    if (!templateText.empty()) {
        alarm = Alarm::createFromXML(*XMLNode::createFromXML(templateText), shared_from_this());
    } else {
        alarm = services.defaultTemplate ? services.defaultTemplate() : Alarm::createDefaultAlarm(services.texts);
        alarm->parent = shared_from_this();
    }
    return alarm;
}

std::array<std::pair<std::string, std::string>, 3> AlarmGroup::getStringItems(GroupServices& services) const {
    const ColourScheme& c = services.colours;
    const bool schemeChosen = !c.schemeName().empty();
    std::array<std::pair<std::string, std::string>, 3> cells;
    cells[0] = {name, std::to_string(schemeChosen ? Color : windowTextColour)};
    cells[1] = {services.texts.getText("AlarmGroup", readOnly() ? textReadOnly : (Active ? textOn : textOff)),
                c.getSchemeColourText(Active ? 11 : 12, 0)};
    if (synchPlugin.empty()) {
        cells[2] = {services.texts.getText("AlarmGroup", textNotSynchronised), c.getSchemeColourText(13, 0)};
    } else {
        std::string text = services.plugins ? services.plugins->syncDescription(synchPlugin) : "";
        for (const std::string* said : {&synchProblem, &synchNotes}) {
            text += said->empty() ? "" : ": " + *said;
        }
        cells[2] = {text, c.getNamedSchemeColourText(synchPlugin, c.getSchemeColour(14, 0))};
    }
    return cells;
}

std::string AlarmGroup::resolvePath(const std::string& stored, const std::string& folder) {
    std::string p = stored;
    if (p.rfind(folderMark, 0) == 0) {
        p = folder + p.substr(std::string(folderMark).size());
    }
    // Files from the old platform use "\".
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

std::string AlarmGroup::storedPath(const std::string& filePath, const std::string& folder) {
    if (!folder.empty() && filePath.rfind(folder, 0) == 0) {
        return folderMark + filePath.substr(folder.size());
    }
    return filePath;
}

} // namespace halvika
