// A named set of alarms, switched on or off as a whole, kept in a file of its own.
#pragma once

#include "alarms/Alarm.h"
#include "containers/Vector.h"
#include "groups/GroupPlugins.h"
#include "xml/XMLNode.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace halvika {

class FileWriteQueue;
struct GroupServices;

class AlarmGroup : public std::enable_shared_from_this<AlarmGroup> {
public:
    /// The start of a path kept relative to the alarm group folder.
    static constexpr const char* folderMark = "agPath";
    static constexpr std::int32_t windowTextColour = -2147483640; // &H80000008

    std::string name;
    bool Active = false;
    bool changedSinceImport = false;
    Vector<Alarm> alarms;
    std::int32_t Color = 0;
    /// The text form of the template alarm element ("tmpl"); "" for none.
    std::string templateText;
    std::string synchPlugin;
    XMLNodePtr synchSettings = XMLNode::Create("syst");
    /// Why the last synchronisation failed, in the plug-in's one sentence ("" after a success); shown beside
    /// the plug-in in the group list rather than in a box that would hold up the alarms. Not saved.
    std::string synchProblem;
    /// What the last synchronisation that brought any could carry over only approximately (the plug-in's
    /// "notes", its lines joined into one), shown the same way after any problem until a later one brings
    /// others. Not saved.
    std::string synchNotes;
    /// How much the last synchronisation left for another round (its answer's "pending"); 0 when it is done.
    int synchPending = 0;
    static constexpr int textNoSynchAnswer = 25;
    /// The group's file, "agPath/usg_3.agx" inside the alarm group folder; "" while it has none.
    std::string path;
    bool changed = false;
    bool selected = false;
    bool hidden = false;
    /// Why the group's file could not be read whole, in the user's language; "" when it was. Such a group is
    /// never saved over its file, nor is the file deleted.
    std::string loadProblem;
    /// Some bytes of the file were not UTF-8 and were read as Windows-1252 (the user is told once).
    bool textRepaired = false;
    [[nodiscard]] bool readOnly() const { return !loadProblem.empty(); }

    // Numbered texts of the section "AlarmGroup".
    static constexpr int textReadOnly = 3;
    static constexpr int textOn = 1;
    static constexpr int textOff = 2;
    static constexpr int textNotSynchronised = 11;
    static constexpr int textDefaultName = 101;
    static constexpr int textExportedThroughPlugin = 901;
    static constexpr int textUnreadable = 21;
    static constexpr int textEmpty = 22;
    static constexpr int textIncomplete = 23;
    static constexpr int textTooManyAlarms = 24;

    AlarmGroup() = default;
    AlarmGroup(const AlarmGroup&) = delete;
    AlarmGroup& operator=(const AlarmGroup&) = delete;

    void initialize() {
        alarms.clear();
        synchSettings = XMLNode::Create("syst");
    }

    static std::shared_ptr<AlarmGroup> createDefaultAlarmGroup(GroupServices& services);
    /// Reads a group from its XML text; a text that does not parse gives a group with default fields.
    static std::shared_ptr<AlarmGroup> createFromXML(std::string_view xml, GroupServices& services);
    /// ".agx" files are read directly, other extensions through the file import plug-ins; none when there
    /// is no extension or no plug-in makes a group of the file.
    static std::shared_ptr<AlarmGroup> createAlarmGroupFromFile(const std::string& filePath, GroupServices& services);
    /// As createAlarmGroupFromFile, marked as freshly imported and without a file of its own.
    static std::shared_ptr<AlarmGroup> createAlarmGroupFromImportedFile(const std::string& filePath,
                                                                        GroupServices& services);
    /// As createAlarmGroupFromFile, without waiting for a plug-in: a file of another format goes to the import
    /// plug-ins in the background, one after the other, and `done` gets the group the first makes (none when
    /// none does).
    static void createAlarmGroupFromFileLater(const std::string& filePath, GroupServices& services,
                                              std::function<void(std::shared_ptr<AlarmGroup>)> done);
    /// As createAlarmGroupFromImportedFile, in the same way.
    static void createAlarmGroupFromImportedFileLater(const std::string& filePath, GroupServices& services,
                                                      std::function<void(std::shared_ptr<AlarmGroup>)> done);

    /// Writes the group to an ".agx" file or exports it through a file plug-in. `manual`: the user asked
    /// for it (an export). False on failure, with the change flags as they were.
    [[nodiscard]] bool save(const std::string& filePath, bool manual, GroupServices& services,
                            std::string* reason = nullptr);
    /// save(filePath, true) for an export the user asked for, without waiting for the disk or a plug-in: an
    /// ".agx" file goes to `writer`, a file of another format to the export plug-ins in the background, one
    /// after the other until one succeeds, and `done` is told whether it was written.
    void exportLater(const std::string& filePath, GroupServices& services, FileWriteQueue& writer,
                     std::function<void(bool)> done);
    /// Brings a synchronised group up to date through its plug-in, waiting for its answer.
    [[nodiscard]] bool synchronize(GroupServices& services);
    /// The same in the background: the answer is taken when it comes (then `applied` is called), unless the
    /// group changed meanwhile or is gone.
    /// `problemChanged` is told when a failed round's cause differs from the last one's.
    void synchronizeLater(GroupServices& services, std::function<void()> applied,
                          std::function<void()> problemChanged = {});
    /// Takes the group a synchronisation plug-in answered with; false when the answer holds none.
    [[nodiscard]] bool applySynchronized(const std::string& reply, GroupServices& services);
    XMLNodePtr toXML() const;

    int numberOfAlarms() const { return alarms.numberOfElements(); }
    std::shared_ptr<Alarm> elementAt(int index) const { return alarms.elementAt(index); }
    [[nodiscard]] bool getChanged() const;
    [[nodiscard]] bool getChangedSinceImport() const { return changedSinceImport || getChanged(); }
    void setChanged() { changed = true; }
    /// A new alarm from the group's template, or the program's default one, owned by this group.
    std::shared_ptr<Alarm> getTemplateAlarm(GroupServices& services);
    /// The group list's cells: {name, on/off, synchronisation} and their colours.
    std::array<std::pair<std::string, std::string>, 3> getStringItems(GroupServices& services) const;

    /// The file a path names: "agPath..." is taken inside the folder; either separator is read.
    static std::string resolvePath(const std::string& storedPath, const std::string& folder);
    /// The stored form of a file's path: relative to the folder when it lies inside it.
    static std::string storedPath(const std::string& filePath, const std::string& folder);

private:
    /// The offered formats whose extensions hold the file's.
    static std::vector<GroupPlugins::FileFormat> formatsFor(const std::string& filePath,
                                                            std::vector<GroupPlugins::FileFormat> offered);
    static std::vector<GroupPlugins::FileFormat> importFormatsFor(const std::string& filePath, GroupServices& services);
    std::string exportRequest(const std::string& filePath, GroupServices& services) const;
    /// Whether an export plug-in's answer tells success; its notes are shown.
    static bool exportSucceeded(const std::string& reply, GroupServices& services);
    static void askExportPlugins(std::weak_ptr<AlarmGroup> group, const std::string& request, GroupServices& services,
                                 std::shared_ptr<std::vector<GroupPlugins::FileFormat>> formats, std::size_t next,
                                 std::function<void(bool)> done);
    /// The change marks after a save: the import mark for an export the user asked for, the group's own else.
    void savedAs(bool manual);
    static std::string importRequest(const std::string& filePath, GroupServices& services);
    /// The group of an import plug-in's answer, its notes shown; none when it holds no group.
    static std::shared_ptr<AlarmGroup> fromImportAnswer(const std::string& reply, GroupServices& services);
    /// The group marked as freshly imported, without a file of its own; none for none, or for a group that
    /// could not be read whole.
    static std::shared_ptr<AlarmGroup> asImported(std::shared_ptr<AlarmGroup> group);
    static void askImportPlugins(const std::string& filePath, GroupServices& services,
                                 std::shared_ptr<std::vector<GroupPlugins::FileFormat>> formats, std::size_t next,
                                 std::function<void(std::shared_ptr<AlarmGroup>)> done);
    void readAlarms(const XMLNode& root, GroupServices& services);
    static std::shared_ptr<AlarmGroup> createFromNode(const XMLNode& root, GroupServices& services);
    std::string synchronizeRequest(GroupServices& services) const;
    /// A group standing for a file that could not be read: named after the file, switched off, no alarms.
    static std::shared_ptr<AlarmGroup> unreadable(const std::string& filePath, const std::string& problem);
};

} // namespace halvika
