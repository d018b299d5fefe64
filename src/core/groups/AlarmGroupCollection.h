// The loaded alarm groups: loading, saving, imports and exports, unloading, and the alarm clipboard.
#pragma once

#include "containers/Vector.h"
#include "dates/Date.h"
#include "groups/AlarmGroup.h"
#include "groups/ChangeKinds.h"
#include "groups/GroupServices.h"
#include "text/FileWriteQueue.h"
#include "xml/XMLNode.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace halvika {

class Clipboard;
class WriteTally;

/// Results are Booleans meaning success. Every change is reported to the ChangeListener; nothing is saved at
/// the point of change.
class AlarmGroupCollection {
public:
    // Numbered texts of the main window's section.
    static constexpr int textFolderMissing = 102;
    static constexpr int textSaveFailedGoOn = 104;
    static constexpr int textGroupNotSaved = 105;
    static constexpr int textGroupsUnreadable = 107;
    static constexpr int textGroupsRepaired = 108;
    static constexpr int textDiskBusy = 114;
    static constexpr int textExportFailed = 201;
    static constexpr int textUnloadQuestion = 202;
    static constexpr int textChangedSinceImport = 203;
    static constexpr int textReloadQuestion = 204;
    static constexpr int textSaveAllQuestion = 205;
    static constexpr int textDeleteQuestion = 206;
    static constexpr int textDeleteSoundedQuestion = 207;
    static constexpr int textImportFailed = 211;
    static constexpr int textUnloadFailed = 212;
    static constexpr int textPluginExportFailed = 216;
    static constexpr int textCollectionName = 221;
    static constexpr int textCollectionExportFailed = 222;
    static constexpr int textNewGroupName = 305;

    AlarmGroupCollection(GroupServices& services, ChangeListener& listener);
    /// Changes go unreported until a listener is set.
    explicit AlarmGroupCollection(GroupServices& services);
    /// Where changes are reported from now on (the alarm watch, once it exists).
    void setListener(ChangeListener& listener) { m_listener = &listener; }

    Vector<AlarmGroup> alarmGroups;
    /// The alarm clipboard document "cb", and the group its alarms came from.
    XMLNodePtr ClipboardAlarms = XMLNode::Create("cb");
    std::shared_ptr<AlarmGroup> ClipboardParentAg;

    /// Reads the folder's ".agx" files, then hands its files of other formats to loadForeignGroupFiles.
    bool loadAlarmGroups();
    /// Group files of other formats in the folder, each read by its plug-ins in the background and reported
    /// added when its answer comes. At start the plug-ins are found after the ".agx" files are loaded, so
    /// this is asked again once they are known.
    void loadForeignGroupFiles();
    void unloadAllAlarmGroups(bool initial);
    bool reloadAlarmGroups();
    bool saveAlarmGroups(bool all);
    /// saveAlarmGroups(false) without a word to the user, waiting for the disk: for the exit. False when
    /// anything could not be written; `problems` then has a line per file with its reason.
    [[nodiscard]] bool writeChangedGroups(std::string& problems);
    /// The tick's save: every changed group's text goes to the file writer, and nothing waits for the disk.
    /// A write the disk refuses marks its group changed again and is listed by `takeWriteProblems`.
    void queueChangedGroups();
    /// Hands the group's text to the file writer as the tick would, and tells `confirmed` (at a report of the
    /// writer's outcomes) whether that text reached the disk; with a problem that names the file. A
    /// read-only group is refused at once.
    void queueGroupConfirmed(const std::shared_ptr<AlarmGroup>& group, FileWriteQueue::OutcomeHandler confirmed);
    /// A line per group file whose queued write failed (its path and reason) since the last call, once the
    /// writer's outcomes are reported; "" when none did.
    std::string takeWriteProblems();
    /// Every write and removal of the folder's files goes through it, in the order asked, so that a queued
    /// write never lands after a later one or brings back a deleted file.
    FileWriteQueue& fileWriter() { return m_fileWriter; }
    bool saveAlarmGroupFile(const std::shared_ptr<AlarmGroup>& group);
    /// Writes the group's file (naming it first when it has none) without a word to the user; on failure
    /// `problem` names the file and the reason. A read-only group is never written.
    [[nodiscard]] bool writeGroupFile(const std::shared_ptr<AlarmGroup>& group, std::string& problem);
    /// Makes `folder` the alarm group folder and hands every group's text to the file writer for it, as "Save
    /// all" does. A group whose file name is taken there by another file gets the first free name, so nothing
    /// in the folder is overwritten.
    void saveAllIntoFolder(const std::string& folder);
    /// Moves the group past its shown neighbour (hidden groups are stepped over) one place up (-1) or down
    /// (+1). False when there is no such neighbour.
    bool moveGroup(const std::shared_ptr<AlarmGroup>& group, int step);
    /// Swaps the alarm with its neighbour in its group, one place up (-1) or down (+1), and marks the group
    /// changed. False when the alarm is not in the group or there is no such neighbour.
    bool moveAlarm(const std::shared_ptr<AlarmGroup>& group, const std::shared_ptr<Alarm>& alarm, int step);
    /// Puts the shown groups into the order of `shown` (the sorted list); hidden groups keep their places.
    /// True when the order changed.
    bool orderShownGroups(const Vector<AlarmGroup>& shown);
    /// Whether the alarm still belongs to a loaded group (not deleted, cut or unloaded since it was found).
    [[nodiscard]] bool isLoaded(const Alarm& alarm) const;
    /// Files of other formats go to the import plug-ins in the background (a slow one holds up no alarm); the
    /// new groups are reported, and `done` told whether every file gave one, once the last has answered.
    void importAlarmGroupFiles(const std::vector<std::string>& paths, std::function<void(bool)> done);
    bool importAlarmGroupCollection(const std::string& filePath);
    bool importAlarmGroupsFromPlugin(const std::string& plugin);
    bool exportAlarmGroupFile(const std::shared_ptr<AlarmGroup>& group, const std::string& filePath);
    bool exportAlarmGroupToPlugin(const std::string& plugin, const std::shared_ptr<AlarmGroup>& group);
    bool exportAlarmGroupCollection(const Vector<AlarmGroup>& groups, const std::string& filePath);
    bool unloadAlarmGroups(const Vector<AlarmGroup>& groups);
    bool deleteAlarmGroupFile(const std::shared_ptr<AlarmGroup>& group);
    void synchronizeAlarmGroups(const Vector<AlarmGroup>& groups);
    /// A synchronisation that left work for later (its answer's "pending") is followed by another at once,
    /// up to this many times in a row; the rest waits for the regular round.
    static constexpr int maxFollowUpRounds = 20;
    /// The text without \ / : * ? " < > |.
    static std::string makeFileName(const std::string& text);

    // The main window's group commands, with their questions and messages.
    /// importAlarmGroupFiles, with text 211 when any file gave no group.
    void importFilesCommand(const std::vector<std::string>& paths, std::function<void(bool)> done = {});
    /// Exports one group, through the export plug-ins in the background for a file of another format; text
    /// 201 and the path on failure. `done` is told whether it succeeded.
    void exportFileCommand(const std::shared_ptr<AlarmGroup>& group, const std::string& filePath,
                           std::function<void(bool)> done = {});
    /// Text 216 with the group's name on failure.
    bool exportToPluginCommand(const std::string& plugin, const std::shared_ptr<AlarmGroup>& group);
    /// The proposed collection file name: text 221 with today's date.
    std::string proposedCollectionName(const Date& today, bool selectionOnly);
    /// Writes the collection through the file writer, so the disk holds up no alarm; text 222 and the path,
    /// as a notice, when it fails. `done` is told whether it succeeded.
    void exportCollectionCommand(const Vector<AlarmGroup>& groups, const std::string& filePath,
                                 std::function<void(bool)> done = {});
    /// Asks 204, then reloads. The files are read as last saved, so the reload waits for the file writer,
    /// but at most `reloadWaitMs`: a disk that does not answer leaves everything loaded as it is (text 114).
    bool reloadAllCommand();
    static constexpr int reloadWaitMs = 3000;
    /// Asks 205, then hands every shown group's text to the file writer, and `saveOthers` the settings and the
    /// to-do note, all on one tally: nothing waits for the disk. Once every write is told, one notice names
    /// what could not be saved (text 105 and its name for a group, which stays changed). False when the user
    /// said no.
    bool saveAllCommand(const std::function<void(WriteTally&)>& saveOthers);
    /// Asks 202, then 203 for each group changed since import (last first), then unloads; 212 on failure.
    bool unloadCommand(const Vector<AlarmGroup>& selected);
    /// A new group joins the collection and is reported added; false when the collection is full.
    bool addGroupCommand(const std::shared_ptr<AlarmGroup>& group);

    /// A new alarm from the group's template, for the editor; with no group loaded at all, a default group is
    /// added first (and reported added) and the alarm is made from it. With `askGroupName` the user names that
    /// group first; cancelling (or an empty name) adds nothing and gives no alarm.
    std::shared_ptr<Alarm> newAlarmCommand(const std::shared_ptr<AlarmGroup>& selected, bool askGroupName = false);

    // The alarm clipboard.
    /// Copies (or cuts) the alarms into the clipboard document; `view` is the view shown (0 the list) and
    /// `offset` the calendar offset recorded with it. With `toSystem` the document also goes to the desktop's
    /// clipboard as text.
    void copyAlarms(const Vector<Alarm>& selected, bool cut, std::int16_t view = 0, std::int32_t offset = 0,
                    Clipboard* toSystem = nullptr);
    /// Pastes into `target` (the calendar's group of origin takes its place when one is given); `fromSystem`
    /// takes the document from the desktop's clipboard instead. `shift` moves the pasted moments in a calendar
    /// view of the same number by the recorded offset: it is given that offset and returns the alarm moved.
    Vector<Alarm> pasteAlarms(const std::shared_ptr<AlarmGroup>& target, Clipboard* fromSystem = nullptr,
                              const std::function<void(Alarm&, std::int16_t view, std::int32_t offset)>& shift = {});
    /// Asks 206 (207), then removes the alarms (only those without a moment after `watchNow` for the
    /// sounded variant) and reports them removed. Returns the alarms removed.
    Vector<Alarm> deleteAlarms(const Vector<Alarm>& selected, bool soundedOnly, const Date& watchNow);
    /// deleteAlarms without its question.
    Vector<Alarm> removeAlarms(const Vector<Alarm>& selected, bool soundedOnly, const Date& watchNow);

private:
    void queueGroup(const std::shared_ptr<AlarmGroup>& group, FileWriteQueue::OutcomeHandler confirmed);
    static std::string collectionText(const Vector<AlarmGroup>& groups);
    /// Gives the groups whose file name is taken in the new folder (by a file there, or by another group)
    /// the first free names.
    void nameForNewFolder();
    /// A tally for writes the user asked for: one notice of what failed, once all are told.
    std::shared_ptr<WriteTally> toldOnceWritten();
    /// Every shown group that may be written goes to the file writer, confirmed on `tally`.
    void queueAllGroups(WriteTally& tally);
    void synchronizeGroup(const std::shared_ptr<AlarmGroup>& group, int followUpsLeft);
    std::string mainText(int number);
    [[nodiscard]] bool folderExists() const;
    /// Whether a group file name is in use: by a loaded group, a write still queued, a file the folder held
    /// when it was last listed or one a write found there, and with `lookOnDisk` by a file there now.
    [[nodiscard]] bool fileNameTaken(const std::string& storedPath, const std::string& folder, bool lookOnDisk) const;
    /// Gives a group without a file the first free name in the folder; true when it named it now.
    bool nameGroupFile(AlarmGroup& group, bool lookOnDisk);
    /// The groups of the folder's files.
    Vector<AlarmGroup> readFolder();
    /// `done`, after the message when the outcome is a failure.
    std::function<void(bool)> toldOnFailure(std::string message, std::function<void(bool)> done);
    /// One message for the files that could not be read whole, one for those whose text was repaired.
    void tellLoadProblems(const Vector<AlarmGroup>& loaded);
    void report(const Vector<AlarmGroup>& groups, std::int16_t kinds) { m_listener->groupsChanged(groups, kinds); }

    GroupServices& m_services;
    ChangeListener* m_listener;
    FileWriteQueue m_fileWriter;
    std::string m_writeProblems;
    std::set<std::string> m_foreignFilesBeingRead;
    /// The group files the folder held when it was last listed: the tick names new files without the disk.
    std::set<std::string> m_listedFiles;
};

} // namespace halvika
