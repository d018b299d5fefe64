// The group collection: folder loading and naming, saving, imports, exports, unloading, clipboard, deleting.
#include "groups/AlarmGroupCollection.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/DatePrinter.h"
#include "fakes/FakeGroupPlugins.h"
#include "fakes/GroupTestServices.h"
#include "fakes/MemoryClipboard.h"
#include "fakes/RecordingChangeListener.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/TextFile.h"
#include "text/WriteTally.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>

namespace halvika {
namespace {

const char* kDaily = "<alrm><name>Daily</name><datk>1</datk><perl>1</perl><peru>3</peru>"
                     "<nexd>2026/01/01 07:00:00</nexd></alrm>";
const char* kPast = "<alrm><name>Past</name><datk>0</datk><oncd>2026/03/01 07:00:00</oncd></alrm>";

class AlarmGroupCollectionTest : public ::testing::Test {
protected:
    std::string group(const std::string& name, const std::string& alarms = "") {
        return "<algr><name>" + name + "</name><stat>-1</stat><chsi>0</chsi>" + alarms + "</algr>";
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(folder.file(name)); }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (int i = 0; i < groups.alarmGroups.numberOfElements(); ++i) {
            out.push_back(groups.alarmGroups.elementAt(i)->name);
        }
        return out;
    }

    /// A disk under the writer that holds every write until `letDiskGo`, and has no room for a file whose
    /// path ends with `full`.
    void holdDisk(std::string full = "\n") {
        setUp.disk = [this, full](const std::string& path, const std::string& content, std::string* reason) {
            std::unique_lock lock(diskMutex);
            diskWake.wait(lock, [this] { return diskOpen; });
            if (path.ends_with(full)) {
                *reason = "No space left on device";
                return false;
            }
            return TextFile::writeAtomically(path, content, reason);
        };
    }
    void letDiskGo() {
        const std::lock_guard lock(diskMutex);
        diskOpen = true;
        diskWake.notify_all();
    }

    // Before the collection, whose writer may still use them as it goes.
    std::mutex diskMutex;
    std::condition_variable diskWake;
    bool diskOpen = false;
    test::TempHome folder;
    test::GroupTestServices setUp{folder.path()};
    modTranslation& texts = setUp.texts;
    ColourScheme& colours = setUp.colours;
    test::ScriptedDialogs& dialogs = setUp.dialogs;
    test::FakeGroupPlugins& plugins = setUp.plugins;
    GroupServices& services = setUp.services;
    test::RecordingChangeListener listener;
    AlarmGroupCollection groups{services, listener};
};

TEST_F(AlarmGroupCollectionTest, LoadsGroupFilesAndFillsNamingGaps) {
    folder.write("usg_0.agx", group("Zero"));
    folder.write("USG_2.agx", group("Two"));
    folder.write("notes.txt", "not a group");
    folder.write("usg_noext", "no extension: no group");
    ASSERT_TRUE(groups.loadAlarmGroups());
    EXPECT_EQ(names(), (std::vector<std::string>{"Zero", "Two"}));
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].kinds, kindLoaded);
    EXPECT_EQ(listener.reports[0].count, 2);

    auto fresh = AlarmGroup::createDefaultAlarmGroup(services);
    fresh->setChanged(); // as the watch marks every group reported added
    groups.alarmGroups.addElement(fresh);
    ASSERT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_EQ(fresh->path, "agPath/usg_1.agx");
    EXPECT_TRUE(exists("usg_1.agx"));
}

TEST_F(AlarmGroupCollectionTest, ForeignGroupFilesAreImportedAndReplaced) {
    plugins.imports = {{"HalvikaICal*Import", "*.ics"}};
    plugins.replies[{"HalvikaICal*Import", "GetAlarmgroupFromFile"}] = "<r>" + group("Calendar") + "</r>";
    folder.write("usg_work.ics", "BEGIN:VCALENDAR");
    folder.write("usg_0.agx", group("Zero"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    EXPECT_EQ(names(), (std::vector<std::string>{"Zero", "Calendar"}));
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_FALSE(exists("usg_work.ics"));
    ASSERT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_TRUE(exists("usg_1.agx"));
    EXPECT_EQ(XMLNode::createFromFile(folder.file("usg_1.agx"))->getString("name"), "Calendar");
}

TEST_F(AlarmGroupCollectionTest, SavingAllHiddenGroupsAndFailures) {
    folder.write("usg_0.agx", group("Zero"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    auto hidden = AlarmGroup::createDefaultAlarmGroup(services);
    hidden->hidden = true;
    hidden->setChanged();
    groups.alarmGroups.addElement(hidden);
    // Renamed in memory without being marked changed: only "save all" writes it.
    groups.alarmGroups.elementAt(0)->name = "Renamed quietly";
    ASSERT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_EQ(XMLNode::createFromFile(folder.file("usg_0.agx"))->getString("name"), "Zero");
    EXPECT_EQ(hidden->path, ""); // a hidden group is never written

    dialogs.setNextAnswer(Dialogs::answerYes);
    ASSERT_TRUE(groups.saveAllCommand({}));
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_EQ(XMLNode::createFromFile(folder.file("usg_0.agx"))->getString("name"), "Renamed quietly");
    EXPECT_EQ(hidden->path, "");

    // A file that cannot be replaced (here a folder stands where the file should be): text 105 with the
    // group's name, then 104; the group stays marked so that the next save tries again.
    auto blocked = AlarmGroup::createDefaultAlarmGroup(services);
    blocked->name = "Blocked";
    blocked->path = "agPath/usg_9.agx";
    blocked->setChanged();
    std::filesystem::create_directory(folder.file("usg_9.agx"));
    groups.alarmGroups.addElement(blocked);
    dialogs.setNextAnswer(Dialogs::answerOk);
    dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_FALSE(groups.saveAlarmGroups(false));
    EXPECT_EQ(dialogs.shown()[dialogs.shown().size() - 2].text,
              texts.getMainText(105) + " Blocked\n" + folder.file("usg_9.agx") + ": Is a directory");
    EXPECT_TRUE(blocked->getChanged());
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("usg_9.agx")));
    groups.alarmGroups.remove(blocked);

    // A folder that disappeared: text 102 with the path, then 104 decides.
    services.alarmGroupFolder = folder.file("gone");
    dialogs.setNextAnswer(Dialogs::answerOk);
    dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_EQ(dialogs.shown().back().text, texts.getMainText(104));
    EXPECT_NE(dialogs.shown()[dialogs.shown().size() - 2].text.find(folder.file("gone")), std::string::npos);
    EXPECT_FALSE(groups.loadAlarmGroups());
    EXPECT_TRUE(dialogs.shown().back().notice); // told, without holding up the start
}

TEST_F(AlarmGroupCollectionTest, SaveAllWaitsForNoDiskAndTellsWhatFailedInOneNotice) {
    holdDisk("usg_1.agx");
    folder.write("usg_0.agx", group("Zero"));
    folder.write("usg_1.agx", group("One"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    const auto zero = groups.alarmGroups.elementAt(0);
    const auto one = groups.alarmGroups.elementAt(1);
    zero->name = "Zero!";
    dialogs.setNextAnswer(Dialogs::answerYes);
    // Returns while the disk holds everything (waiting for it here would never end).
    ASSERT_TRUE(groups.saveAllCommand([this](WriteTally& tally) {
        groups.fileWriter().writeConfirmed(folder.file("notes.txt"), "kept", false, {}, {}, tally.expect("Notes"));
    }));
    EXPECT_TRUE(groups.fileWriter().holds(folder.file("notes.txt")));
    letDiskGo();
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_EQ(dialogs.shown().size(), 1u); // only the question so far: nothing is told from the writer's thread
    groups.fileWriter().reportOutcomes();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown().back().text,
              texts.getMainText(105) + " One\n" + folder.file("usg_1.agx") + ": No space left on device");
    EXPECT_TRUE(dialogs.shown().back().notice); // whoever asked may have gone: no box holds the alarms
    EXPECT_TRUE(one->getChanged());             // saved again at the next round
    EXPECT_FALSE(zero->getChanged());
    EXPECT_EQ(XMLNode::createFromFile(folder.file("usg_0.agx"))->getString("name"), "Zero!");
    EXPECT_EQ(folder.read("notes.txt"), "kept");
    EXPECT_EQ(groups.takeWriteProblems(), ""); // told once, by the command, not again by the tick
}

TEST_F(AlarmGroupCollectionTest, AReloadWaitsForTheWriterOnlySoLongAndUnloadsNothingWhileTheDiskHangs) {
    holdDisk();
    folder.write("usg_0.agx", group("Zero"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    groups.alarmGroups.elementAt(0)->name = "Zero, renamed";
    groups.alarmGroups.elementAt(0)->setChanged();
    groups.queueChangedGroups(); // held by the disk
    dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_FALSE(groups.reloadAllCommand());
    EXPECT_EQ(dialogs.shown().back().text, texts.getMainText(114));
    EXPECT_TRUE(dialogs.shown().back().notice);
    EXPECT_EQ(names(), std::vector<std::string>{"Zero, renamed"}); // nothing unloaded

    letDiskGo();
    dialogs.setNextAnswer(Dialogs::answerYes);
    EXPECT_TRUE(groups.reloadAllCommand());
    EXPECT_EQ(names(), std::vector<std::string>{"Zero, renamed"}); // read as last saved
}

TEST_F(AlarmGroupCollectionTest, CollectionsImportAndExport) {
    folder.write("set.agc", "<whatever><algr><name>A</name></algr><other><name>B</name></other></whatever>");
    std::optional<bool> collected;
    groups.importAlarmGroupFiles({folder.file("set.agc")}, [&collected](bool ok) { collected = ok; });
    ASSERT_EQ(collected, true);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(groups.alarmGroups.elementAt(0)->path, "");

    // "x.AGC" is not a collection: it goes to the import plug-ins, and none takes it.
    folder.write("x.AGC", "<alarmgroupcollection><algr><name>C</name></algr></alarmgroupcollection>");
    std::optional<bool> imported;
    groups.importFilesCommand({folder.file("x.AGC")}, [&imported](bool ok) { imported = ok; });
    EXPECT_EQ(imported, false);
    EXPECT_EQ(dialogs.shown().back().text, texts.getMainText(211));
    EXPECT_TRUE(dialogs.shown().back().notice); // a plug-in's late answer leaves no box holding the alarms
    EXPECT_EQ(groups.alarmGroups.numberOfElements(), 2);

    ASSERT_TRUE(groups.exportAlarmGroupCollection(groups.alarmGroups, folder.file("out.agc")));
    const auto exported = XMLNode::createFromFile(folder.file("out.agc"));
    EXPECT_EQ(exported->name, "alarmgroupcollection");
    EXPECT_EQ(exported->getNumberOfNodesWithName("algr"), 2);
    std::optional<bool> exportedThere;
    groups.exportCollectionCommand(groups.alarmGroups, folder.file("missing/out.agc"),
                                   [&exportedThere](bool ok) { exportedThere = ok; });
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_FALSE(exportedThere.has_value()); // told on this thread, when the writer's outcomes are reported
    groups.fileWriter().reportOutcomes();
    EXPECT_EQ(exportedThere, false);
    EXPECT_EQ(dialogs.shown().back().text, texts.getMainText(222) + " " + folder.file("missing/out.agc"));
    EXPECT_TRUE(dialogs.shown().back().notice);

    EXPECT_EQ(groups.proposedCollectionName(Date::fromParts(2026, 3, 7), true), "Halvika alarm groups 2026-03-07.agc");
    EXPECT_EQ(AlarmGroupCollection::makeFileName("a\\b/c:d*e?f\"g<h>i|j"), "abcdefghij");
}

TEST_F(AlarmGroupCollectionTest, PluginImportTakesOnlyTheFirstGroup) {
    plugins.replies[{"HalvikaWeb*Import", "GetAlarmgroups"}] =
        "<r><alarmgroups>" + group("One") + group("Two") + group("Three") + "</alarmgroups></r>";
    plugins.deferCalls = true;
    EXPECT_TRUE(groups.importAlarmGroupsFromPlugin("HalvikaWeb*Import"));
    EXPECT_TRUE(names().empty()); // the plug-in is not waited for
    ASSERT_EQ(plugins.deferred.size(), 1u);
    plugins.deferred.front()();
    plugins.deferred.clear();
    plugins.deferCalls = false;
    EXPECT_EQ(names(), std::vector<std::string>{"One"});
    EXPECT_EQ(listener.reports.back().kinds, kindAdded);
    EXPECT_TRUE(groups.importAlarmGroupsFromPlugin("HalvikaBroken*Import")); // empty reply: nothing, still success
    EXPECT_EQ(groups.alarmGroups.numberOfElements(), 1);

    // An export goes out in the background with the group as it was when asked.
    plugins.deferCalls = true;
    const auto one = groups.alarmGroups.elementAt(0);
    EXPECT_TRUE(groups.exportToPluginCommand("HalvikaWeb*Export", one));
    one->name = "Renamed meanwhile";
    ASSERT_EQ(plugins.deferred.size(), 1u);
    plugins.deferred.front()();
    EXPECT_EQ(plugins.calls.back().method, "SetAlarmGroups");
    EXPECT_NE(plugins.calls.back().parameters.find("<name>One</name>"), std::string::npos);
}

TEST_F(AlarmGroupCollectionTest, ASynchronisationWithWorkLeftIsFollowedByAnotherButNotWithoutEnd) {
    auto synced = AlarmGroup::createFromXML(group("Synced"), services);
    synced->synchPlugin = "HalvikaSync*Cloud";
    groups.alarmGroups.addElement(synced);
    plugins.deferCalls = true;
    const auto synchronize = [this](const std::string& pending) {
        plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] =
            "<r>" + group("Synced") + "<pending>" + pending + "</pending></r>";
        groups.synchronizeAlarmGroups(groups.alarmGroups);
        int rounds = 0;
        while (!plugins.deferred.empty()) {
            const auto next = plugins.deferred.front();
            plugins.deferred.erase(plugins.deferred.begin());
            next();
            ++rounds;
        }
        return rounds;
    };
    EXPECT_EQ(synchronize("0"), 1);
    // A plug-in that always has more: the follow-ups stop at the limit; the regular round goes on later.
    EXPECT_EQ(synchronize("250"), 1 + AlarmGroupCollection::maxFollowUpRounds);
    EXPECT_EQ(synced->synchPending, 250);
}

TEST_F(AlarmGroupCollectionTest, GroupsMovePastHiddenOnesAndTakeTheShownOrder) {
    const auto make = [this](const char* name, bool hidden) {
        auto group = AlarmGroup::createDefaultAlarmGroup(services);
        group->name = name;
        group->hidden = hidden;
        groups.alarmGroups.addElement(group);
        return group;
    };
    const auto a = make("A", false);
    const auto h = make("H", true);
    const auto b = make("B", false);
    const auto c = make("C", false);
    const auto names = [this] {
        std::string all;
        for (int i = 0; i < groups.alarmGroups.numberOfElements(); ++i) {
            all += groups.alarmGroups.elementAt(i)->name;
        }
        return all;
    };
    EXPECT_TRUE(groups.moveGroup(a, 1)); // over the hidden H, past B
    EXPECT_EQ(names(), "HBAC");
    EXPECT_FALSE(groups.moveGroup(c, 1));
    EXPECT_FALSE(groups.moveGroup(h, -1)); // nothing shown above it
    EXPECT_FALSE(groups.moveGroup(b, -1)); // only the hidden H is above it

    // The sorted list's order C, B, A: the hidden group keeps its slot; a group no longer loaded is skipped.
    Vector<AlarmGroup> shown;
    shown.addElement(c);
    shown.addElement(AlarmGroup::createDefaultAlarmGroup(services));
    shown.addElement(b);
    shown.addElement(a);
    EXPECT_TRUE(groups.orderShownGroups(shown));
    EXPECT_EQ(names(), "HCBA");
    EXPECT_FALSE(groups.orderShownGroups(shown));

    // Alarms swap with their neighbour inside their group, which then needs saving.
    const auto first = a->getTemplateAlarm(services);
    const auto second = a->getTemplateAlarm(services);
    a->alarms.addElement(first);
    a->alarms.addElement(second);
    a->changed = false;
    EXPECT_FALSE(groups.moveAlarm(a, first, -1));
    EXPECT_FALSE(groups.moveAlarm(b, first, 1)); // not B's alarm
    EXPECT_FALSE(a->changed);
    EXPECT_TRUE(groups.moveAlarm(a, first, 1));
    EXPECT_EQ(a->alarms.elementAt(0), second);
    EXPECT_EQ(a->alarms.elementAt(1), first);
    EXPECT_TRUE(a->changed);
    EXPECT_FALSE(groups.moveAlarm(a, first, 1)); // already last
}

TEST_F(AlarmGroupCollectionTest, FilesOfOtherFormatsAreImportedInTheBackgroundOnePluginAfterTheOther) {
    plugins.imports = {{"HalvikaICal*Import", "*.ics"}, {"HalvikaOther*Import", "*.ics"}};
    plugins.replies[{"HalvikaICal*Import", "GetAlarmgroupFromFile"}] = "<reply><error>Not mine</error></reply>";
    plugins.replies[{"HalvikaOther*Import", "GetAlarmgroupFromFile"}] = "<reply><algr><name>Work</name></algr></reply>";
    plugins.deferCalls = true;
    folder.write("set.agc", "<c><algr><name>Local</name></algr></c>");
    std::optional<bool> imported;
    groups.importFilesCommand({folder.file("work.ics"), folder.file("set.agc")},
                              [&imported](bool ok) { imported = ok; });
    // Nothing waits for the plug-ins: the collection is in, the calendar is not yet.
    EXPECT_EQ(names(), std::vector<std::string>{"Local"});
    EXPECT_FALSE(imported.has_value());
    ASSERT_EQ(plugins.deferred.size(), 1u);
    ASSERT_EQ(plugins.calls.size(), 1u);
    EXPECT_EQ(plugins.calls[0].plugin, "HalvikaICal*Import");

    // The first plug-in's refusal (its note told) brings the next one's turn, whose group joins.
    auto answer = std::move(plugins.deferred.front());
    plugins.deferred.clear();
    answer();
    EXPECT_EQ(dialogs.shown().back().text, "Not mine");
    ASSERT_EQ(plugins.calls.size(), 2u);
    EXPECT_EQ(plugins.calls[1].plugin, "HalvikaOther*Import");
    EXPECT_FALSE(imported.has_value());
    answer = std::move(plugins.deferred.front());
    plugins.deferred.clear();
    answer();
    EXPECT_EQ(imported, true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Local", "Work"}));
    EXPECT_EQ(groups.alarmGroups.elementAt(1)->path, "");
    EXPECT_TRUE(groups.alarmGroups.elementAt(1)->getChanged());
    EXPECT_EQ(listener.reports.back().kinds, kindAdded);
    EXPECT_EQ(listener.reports.back().count, 1);
}

TEST_F(AlarmGroupCollectionTest, ForeignFilesOfTheFolderAreReadByTheirPluginsInTheBackground) {
    folder.write("usg_0.agx", group("Home"));
    folder.write("usg_1.ics", "BEGIN:VCALENDAR");
    folder.write("usg_2.xyz", "no plug-in reads this");
    // At start the plug-ins are not known yet: the ".agx" files are read, the others wait for them.
    ASSERT_TRUE(groups.loadAlarmGroups());
    EXPECT_EQ(names(), std::vector<std::string>{"Home"});
    EXPECT_TRUE(plugins.calls.empty());
    plugins.imports = {{"HalvikaICal*Import", "*.ics"}};
    plugins.replies[{"HalvikaICal*Import", "GetAlarmgroupFromFile"}] = "<reply><algr><name>Cal</name></algr></reply>";
    plugins.deferCalls = true;
    groups.loadForeignGroupFiles();
    EXPECT_EQ(names(), std::vector<std::string>{"Home"}); // nothing waited for the plug-in
    ASSERT_EQ(plugins.deferred.size(), 1u);
    // A reload meanwhile neither waits for the plug-in nor hands it the file a second time.
    ASSERT_TRUE(groups.reloadAlarmGroups());
    groups.loadForeignGroupFiles();
    EXPECT_EQ(names(), std::vector<std::string>{"Home"});
    ASSERT_EQ(plugins.deferred.size(), 1u);
    plugins.deferred.front()();
    EXPECT_EQ(names(), (std::vector<std::string>{"Home", "Cal"}));
    EXPECT_EQ(groups.alarmGroups.elementAt(1)->path, "");
    EXPECT_TRUE(groups.alarmGroups.elementAt(1)->getChanged()); // saved as an ".agx" file at the next save
    EXPECT_EQ(listener.reports.back().kinds, kindAdded);
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_FALSE(exists("usg_1.ics"));
    EXPECT_TRUE(exists("usg_2.xyz")); // what no plug-in read stays
}

TEST_F(AlarmGroupCollectionTest, GroupsHandedToTheWriterTogetherGetFileNamesOfTheirOwnAndAreWrittenWhole) {
    folder.write("usg_0.agx", group("Zero"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    std::vector<std::shared_ptr<AlarmGroup>> fresh;
    for (const char* name : {"One", "Two"}) {
        fresh.push_back(AlarmGroup::createDefaultAlarmGroup(services));
        fresh.back()->name = name;
        fresh.back()->setChanged();
        groups.alarmGroups.addElement(fresh.back());
    }
    // Neither file is on disk when the second is named: a queued name is taken all the same.
    groups.queueChangedGroups();
    EXPECT_EQ(fresh[0]->path, "agPath/usg_1.agx");
    EXPECT_EQ(fresh[1]->path, "agPath/usg_2.agx");
    EXPECT_FALSE(fresh[0]->getChanged());
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_NE(folder.read("usg_1.agx").find("<name>One</name>"), std::string::npos);
    EXPECT_NE(folder.read("usg_2.agx").find("<name>Two</name>"), std::string::npos);
    groups.fileWriter().reportOutcomes();
    EXPECT_EQ(groups.takeWriteProblems(), "");

    // A refused write marks its group changed again, for the next round, and names the file and reason.
    setUp.disk = [](const std::string&, const std::string&, std::string* reason) {
        *reason = "Disk quota exceeded";
        return false;
    };
    fresh[0]->name = "One!";
    fresh[0]->setChanged();
    groups.queueChangedGroups();
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    EXPECT_FALSE(fresh[0]->getChanged()); // until the outcome is taken on this thread
    EXPECT_EQ(groups.fileWriter().reportOutcomes(), 1);
    EXPECT_TRUE(fresh[0]->getChanged());
    EXPECT_EQ(groups.takeWriteProblems(), "\n" + folder.file("usg_1.agx") + ": Disk quota exceeded");
    EXPECT_NE(folder.read("usg_1.agx").find("<name>One</name>"), std::string::npos); // the old file stands
}

TEST_F(AlarmGroupCollectionTest, AFileThatCameIntoTheFolderAfterItWasListedIsNeverWrittenOverByANewGroup) {
    folder.write("usg_0.agx", group("Zero"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    folder.write("usg_1.agx", "someone else's");
    folder.write("usg_2.agx", "another one's");
    const auto add = [&](const char* name) {
        auto g = AlarmGroup::createDefaultAlarmGroup(services);
        g->name = name;
        g->setChanged();
        groups.alarmGroups.addElement(g);
        return g;
    };
    // The tick names the file from what it knows, without the disk; the writer finds the name taken.
    auto one = add("One");
    groups.queueChangedGroups();
    EXPECT_EQ(one->path, "agPath/usg_1.agx");
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    listener.reports.clear();
    EXPECT_EQ(groups.fileWriter().reportOutcomes(), 0);
    EXPECT_EQ(groups.takeWriteProblems(), ""); // nothing to tell the user: the group is saved under another name
    EXPECT_TRUE(one->path.empty());
    EXPECT_TRUE(one->getChanged());
    ASSERT_EQ(listener.reports.size(), 1u);
    EXPECT_EQ(listener.reports[0].kinds, kindContentChanged); // which asks for the next save
    groups.queueChangedGroups();
    EXPECT_EQ(one->path, "agPath/usg_2.agx");
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    groups.fileWriter().reportOutcomes();
    groups.queueChangedGroups();
    EXPECT_EQ(one->path, "agPath/usg_3.agx");
    ASSERT_TRUE(groups.fileWriter().waitUntilDone());
    groups.fileWriter().reportOutcomes();
    EXPECT_NE(folder.read("usg_3.agx").find("<name>One</name>"), std::string::npos);

    // A save the user asks for before the tick has heard of the refusal looks on the disk and names anew.
    folder.write("usg_4.agx", "a third one's");
    auto two = add("Two");
    groups.queueChangedGroups();
    EXPECT_EQ(two->path, "agPath/usg_4.agx");
    ASSERT_TRUE(groups.saveAlarmGroupFile(two));
    EXPECT_EQ(two->path, "agPath/usg_5.agx");
    groups.fileWriter().reportOutcomes();
    EXPECT_EQ(two->path, "agPath/usg_5.agx");
    EXPECT_NE(folder.read("usg_5.agx").find("<name>Two</name>"), std::string::npos);
    EXPECT_EQ(folder.read("usg_1.agx"), "someone else's");
    EXPECT_EQ(folder.read("usg_2.agx"), "another one's");
    EXPECT_EQ(folder.read("usg_4.agx"), "a third one's");
}

TEST_F(AlarmGroupCollectionTest, UnloadingAsksAndDeletesFiles) {
    folder.write("usg_0.agx", group("Kept"));
    folder.write("usg_1.agx", group("Gone"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    auto unsaved = AlarmGroup::createDefaultAlarmGroup(services); // changed since import, no file
    groups.alarmGroups.addElement(unsaved);
    Vector<AlarmGroup> selected;
    selected.addElement(groups.alarmGroups.elementAt(1));
    selected.addElement(unsaved);

    dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_FALSE(groups.unloadCommand(selected));
    EXPECT_EQ(groups.alarmGroups.numberOfElements(), 3);

    dialogs.setNextAnswer(Dialogs::answerYes); // unload?
    dialogs.setNextAnswer(Dialogs::answerYes); // the unsaved group too?
    ASSERT_TRUE(groups.unloadCommand(selected));
    EXPECT_EQ(names(), std::vector<std::string>{"Kept"});
    ASSERT_TRUE(groups.fileWriter().waitUntilDone()); // removed after any write of it still queued
    EXPECT_FALSE(exists("usg_1.agx"));
    EXPECT_TRUE(exists("usg_0.agx"));
    EXPECT_EQ(dialogs.shown().back().text, unsaved->name + " " + texts.getMainText(203));
    EXPECT_EQ(listener.reports.back().kinds, kindRemoved);
    EXPECT_EQ(listener.reports.back().count, 2);
}

TEST_F(AlarmGroupCollectionTest, ClipboardCopyCutAndPaste) {
    folder.write("usg_0.agx", group("From", kDaily));
    folder.write("usg_1.agx", group("To"));
    ASSERT_TRUE(groups.loadAlarmGroups());
    const auto from = groups.alarmGroups.elementAt(0);
    const auto to = groups.alarmGroups.elementAt(1);

    test::MemoryClipboard system;
    system.setText("old");
    groups.copyAlarms(from->alarms, false, 0, 0, &system);
    EXPECT_EQ(groups.ClipboardParentAg, from);
    EXPECT_EQ(groups.ClipboardAlarms->getNumberOfNodesWithName("al"), 1);
    EXPECT_EQ(groups.ClipboardAlarms->getInteger("cc", 0, -1), 0);
    EXPECT_EQ(groups.ClipboardAlarms->getNodeIndex("dd"), -1);
    EXPECT_EQ(system.text(), groups.ClipboardAlarms->toString());

    auto pasted = groups.pasteAlarms(to);
    ASSERT_EQ(pasted.numberOfElements(), 1);
    EXPECT_EQ(to->numberOfAlarms(), 1);
    EXPECT_EQ(to->elementAt(0)->parent.lock(), to);
    EXPECT_TRUE(to->getChanged());
    EXPECT_NE(to->elementAt(0), from->elementAt(0)); // its own object
    EXPECT_EQ(listener.reports.back().kinds, kindAdded);

    groups.copyAlarms(from->alarms.getCopy(), true, 2, -3);
    EXPECT_EQ(from->numberOfAlarms(), 0);
    EXPECT_EQ(groups.ClipboardAlarms->getLong("dd", 0, 0), -3);
    EXPECT_EQ(listener.reports.back().kinds, kindRemoved);

    // Pasting from the system clipboard leaves the program's own clipboard as it was.
    system.setText("<cb><al><name>From outside</name></al><cc>0</cc></cb>");
    const std::string own = groups.ClipboardAlarms->toString();
    groups.pasteAlarms(from, &system);
    EXPECT_EQ(from->elementAt(0)->name, "From outside");
    EXPECT_EQ(groups.ClipboardAlarms->toString(), own);
    system.setText("garbage");
    EXPECT_EQ(groups.pasteAlarms(from, &system).numberOfElements(), 0);
    EXPECT_EQ(groups.pasteAlarms(nullptr).numberOfElements(), 0); // no group selected
}

TEST_F(AlarmGroupCollectionTest, NewAlarmsComeFromTheTemplateAndNeedAGroup) {
    // Asked for the new group's name: cancelling or a blank name leaves nothing behind.
    const std::size_t reportsBefore = listener.reports.size();
    EXPECT_EQ(groups.newAlarmCommand(nullptr, true), nullptr);
    dialogs.setNextText("   ");
    EXPECT_EQ(groups.newAlarmCommand(nullptr, true), nullptr);
    EXPECT_EQ(groups.alarmGroups.numberOfElements(), 0);
    EXPECT_EQ(listener.reports.size(), reportsBefore);
    ASSERT_EQ(dialogs.textRequests().size(), 2u);
    EXPECT_EQ(dialogs.textRequests()[0].prompt, "Name of the new alarm group:");
    EXPECT_EQ(dialogs.textRequests()[0].proposed, "New alarm group");
    dialogs.setNextText(" Medicine ");
    auto named = groups.newAlarmCommand(nullptr, true);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->parent.lock()->name, "Medicine");
    groups.alarmGroups.clear();

    auto first = groups.newAlarmCommand(nullptr);
    ASSERT_EQ(groups.alarmGroups.numberOfElements(), 1);
    EXPECT_EQ(groups.alarmGroups.elementAt(0)->name, "New alarm group");
    EXPECT_EQ(listener.reports.back().kinds, kindAdded);
    EXPECT_EQ(first->parent.lock(), groups.alarmGroups.elementAt(0));
    EXPECT_EQ(first->name, "New alarm");
    EXPECT_EQ(groups.alarmGroups.elementAt(0)->numberOfAlarms(), 0); // the editor adds it when confirmed

    auto templated = AlarmGroup::createFromXML(group("T", "<tmpl><name>Pill</name><datk>1</datk></tmpl>"), services);
    groups.alarmGroups.addElement(templated);
    auto second = groups.newAlarmCommand(templated);
    EXPECT_EQ(second->name, "Pill");
    EXPECT_EQ(second->parent.lock(), templated);
    EXPECT_EQ(groups.alarmGroups.numberOfElements(), 2);
}

TEST_F(AlarmGroupCollectionTest, DeletingAlarmsAndSoundedAlarms) {
    folder.write("usg_0.agx", group("G", std::string(kDaily) + kPast));
    ASSERT_TRUE(groups.loadAlarmGroups());
    const auto g = groups.alarmGroups.elementAt(0);
    const Date now = Date::fromParts(2026, 3, 7, 12, 0, 0);

    dialogs.setNextAnswer(Dialogs::answerNo);
    EXPECT_EQ(groups.deleteAlarms(g->alarms.getCopy(), false, now).numberOfElements(), 0);
    EXPECT_EQ(g->numberOfAlarms(), 2);

    dialogs.setNextAnswer(Dialogs::answerYes);
    const auto removed = groups.deleteAlarms(g->alarms.getCopy(), true, now);
    ASSERT_EQ(removed.numberOfElements(), 1);
    EXPECT_EQ(removed.elementAt(0)->name, "Past");
    EXPECT_EQ(dialogs.shown().back().text, texts.getMainText(207));
    ASSERT_EQ(g->numberOfAlarms(), 1);
    EXPECT_EQ(g->elementAt(0)->name, "Daily");
    EXPECT_TRUE(g->getChanged());
    EXPECT_EQ(listener.reports.back().kinds, kindRemoved);
    EXPECT_EQ(folder.read("usg_0.agx").find("Past") != std::string::npos, true); // nothing written yet
}

TEST_F(AlarmGroupCollectionTest, FilesThatCannotBeReadWholeAreKeptByteForByteAndToldOnce) {
    namespace fs = std::filesystem;
    const std::string garbage = "\x89PNG\r\n not a group at all";
    const std::string truncated = "<algr><name>Cut</name><alrm><name>A</name>";
    const std::string deep = std::string(5000, '<');
    folder.write("usg_0.agx", "<algr><name>Good</name><alrm><name>Kept</name></alrm></algr>");
    folder.write("usg_1.agx", "");
    folder.write("usg_2.agx", garbage);
    folder.write("usg_3.agx", truncated);
    folder.write("usg_4.agx", deep);
    folder.write("usg_5.agx", "<algr><name>Locked</name></algr>");
    fs::permissions(folder.file("usg_5.agx"), fs::perms::none);
    const bool runningAsRoot = ::geteuid() == 0; // root reads any file
    ASSERT_TRUE(groups.loadAlarmGroups());
    ASSERT_EQ(groups.alarmGroups.numberOfElements(), 6);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const std::string told = dialogs.shown()[0].text;
    EXPECT_EQ(told.rfind(texts.getMainText(107), 0), 0u);
    for (const char* file : {"usg_1.agx", "usg_2.agx", "usg_3.agx", "usg_4.agx"}) {
        EXPECT_NE(told.find(folder.file(file)), std::string::npos) << file;
    }
    EXPECT_NE(told.find(texts.getText("AlarmGroup", AlarmGroup::textEmpty)), std::string::npos);
    if (!runningAsRoot) {
        EXPECT_NE(told.find(folder.file("usg_5.agx") + ": " + texts.getText("AlarmGroup", AlarmGroup::textUnreadable) +
                            " Permission denied"),
                  std::string::npos);
    }
    const auto failed = groups.alarmGroups.elementAt(2);
    EXPECT_TRUE(failed->readOnly());
    EXPECT_EQ(failed->name, "usg_2.agx");
    EXPECT_FALSE(failed->Active);
    EXPECT_EQ(failed->getStringItems(services)[1].first, texts.getText("AlarmGroup", AlarmGroup::textReadOnly));

    // Changed, saved, saved all, unloaded: the files stay exactly as they were.
    for (int i = 1; i < 5; ++i) {
        groups.alarmGroups.elementAt(i)->setChanged();
    }
    EXPECT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_TRUE(groups.saveAlarmGroups(true));
    Vector<AlarmGroup> unload;
    unload.addElement(failed);
    EXPECT_TRUE(groups.unloadAlarmGroups(unload));
    EXPECT_EQ(folder.read("usg_1.agx"), "");
    EXPECT_EQ(folder.read("usg_2.agx"), garbage);
    EXPECT_EQ(folder.read("usg_3.agx"), truncated);
    EXPECT_EQ(folder.read("usg_4.agx"), deep);
    fs::permissions(folder.file("usg_5.agx"), fs::perms::owner_all);
    if (!runningAsRoot) {
        EXPECT_EQ(folder.read("usg_5.agx"), "<algr><name>Locked</name></algr>");
    }
}

TEST_F(AlarmGroupCollectionTest, AGroupTooLargeToHoldWholeIsReadOnlyAndARepairedFileIsTold) {
    std::string big = "<algr><name>Huge</name>";
    for (int i = 0; i < VectorStorage<int>::kMaxCount + 5; ++i) {
        big += "<alrm><name>a" + std::to_string(i) + "</name></alrm>";
    }
    big += "</algr>";
    folder.write("usg_0.agx", big);
    folder.write("usg_1.agx", "<algr><name>M\xC3\xBCller \xE2\x98\x95 caf\xE9</name></algr>");
    ASSERT_TRUE(groups.loadAlarmGroups());
    const auto huge = groups.alarmGroups.elementAt(0);
    EXPECT_EQ(huge->numberOfAlarms(), VectorStorage<int>::kMaxCount);
    EXPECT_TRUE(huge->readOnly());
    huge->setChanged();
    EXPECT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_EQ(folder.read("usg_0.agx"), big);

    const auto repaired = groups.alarmGroups.elementAt(1);
    EXPECT_FALSE(repaired->readOnly());
    EXPECT_EQ(repaired->name, "M\xC3\xBCller \xE2\x98\x95 caf\xC3\xA9");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, texts.getMainText(108) + "\n" + folder.file("usg_1.agx"));
    repaired->setChanged();
    EXPECT_TRUE(groups.saveAlarmGroups(false));
    EXPECT_NE(folder.read("usg_1.agx").find("M\xC3\xBCller \xE2\x98\x95 caf\xC3\xA9"), std::string::npos);
}

} // namespace
} // namespace halvika
