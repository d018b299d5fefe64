// The loaded alarm groups: loading, saving, imports and exports, unloading, and the alarm clipboard.
#include "groups/AlarmGroupCollection.h"

#include "base/MessageBoxRoutine.h"
#include "dates/DateFormat.h"
#include "groups/GroupPlugins.h"
#include "platform/Clipboard.h"
#include "settings/modTranslation.h"
#include "text/AsciiText.h"
#include "text/Placeholders.h"
#include "text/TextFile.h"
#include "text/WriteTally.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <utility>

namespace halvika {

namespace fs = std::filesystem;

namespace {

class NoListener : public ChangeListener {
public:
    void alarmsChanged(const Vector<Alarm>&, std::int16_t) override {}
    void groupsChanged(const Vector<AlarmGroup>&, std::int16_t) override {}
};

NoListener noListener;

constexpr int styleExclamation = Dialogs::styleExclamation;
constexpr int styleQuestionYesNo = Dialogs::styleYesNo + Dialogs::styleQuestion;
constexpr int styleExclamationYesNo = Dialogs::styleYesNo + Dialogs::styleExclamation;

bool endsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// "usg_*.*": the group files of the folder, by name without regard to case.
std::vector<std::string> groupFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        const std::string lowered = AsciiText::lowered(name);
        if (lowered.rfind("usg_", 0) == 0 && lowered.find('.', 4) != std::string::npos && it->is_regular_file(error)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return AsciiText::lowered(a) < AsciiText::lowered(b); });
    return names;
}

} // namespace

AlarmGroupCollection::AlarmGroupCollection(GroupServices& services, ChangeListener& listener)
    : m_services(services), m_listener(&listener), m_fileWriter(services.writeFile) {}

AlarmGroupCollection::AlarmGroupCollection(GroupServices& services) : AlarmGroupCollection(services, noListener) {}

std::string AlarmGroupCollection::mainText(int number) {
    return m_services.texts.getMainText(number);
}

bool AlarmGroupCollection::folderExists() const {
    std::error_code error;
    return fs::is_directory(m_services.alarmGroupFolder, error);
}

bool AlarmGroupCollection::loadAlarmGroups() {
    // Told without waiting for the user: the alarms that could be read must not wait for an OK.
    if (!folderExists()) {
        m_services.messages.notice(mainText(textFolderMissing) + "\n" + m_services.alarmGroupFolder, styleExclamation);
        return false;
    }
    const Vector<AlarmGroup> loaded = readFolder();
    alarmGroups.addVector(loaded);
    report(alarmGroups, kindLoaded);
    tellLoadProblems(loaded);
    loadForeignGroupFiles();
    return true;
}

Vector<AlarmGroup> AlarmGroupCollection::readFolder() {
    m_fileWriter.waitUntilDone(); // the files as last saved, not as they were before
    Vector<AlarmGroup> loaded;
    m_listedFiles.clear();
    for (const std::string& name : groupFileNames(m_services.alarmGroupFolder)) {
        m_listedFiles.insert(m_services.alarmGroupFolder + "/" + name);
        if (!endsWith(name, ".agx")) {
            continue; // read by their plug-ins, in the background
        }
        if (auto group = AlarmGroup::createAlarmGroupFromFile(m_services.alarmGroupFolder + "/" + name, m_services)) {
            loaded.addElement(group);
        }
    }
    return loaded;
}

void AlarmGroupCollection::loadForeignGroupFiles() {
    // At start the plug-ins are not known yet: the folder is not listed for nothing.
    if (m_services.plugins == nullptr || m_services.plugins->importFormats().empty() || !folderExists()) {
        return;
    }
    for (const std::string& name : groupFileNames(m_services.alarmGroupFolder)) {
        const std::string filePath = m_services.alarmGroupFolder + "/" + name;
        m_listedFiles.insert(filePath);
        // A file whose plug-ins are still reading it (a reload while they are) is not read twice.
        if (endsWith(name, ".agx") || !m_foreignFilesBeingRead.insert(filePath).second) {
            continue;
        }
        // Each file goes to the import plug-ins in the background: a slow one holds up no alarm.
        AlarmGroup::createAlarmGroupFromFileLater(filePath, m_services,
                                                  [this, filePath](std::shared_ptr<AlarmGroup> g) {
                                                      m_foreignFilesBeingRead.erase(filePath);
                                                      if (!g || !alarmGroups.addElement(g)) {
                                                          return; // the file stays for another time
                                                      }
                                                      // Replaced by the ".agx" file the group gets at its next save.
                                                      m_fileWriter.remove(filePath);
                                                      g->path = "";
                                                      g->setChanged();
                                                      report(Vector<AlarmGroup>::createVectorWithObj(g, 1), kindAdded);
                                                  });
    }
}

void AlarmGroupCollection::tellLoadProblems(const Vector<AlarmGroup>& loaded) {
    std::string unreadable;
    std::string repaired;
    for (int i = 0; i < loaded.numberOfElements(); ++i) {
        const auto& group = loaded.elementAt(i);
        const std::string file = AlarmGroup::resolvePath(group->path, m_services.alarmGroupFolder);
        if (group->readOnly()) {
            unreadable += "\n" + file + ": " + group->loadProblem;
        } else if (group->textRepaired) {
            repaired += "\n" + file;
        }
    }
    if (!unreadable.empty()) {
        m_services.messages.notice(mainText(textGroupsUnreadable) + unreadable, styleExclamation);
    }
    if (!repaired.empty()) {
        m_services.messages.notice(mainText(textGroupsRepaired) + repaired, styleExclamation);
    }
}

void AlarmGroupCollection::unloadAllAlarmGroups(bool initial) {
    if (initial) {
        ClipboardAlarms = XMLNode::Create("cb");
        ClipboardParentAg.reset();
    }
    alarmGroups.clear();
    m_listener->allGroupsUnloaded();
}

bool AlarmGroupCollection::reloadAlarmGroups() {
    unloadAllAlarmGroups(false);
    return loadAlarmGroups();
}

bool AlarmGroupCollection::saveAlarmGroups(bool all) {
    bool failed = false;
    if (!folderExists()) {
        m_services.messages.msgBox(mainText(textFolderMissing) + " " + m_services.alarmGroupFolder, styleExclamation);
        failed = true;
    } else {
        for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
            const auto group = alarmGroups.elementAt(i);
            if (!group->hidden && !group->readOnly() && (all || group->getChanged()) && !saveAlarmGroupFile(group)) {
                failed = true;
            }
        }
    }
    if (!failed) {
        return true;
    }
    return m_services.messages.msgBox(mainText(textSaveFailedGoOn), styleExclamationYesNo) == Dialogs::answerYes;
}

bool AlarmGroupCollection::moveGroup(const std::shared_ptr<AlarmGroup>& group, int step) {
    const int from = alarmGroups.indexOf(group);
    if (from < 0 || step == 0) {
        return false;
    }
    const int direction = step < 0 ? -1 : 1;
    for (int to = from + direction; to >= 0 && to < alarmGroups.numberOfElements(); to += direction) {
        if (!alarmGroups.elementAt(to)->hidden) {
            alarmGroups.removeElementAt(from);
            alarmGroups.addElementAt(group, to);
            return true;
        }
    }
    return false;
}

bool AlarmGroupCollection::moveAlarm(const std::shared_ptr<AlarmGroup>& group, const std::shared_ptr<Alarm>& alarm,
                                     int step) {
    if (!group || alarmGroups.indexOf(group) < 0) {
        return false;
    }
    const int from = group->alarms.indexOf(alarm);
    const int to = from + step;
    if (from < 0 || step == 0 || to < 0 || to >= group->alarms.numberOfElements()) {
        return false;
    }
    group->alarms.swap(from, to);
    group->setChanged();
    return true;
}

bool AlarmGroupCollection::orderShownGroups(const Vector<AlarmGroup>& shown) {
    bool changed = false;
    int next = 0;
    for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
        if (alarmGroups.elementAt(i)->hidden) {
            continue;
        }
        // The next shown group that is still loaded takes this slot.
        while (next < shown.numberOfElements() && alarmGroups.indexOf(shown.elementAt(next)) < 0) {
            ++next;
        }
        if (next >= shown.numberOfElements()) {
            break;
        }
        const auto& wanted = shown.elementAt(next++);
        const int at = alarmGroups.indexOf(wanted);
        if (at > i) {
            alarmGroups.swap(i, at);
            changed = true;
        }
    }
    return changed;
}

bool AlarmGroupCollection::isLoaded(const Alarm& alarm) const {
    const auto group = alarm.parent.lock();
    return group && alarmGroups.indexOf(group) >= 0 && group->alarms.indexOf(&alarm) >= 0;
}

void AlarmGroupCollection::saveAllIntoFolder(const std::string& folder) {
    const auto tally = toldOnceWritten();
    if (folder != m_services.alarmGroupFolder) {
        m_services.alarmGroupFolder = folder;
        nameForNewFolder();
    }
    queueAllGroups(*tally);
    tally->close();
}

void AlarmGroupCollection::nameForNewFolder() {
    const std::string& folder = m_services.alarmGroupFolder;
    // Every name is settled before anything is written, so that no two groups and no file already there
    // share one.
    std::set<std::string> claimed;
    Vector<AlarmGroup> renamed;
    for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
        const auto group = alarmGroups.elementAt(i);
        if (group->path.empty() || group->path.rfind(AlarmGroup::folderMark, 0) != 0) {
            continue;
        }
        if (TextFile::exists(AlarmGroup::resolvePath(group->path, folder)) || !claimed.insert(group->path).second) {
            renamed.addElement(group);
        }
    }
    int n = 0;
    for (int i = 0; i < renamed.numberOfElements(); ++i) {
        std::string path;
        do {
            path = std::string(AlarmGroup::folderMark) + "/usg_" + std::to_string(n++) + ".agx";
        } while (claimed.count(path) > 0 || TextFile::exists(AlarmGroup::resolvePath(path, folder)));
        claimed.insert(path);
        renamed.elementAt(i)->path = path;
    }
}

std::shared_ptr<WriteTally> AlarmGroupCollection::toldOnceWritten() {
    // The user may have gone by the time the disk answers: no box to answer.
    return WriteTally::create([this](const std::string& problems) {
        if (!problems.empty()) {
            m_services.messages.notice(problems.substr(1), styleExclamation);
        }
    });
}

void AlarmGroupCollection::queueAllGroups(WriteTally& tally) {
    for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
        const auto group = alarmGroups.elementAt(i);
        if (!group->hidden && !group->readOnly()) {
            queueGroupConfirmed(group, tally.expect(mainText(textGroupNotSaved) + " " + group->name));
        }
    }
}

bool AlarmGroupCollection::writeChangedGroups(std::string& problems) {
    if (!folderExists()) {
        problems += "\n" + m_services.alarmGroupFolder + ": " + mainText(textFolderMissing);
        return false;
    }
    bool ok = true;
    for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
        const auto group = alarmGroups.elementAt(i);
        std::string problem;
        if (!group->hidden && !group->readOnly() && group->getChanged() && !writeGroupFile(group, problem)) {
            problems += "\n" + problem;
            ok = false;
        }
    }
    return ok;
}

void AlarmGroupCollection::queueChangedGroups() {
    for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
        const auto group = alarmGroups.elementAt(i);
        if (!group->hidden && !group->readOnly() && group->getChanged()) {
            queueGroup(group, {});
        }
    }
}

void AlarmGroupCollection::queueGroupConfirmed(const std::shared_ptr<AlarmGroup>& group,
                                               FileWriteQueue::OutcomeHandler confirmed) {
    if (group->readOnly()) {
        confirmed(false, group->loadProblem);
        return;
    }
    queueGroup(group, std::move(confirmed));
}

void AlarmGroupCollection::queueGroup(const std::shared_ptr<AlarmGroup>& group,
                                      FileWriteQueue::OutcomeHandler confirmed) {
    // Named from what is known, never by looking at the disk, which may stall; the writer then makes sure
    // the new file lands on no other.
    const bool isNew = nameGroupFile(*group, false);
    const std::string path = group->path;
    const std::string file = AlarmGroup::resolvePath(path, m_services.alarmGroupFolder);
    std::weak_ptr<AlarmGroup> weak = group;
    // Whoever waits for the confirmation tells of a failure; otherwise the tick does.
    const auto failed = [this, weak, file, quiet = static_cast<bool>(confirmed)](bool ok, const std::string& reason) {
        if (ok) {
            return;
        }
        // Saved at the next round, if it is still ours to save.
        if (const auto refused = weak.lock(); refused && alarmGroups.contains(refused)) {
            refused->setChanged();
        }
        if (!quiet) {
            m_writeProblems += "\n" + file + ": " + reason;
        }
    };
    // A file that came into the folder after it was listed: the group takes another name, at once.
    const auto nameTaken = [this, weak, path] {
        const auto group = weak.lock();
        if (!group || !alarmGroups.contains(group) || group->path != path) {
            return;
        }
        group->path.clear();
        group->setChanged();
        report(Vector<AlarmGroup>::createVectorWithObj(group, 1), kindContentChanged); // saved again soon
    };
    std::string text = group->toXML()->toString();
    if (confirmed) {
        m_fileWriter.writeConfirmed(file, std::move(text), isNew, failed, nameTaken,
                                    [file, confirmed = std::move(confirmed)](bool ok, const std::string& reason) {
                                        confirmed(ok, ok ? std::string() : file + ": " + reason);
                                    });
    } else if (isNew) {
        m_fileWriter.writeNew(file, std::move(text), failed, nameTaken);
    } else {
        m_fileWriter.write(file, std::move(text), failed, nameTaken);
    }
    group->changed = false; // only the group's own mark, as a save in place clears it
}

std::string AlarmGroupCollection::takeWriteProblems() {
    return std::exchange(m_writeProblems, std::string());
}

bool AlarmGroupCollection::saveAlarmGroupFile(const std::shared_ptr<AlarmGroup>& group) {
    std::string problem;
    if (writeGroupFile(group, problem)) {
        return true;
    }
    m_services.messages.msgBox(mainText(textGroupNotSaved) + " " + group->name + "\n" + problem, styleExclamation);
    return false;
}

bool AlarmGroupCollection::writeGroupFile(const std::shared_ptr<AlarmGroup>& group, std::string& problem) {
    if (group->readOnly()) {
        problem = group->loadProblem;
        return false;
    }
    // After what is queued, which would otherwise land on top of this newer text.
    m_fileWriter.waitUntilDone();
    if (!group->path.empty() &&
        m_fileWriter.nameTaken(AlarmGroup::resolvePath(group->path, m_services.alarmGroupFolder))) {
        group->path.clear(); // its new file found another there; the tick has not heard yet
    }
    nameGroupFile(*group, true);
    // The file is replaced whole through a renamed temporary file, so the old one is never lost on failure.
    const std::string file = AlarmGroup::resolvePath(group->path, m_services.alarmGroupFolder);
    std::string reason;
    if (!group->save(file, false, m_services, &reason)) {
        problem = file + ": " + reason;
        return false;
    }
    return true;
}

bool AlarmGroupCollection::fileNameTaken(const std::string& storedPath, const std::string& folder,
                                         bool lookOnDisk) const {
    const std::string file = AlarmGroup::resolvePath(storedPath, folder);
    for (int i = 0; i < alarmGroups.numberOfElements(); ++i) {
        if (alarmGroups.elementAt(i)->path == storedPath) {
            return true;
        }
    }
    return m_listedFiles.count(file) > 0 || m_fileWriter.holds(file) || m_fileWriter.nameTaken(file) ||
           (lookOnDisk && TextFile::exists(file));
}

bool AlarmGroupCollection::nameGroupFile(AlarmGroup& group, bool lookOnDisk) {
    if (!group.path.empty()) {
        return false;
    }
    for (int n = 0; group.path.empty(); ++n) {
        const std::string path = std::string(AlarmGroup::folderMark) + "/usg_" + std::to_string(n) + ".agx";
        if (!fileNameTaken(path, m_services.alarmGroupFolder, lookOnDisk)) {
            group.path = path;
        }
    }
    return true;
}

void AlarmGroupCollection::importAlarmGroupFiles(const std::vector<std::string>& paths,
                                                 std::function<void(bool)> done) {
    struct Import {
        int waiting = 1;
        bool ok = true;
        Vector<AlarmGroup> added;
        std::function<void(bool)> done;
    };
    auto import = std::make_shared<Import>();
    import->done = std::move(done);
    // Counted from one, so that answers given at once (a collection, an ".agx" file) do not end it early.
    const auto finishOne = [this, import] {
        if (--import->waiting > 0) {
            return;
        }
        if (import->added.numberOfElements() > 0) {
            report(import->added, kindAdded);
        }
        if (import->done) {
            import->done(import->ok);
        }
    };
    for (const std::string& filePath : paths) {
        if (endsWith(filePath, ".agc")) {
            import->ok = importAlarmGroupCollection(filePath) && import->ok;
            continue;
        }
        ++import->waiting;
        AlarmGroup::createAlarmGroupFromImportedFileLater(filePath, m_services,
                                                          [this, import, finishOne](std::shared_ptr<AlarmGroup> group) {
                                                              if (group && alarmGroups.addElement(group)) {
                                                                  import->added.addElement(group);
                                                              } else {
                                                                  import->ok = false;
                                                              }
                                                              finishOne();
                                                          });
    }
    finishOne();
}

bool AlarmGroupCollection::importAlarmGroupCollection(const std::string& filePath) {
    std::string content;
    if (XMLNode::getFile(filePath, content)) {
        return false;
    }
    const XMLNodePtr root = XMLNode::createFromXML(content);
    Vector<AlarmGroup> added;
    for (int i = 0; i < root->getNumberOfNodes(); ++i) {
        auto group = AlarmGroup::createFromXML(root->getNodeAt(i)->toString(), m_services);
        if (!group->readOnly() && alarmGroups.addElement(group)) {
            added.addElement(group);
        }
    }
    if (added.numberOfElements() > 0) {
        report(added, kindAdded);
    }
    return true;
}

bool AlarmGroupCollection::importAlarmGroupsFromPlugin(const std::string& plugin) {
    if (m_services.plugins == nullptr) {
        return true;
    }
    // In the background: the group comes with the plug-in's answer, and a slow plug-in holds up no alarm.
    m_services.plugins->callLater(
        plugin, "GetAlarmgroups", m_services.plugins->languageElement(), [this](const std::string& answer) {
            const XMLNodePtr groups = XMLNode::createFromXML(answer)->getNode("alarmgroups");
            if (groups->getNumberOfNodesWithName("algr") > 0) {
                // A full collection takes no more, as with files.
                static_cast<void>(
                    addGroupCommand(AlarmGroup::createFromXML(groups->getNode("algr")->toString(), m_services)));
            }
        });
    return true;
}

bool AlarmGroupCollection::addGroupCommand(const std::shared_ptr<AlarmGroup>& group) {
    if (!alarmGroups.addElement(group)) {
        return false;
    }
    report(Vector<AlarmGroup>::createVectorWithObj(group, 1), kindAdded);
    return true;
}

bool AlarmGroupCollection::exportAlarmGroupFile(const std::shared_ptr<AlarmGroup>& group, const std::string& filePath) {
    return group->save(filePath, true, m_services);
}

bool AlarmGroupCollection::exportAlarmGroupToPlugin(const std::string& plugin,
                                                    const std::shared_ptr<AlarmGroup>& group) {
    if (m_services.plugins != nullptr) {
        // The group as it is now goes out in the background; its answer says nothing the user is told.
        m_services.plugins->callLater(plugin, "SetAlarmGroups",
                                      m_services.plugins->languageElement() + group->toXML()->toString(),
                                      [](const std::string&) {});
    }
    return true;
}

std::string AlarmGroupCollection::collectionText(const Vector<AlarmGroup>& groups) {
    auto collection = XMLNode::Create("alarmgroupcollection");
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        collection->addNode(groups.elementAt(i)->toXML());
    }
    return collection->toString();
}

bool AlarmGroupCollection::exportAlarmGroupCollection(const Vector<AlarmGroup>& groups, const std::string& filePath) {
    return !XMLNode::putFile(filePath, collectionText(groups));
}

bool AlarmGroupCollection::unloadAlarmGroups(const Vector<AlarmGroup>& groups) {
    Vector<AlarmGroup> removed;
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        const auto group = groups.elementAt(i);
        if (deleteAlarmGroupFile(group)) {
            alarmGroups.remove(group);
            removed.addElement(group);
        }
    }
    report(removed, kindRemoved);
    for (int i = 0; i < removed.numberOfElements(); ++i) {
        removed.elementAt(i)->alarms.clear();
    }
    return true;
}

bool AlarmGroupCollection::deleteAlarmGroupFile(const std::shared_ptr<AlarmGroup>& group) {
    if (!group->path.empty() && !group->readOnly()) {
        // Queued, so that no write of the group still waiting brings the file back.
        m_fileWriter.remove(AlarmGroup::resolvePath(group->path, m_services.alarmGroupFolder));
    }
    return true;
}

void AlarmGroupCollection::synchronizeAlarmGroups(const Vector<AlarmGroup>& groups) {
    // In the background: a slow server or a hanging plug-in never holds up an alarm. Each answer is
    // reported as it comes, for a group still loaded.
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        synchronizeGroup(groups.elementAt(i), maxFollowUpRounds);
    }
}

void AlarmGroupCollection::synchronizeGroup(const std::shared_ptr<AlarmGroup>& group, int followUpsLeft) {
    if (group->synchPlugin.empty() || group->readOnly()) {
        return;
    }
    std::weak_ptr<AlarmGroup> weak = group;
    group->synchronizeLater(
        m_services,
        [this, weak, followUpsLeft] {
            const auto synced = weak.lock();
            if (synced && alarmGroups.indexOf(synced) >= 0) {
                report(Vector<AlarmGroup>::createVectorWithObj(synced, 1), kindStateChanged);
                // A first synchronisation of many alarms takes several rounds; they follow one another.
                if (synced->synchPending > 0 && followUpsLeft > 0) {
                    synchronizeGroup(synced, followUpsLeft - 1);
                }
            }
        },
        // A new cause of failure is shown at once, beside the group, without touching its data.
        [this] { m_listener->groupsShownChanged(); });
}

std::string AlarmGroupCollection::makeFileName(const std::string& text) {
    static constexpr std::string_view forbidden = "\\/:*?\"<>|";
    std::string out;
    for (const char c : text) {
        if (forbidden.find(c) == std::string_view::npos) {
            out += c;
        }
    }
    return out;
}

std::function<void(bool)> AlarmGroupCollection::toldOnFailure(std::string message, std::function<void(bool)> done) {
    return [this, message = std::move(message), done = std::move(done)](bool ok) {
        // The plug-in answers whenever it is done, perhaps with nobody at the screen: no box to answer.
        if (!ok) {
            m_services.messages.notice(message, styleExclamation);
        }
        if (done) {
            done(ok);
        }
    };
}

void AlarmGroupCollection::importFilesCommand(const std::vector<std::string>& paths, std::function<void(bool)> done) {
    importAlarmGroupFiles(paths, toldOnFailure(mainText(textImportFailed), std::move(done)));
}

void AlarmGroupCollection::exportFileCommand(const std::shared_ptr<AlarmGroup>& group, const std::string& filePath,
                                             std::function<void(bool)> done) {
    group->exportLater(filePath, m_services, m_fileWriter,
                       toldOnFailure(mainText(textExportFailed) + " " + filePath, std::move(done)));
}

bool AlarmGroupCollection::exportToPluginCommand(const std::string& plugin, const std::shared_ptr<AlarmGroup>& group) {
    if (exportAlarmGroupToPlugin(plugin, group)) {
        return true;
    }
    m_services.messages.msgBox(Placeholders::fill(mainText(textPluginExportFailed), group->name), styleExclamation);
    return false;
}

std::string AlarmGroupCollection::proposedCollectionName(const Date& today, bool selectionOnly) {
    const std::string name = Placeholders::fill(mainText(textCollectionName), formatDate("yyyy-mm-dd", today));
    return selectionOnly ? makeFileName(name) : name;
}

void AlarmGroupCollection::exportCollectionCommand(const Vector<AlarmGroup>& groups, const std::string& filePath,
                                                   std::function<void(bool)> done) {
    m_fileWriter.writeConfirmed(filePath, collectionText(groups), false, {}, {},
                                [told = toldOnFailure(mainText(textCollectionExportFailed) + " " + filePath,
                                                      std::move(done))](bool ok, const std::string&) { told(ok); });
}

bool AlarmGroupCollection::reloadAllCommand() {
    if (m_services.messages.msgBox(mainText(textReloadQuestion), styleExclamationYesNo) != Dialogs::answerYes) {
        return false;
    }
    // Before anything is unloaded: reading a disk that cannot finish a write would hang as well.
    if (!m_fileWriter.waitUntilDone(std::chrono::milliseconds(reloadWaitMs))) {
        m_services.messages.notice(mainText(textDiskBusy), styleExclamation);
        return false;
    }
    return reloadAlarmGroups();
}

bool AlarmGroupCollection::saveAllCommand(const std::function<void(WriteTally&)>& saveOthers) {
    if (m_services.messages.msgBox(mainText(textSaveAllQuestion), styleQuestionYesNo) != Dialogs::answerYes) {
        return false;
    }
    const auto tally = toldOnceWritten();
    if (!folderExists()) {
        m_services.messages.msgBox(mainText(textFolderMissing) + " " + m_services.alarmGroupFolder, styleExclamation);
    } else {
        queueAllGroups(*tally);
    }
    if (saveOthers) {
        saveOthers(*tally);
    }
    tally->close();
    return true;
}

bool AlarmGroupCollection::unloadCommand(const Vector<AlarmGroup>& selected) {
    if (selected.numberOfElements() == 0) {
        return true;
    }
    if (m_services.messages.msgBox(mainText(textUnloadQuestion), styleQuestionYesNo) != Dialogs::answerYes) {
        return false;
    }
    Vector<AlarmGroup> toUnload = selected.getCopy();
    for (int i = toUnload.numberOfElements() - 1; i >= 0; --i) {
        const auto group = toUnload.elementAt(i);
        if (group->getChangedSinceImport() &&
            m_services.messages.msgBox(group->name + " " + mainText(textChangedSinceImport), styleExclamationYesNo) ==
                Dialogs::answerNo) {
            toUnload.removeElementAt(i);
        }
    }
    if (!unloadAlarmGroups(toUnload)) {
        m_services.messages.msgBox(mainText(textUnloadFailed), styleExclamation);
        return false;
    }
    return true;
}

std::shared_ptr<Alarm> AlarmGroupCollection::newAlarmCommand(const std::shared_ptr<AlarmGroup>& selected,
                                                             bool askGroupName) {
    std::shared_ptr<AlarmGroup> group = selected;
    if (alarmGroups.numberOfElements() == 0) {
        group = AlarmGroup::createDefaultAlarmGroup(m_services);
        if (askGroupName) {
            const auto name = m_services.messages.askText(m_services.texts.getMainText(textNewGroupName), group->name);
            if (!name || AsciiText::trimmed(*name).empty()) {
                return nullptr;
            }
            group->name = std::string(AsciiText::trimmed(*name));
        }
        static_cast<void>(addGroupCommand(group)); // the collection is empty
    }
    if (!group) {
        group = alarmGroups.elementAt(0);
    }
    return group->getTemplateAlarm(m_services);
}

void AlarmGroupCollection::copyAlarms(const Vector<Alarm>& selected, bool cut, std::int16_t view, std::int32_t offset,
                                      Clipboard* toSystem) {
    ClipboardAlarms = XMLNode::Create("cb");
    ClipboardParentAg.reset();
    if (selected.numberOfElements() > 0) {
        ClipboardParentAg = selected.elementAt(0)->parent.lock();
    }
    for (int i = 0; i < selected.numberOfElements(); ++i) {
        ClipboardAlarms->addNode(selected.elementAt(i)->toXML("al"));
    }
    ClipboardAlarms->addInteger("cc", view);
    if (view >= 1) {
        ClipboardAlarms->addLong("dd", offset);
    }
    if (toSystem != nullptr) {
        toSystem->clear();
        toSystem->setText(ClipboardAlarms->toString());
    }
    if (cut && selected.numberOfElements() > 0) {
        for (int i = 0; i < selected.numberOfElements(); ++i) {
            const auto alarm = selected.elementAt(i);
            if (const auto group = alarm->parent.lock()) {
                group->alarms.remove(alarm);
                group->setChanged();
            }
        }
        m_listener->alarmsChanged(selected, kindRemoved);
    }
}

Vector<Alarm> AlarmGroupCollection::pasteAlarms(const std::shared_ptr<AlarmGroup>& target, Clipboard* fromSystem,
                                                const std::function<void(Alarm&, std::int16_t, std::int32_t)>& shift) {
    Vector<Alarm> added;
    const XMLNodePtr document = fromSystem ? XMLNode::createFromXML(fromSystem->text()) : ClipboardAlarms;
    const std::shared_ptr<AlarmGroup> group = shift && ClipboardParentAg && !fromSystem ? ClipboardParentAg : target;
    if (!group) {
        return added;
    }
    const std::int16_t view = document->getInteger("cc", 0, 0);
    const std::int32_t offset = document->getLong("dd", 0, 0);
    for (int i = 0; i < document->getNumberOfNodes(); ++i) {
        const XMLNodePtr element = document->getNodeAt(i);
        if (element->name != "al") {
            continue;
        }
        auto alarm = Alarm::createFromXML(*element->getCopy(), group);
        if (shift) {
            shift(*alarm, view, offset);
        }
        alarm->setChanged();
        if (group->alarms.addElement(alarm)) {
            added.addElement(alarm);
        }
    }
    if (added.numberOfElements() > 0) {
        m_listener->alarmsChanged(added, kindAdded);
    }
    return added;
}

Vector<Alarm> AlarmGroupCollection::deleteAlarms(const Vector<Alarm>& selected, bool soundedOnly,
                                                 const Date& watchNow) {
    const int question = soundedOnly ? textDeleteSoundedQuestion : textDeleteQuestion;
    if (m_services.messages.msgBox(mainText(question), styleQuestionYesNo) != Dialogs::answerYes) {
        return {};
    }
    return removeAlarms(selected, soundedOnly, watchNow);
}

Vector<Alarm> AlarmGroupCollection::removeAlarms(const Vector<Alarm>& selected, bool soundedOnly,
                                                 const Date& watchNow) {
    Vector<Alarm> removed;
    for (int i = selected.numberOfElements() - 1; i >= 0; --i) {
        const auto alarm = selected.elementAt(i);
        if (soundedOnly) {
            // An alarm that cannot compute its next moment will not sound again.
            const std::optional<Date> next = alarm->nextMomentAfter(watchNow);
            if (next && *next != Date::none()) {
                continue;
            }
        }
        if (const auto group = alarm->parent.lock()) {
            group->alarms.remove(alarm);
            group->setChanged();
        }
        removed.addElementAt(alarm, 0);
    }
    m_listener->alarmsChanged(removed, kindRemoved);
    return removed;
}

} // namespace halvika
