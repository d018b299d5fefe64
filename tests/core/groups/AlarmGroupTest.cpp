// The alarm group: its file, older form, change flags, plug-in import, export and synchronisation.
#include "groups/AlarmGroup.h"
#include "base/MessageBoxRoutine.h"
#include "fakes/DatePrinter.h"
#include "fakes/FakeGroupPlugins.h"
#include "fakes/GroupTestServices.h"
#include "fakes/ScriptedDialogs.h"
#include "fakes/TempHome.h"
#include "groups/GroupServices.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <optional>

namespace halvika {
namespace {

class AlarmGroupTest : public ::testing::Test {
protected:
    test::TempHome home;
    test::GroupTestServices setUp{home.path()};
    modTranslation& texts = setUp.texts;
    ColourScheme& colours = setUp.colours;
    test::ScriptedDialogs& dialogs = setUp.dialogs;
    test::FakeGroupPlugins& plugins = setUp.plugins;
    GroupServices& services = setUp.services;
};

TEST_F(AlarmGroupTest, EmptyFileGivesADefaultGroup) {
    auto g = AlarmGroup::createFromXML("<algr></algr>", services);
    EXPECT_EQ(g->name, "New alarm group");
    EXPECT_TRUE(g->Active);
    EXPECT_TRUE(g->changedSinceImport);
    EXPECT_EQ(g->numberOfAlarms(), 0);
    EXPECT_EQ(g->Color, AlarmGroup::windowTextColour); // no scheme in use
    EXPECT_EQ(g->synchSettings->toString(), "<syst></syst>");
    auto garbage = AlarmGroup::createFromXML("\x01\x02 not xml", services);
    EXPECT_EQ(garbage->name, "New alarm group");
}

TEST_F(AlarmGroupTest, FileLayoutRoundTrip) {
    auto g = AlarmGroup::createFromXML(
        "<algr><name>Work</name><stat>0</stat><chsi>0</chsi><colr>255</colr><tmpl><name>T</name><datk>1</datk></tmpl>"
        "<sync></sync><syst><x>1</x></syst><alrm><name>A</name></alrm><alrm><name>B</name></alrm></algr>",
        services);
    EXPECT_EQ(g->name, "Work");
    EXPECT_FALSE(g->Active);
    EXPECT_FALSE(g->getChangedSinceImport());
    ASSERT_EQ(g->numberOfAlarms(), 2);
    EXPECT_EQ(g->elementAt(1)->name, "B");
    EXPECT_EQ(g->elementAt(0)->parent.lock(), g);
    EXPECT_EQ(g->toXML()->toString(),
              "<algr><name>Work</name><stat>0</stat><chsi>0</chsi><colr>255</colr><tmpl><name>T</name><datk>1</datk>"
              "</tmpl><sync></sync><syst><x>1</x></syst>" +
                  g->elementAt(0)->toXML("alrm")->toString() + g->elementAt(1)->toXML("alrm")->toString() + "</algr>");

    auto t = g->getTemplateAlarm(services);
    EXPECT_EQ(t->name, "T");
    EXPECT_EQ(t->momentKind, 1);
    EXPECT_EQ(t->parent.lock(), g);
    auto plain = AlarmGroup::createDefaultAlarmGroup(services);
    EXPECT_EQ(plain->getTemplateAlarm(services)->name, "New alarm");
}

TEST_F(AlarmGroupTest, OlderFormKeepsTheTemplateInsideSyst) {
    auto old = AlarmGroup::createFromXML("<algr><type>0</type><syst><al><name>Old</name></al></syst></algr>", services);
    EXPECT_EQ(old->templateText, "<al><name>Old</name></al>");
    auto both = AlarmGroup::createFromXML(
        "<algr><type>0</type><syst><al><name>Old</name></al></syst><tmpl><name>New</name></tmpl></algr>", services);
    EXPECT_EQ(both->templateText, "<tmpl><name>New</name></tmpl>");
    auto noType = AlarmGroup::createFromXML("<algr><syst><al><name>Old</name></al></syst></algr>", services);
    EXPECT_EQ(noType->templateText, "");
}

TEST_F(AlarmGroupTest, ChangeFlagsAndSaving) {
    auto g = AlarmGroup::createFromXML("<algr><chsi>0</chsi><alrm><name>A</name></alrm></algr>", services);
    EXPECT_FALSE(g->getChanged());
    g->elementAt(0)->setChanged();
    EXPECT_TRUE(g->getChanged());
    EXPECT_TRUE(g->toXML()->getBoolean("chsi")); // a changed alarm makes the file say so

    g->setChanged();
    ASSERT_TRUE(g->save(home.file("usg_0.agx"), false, services));
    EXPECT_FALSE(g->changed);
    EXPECT_TRUE(g->changedSinceImport == false);
    g->changedSinceImport = true;
    ASSERT_TRUE(g->save(home.file("export.agx"), true, services));
    EXPECT_FALSE(g->changedSinceImport);

    g->setChanged();
    EXPECT_FALSE(g->save(home.file("no-extension"), false, services));
    EXPECT_FALSE(g->save(home.file("missing/usg_1.agx"), false, services));
    EXPECT_TRUE(g->changed); // a failed save keeps the group marked for the next try

    auto loaded = AlarmGroup::createAlarmGroupFromFile(home.file("usg_0.agx"), services);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->path, "agPath/usg_0.agx");
    EXPECT_EQ(AlarmGroup::resolvePath(loaded->path, home.path()), home.file("usg_0.agx"));
    EXPECT_EQ(AlarmGroup::resolvePath("agPath\\usg_3.agx", "/f"), "/f/usg_3.agx");
    EXPECT_EQ(AlarmGroup::resolvePath("/elsewhere/g.agx", "/f"), "/elsewhere/g.agx");
    EXPECT_FALSE(AlarmGroup::createAlarmGroupFromFile(home.file("noextension"), services));
    // An unreadable ".agx" file still gives a group.
    EXPECT_TRUE(AlarmGroup::createAlarmGroupFromFile(home.file("gone.agx"), services));
}

TEST_F(AlarmGroupTest, ForeignFilesGoThroughImportPlugins) {
    plugins.imports = {{"HalvikaICal*Import", "*.ics;*.ical"}, {"HalvikaOther*Import", "*.ics"}};
    plugins.replies[{"HalvikaICal*Import", "GetAlarmgroupFromFile"}] = "<reply><error>no</error></reply>";
    plugins.replies[{"HalvikaOther*Import", "GetAlarmgroupFromFile"}] =
        "<reply><algr><name>Holidays</name><alrm><name>X</name></alrm></algr><algr><name>Second</name></algr></reply>";
    auto g = AlarmGroup::createAlarmGroupFromImportedFile(home.file("work.ics"), services);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->name, "Holidays");
    EXPECT_EQ(g->numberOfAlarms(), 1);
    EXPECT_TRUE(g->changed);
    EXPECT_FALSE(g->changedSinceImport);
    EXPECT_EQ(g->path, "");
    ASSERT_EQ(plugins.calls.size(), 2u);
    EXPECT_EQ(plugins.calls[0].parameters, "<lang>en-us</lang><path>" + home.file("work.ics") + "</path>");

    // The extension is compared exactly: "Work.AGX" is a foreign file, and no plug-in takes it.
    EXPECT_FALSE(AlarmGroup::createAlarmGroupFromFile(home.file("Work.AGX"), services));
    services.plugins = nullptr;
    EXPECT_FALSE(AlarmGroup::createAlarmGroupFromFile(home.file("work.ics"), services));
}

TEST_F(AlarmGroupTest, ExportThroughPluginsWarnsAndNeedsSuccess) {
    auto g = AlarmGroup::createDefaultAlarmGroup(services);
    plugins.exports = {{"HalvikaICal*Export", "*.ics"}};
    EXPECT_FALSE(g->save(home.file("out.ics"), true, services));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].style, 48);
    EXPECT_TRUE(g->changedSinceImport);

    plugins.replies[{"HalvikaICal*Export", "SaveAlarmgroupToFile"}] = "<r><success>false</success></r>";
    EXPECT_TRUE(g->save(home.file("out.ics"), true, services));
    EXPECT_FALSE(g->changedSinceImport);
    EXPECT_EQ(plugins.calls.back().parameters.rfind("<lang>en-us</lang><path>", 0), 0u);
}

TEST_F(AlarmGroupTest, AnExportThroughPluginsRunsInTheBackgroundOneAfterTheOther) {
    FileWriteQueue writer;
    auto g = AlarmGroup::createDefaultAlarmGroup(services);
    g->name = "Before";
    plugins.exports = {{"HalvikaICal*Export", "*.ics"}, {"HalvikaOther*Export", "*.ics;*.vcs"}};
    plugins.replies[{"HalvikaICal*Export", "SaveAlarmgroupToFile"}] = "<r><error>Disk full</error></r>";
    plugins.replies[{"HalvikaOther*Export", "SaveAlarmgroupToFile"}] = "<r><success/></r>";
    plugins.deferCalls = true;
    std::optional<bool> exported;
    g->exportLater(home.file("out.ics"), services, writer, [&exported](bool ok) { exported = ok; });
    g->name = "Changed meanwhile";
    // Warned at once; nothing waits for the first plug-in, which refuses, and its note is told.
    ASSERT_EQ(dialogs.shown().size(), 1u);
    ASSERT_EQ(plugins.deferred.size(), 1u);
    EXPECT_FALSE(exported.has_value());
    auto answer = std::move(plugins.deferred.front());
    plugins.deferred.clear();
    answer();
    EXPECT_EQ(dialogs.shown().back().text, "Disk full");
    EXPECT_FALSE(exported.has_value());
    ASSERT_EQ(plugins.deferred.size(), 1u);
    plugins.deferred.front()();
    EXPECT_EQ(exported, true);
    EXPECT_FALSE(g->changedSinceImport);
    // Both plug-ins were sent the group as it was when the user asked.
    ASSERT_EQ(plugins.calls.size(), 2u);
    EXPECT_NE(plugins.calls[1].parameters.find("<name>Before</name>"), std::string::npos);
    EXPECT_EQ(plugins.calls[1].plugin, "HalvikaOther*Export");

    // A file no plug-in writes fails without a call; an ".agx" file goes to the file writer.
    exported.reset();
    g->exportLater(home.file("out.txt"), services, writer, [&exported](bool ok) { exported = ok; });
    EXPECT_EQ(exported, false);
    EXPECT_EQ(plugins.calls.size(), 2u);
    exported.reset();
    g->changedSinceImport = true;
    g->exportLater(home.file("out.agx"), services, writer, [&exported](bool ok) { exported = ok; });
    ASSERT_TRUE(writer.waitUntilDone());
    EXPECT_FALSE(exported.has_value()); // told on this thread, at the writer's report
    writer.reportOutcomes();
    EXPECT_EQ(exported, true);
    EXPECT_FALSE(g->changedSinceImport);
    EXPECT_EQ(XMLNode::createFromFile(home.file("out.agx"))->getString("name"), "Changed meanwhile");
}

TEST_F(AlarmGroupTest, SynchronisedGroupsAreBroughtUpToDateInTheBackground) {
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] =
        "<r><algr><name>From the cloud</name><alrm><name>Remote</name></alrm><syst><token>2</token></syst></algr></r>";
    const char* local = "<algr><name>Local</name><sync>HalvikaSync*Cloud</sync><syst><token>1</token></syst>"
                        "<alrm><name>Stale</name></alrm></algr>";
    auto g = AlarmGroup::createFromXML(local, services);
    EXPECT_TRUE(plugins.calls.empty()); // reading never waits for a plug-in

    // Edited while the answer was on its way: the edit wins, the answer is dropped.
    plugins.deferCalls = true;
    int applied = 0;
    g->synchronizeLater(services, [&applied] { ++applied; });
    g->elementAt(0)->name = "Edited meanwhile";
    ASSERT_EQ(plugins.deferred.size(), 1u);
    plugins.deferred[0]();
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(g->name, "Local");
    g->elementAt(0)->name = "Stale";

    // A failed round whose cause is new is told once; the same cause again is not.
    int told = 0;
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] = "<reply><error>The server is down.</error></reply>";
    for (int round = 0; round < 2; ++round) {
        plugins.deferred.clear();
        g->synchronizeLater(
            services, [&applied] { ++applied; }, [&told] { ++told; });
        ASSERT_EQ(plugins.deferred.size(), 1u);
        plugins.deferred[0]();
    }
    EXPECT_EQ(told, 1);
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(g->synchProblem, "The server is down.");
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] =
        "<r><algr><name>From the cloud</name><alrm><name>Remote</name></alrm><syst><token>2</token></syst></algr></r>";

    plugins.calls.clear();
    plugins.deferred.clear();
    g->synchronizeLater(services, [&applied] { ++applied; });
    ASSERT_EQ(plugins.deferred.size(), 1u);
    plugins.deferred[0]();
    EXPECT_EQ(applied, 1);
    ASSERT_EQ(plugins.calls.size(), 1u);
    EXPECT_EQ(plugins.calls[0].method, "Synchronize");
    EXPECT_NE(plugins.calls[0].parameters.find("<syst><token>1</token></syst>"), std::string::npos);
    EXPECT_EQ(g->name, "From the cloud");
    ASSERT_EQ(g->numberOfAlarms(), 1);
    EXPECT_EQ(g->elementAt(0)->name, "Remote");
    EXPECT_EQ(g->synchSettings->getString("token"), "2");
    EXPECT_TRUE(g->changed);
    EXPECT_EQ(g->getStringItems(services)[2].first, "Cloud calendar");

    // A failed call changes nothing; its cause is shown beside the plug-in until a call succeeds.
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] =
        "<reply><error>The calendar server could not be reached: Connection refused.</error></reply>";
    g->changed = false;
    EXPECT_TRUE(g->synchronize(services));
    EXPECT_EQ(g->name, "From the cloud");
    EXPECT_FALSE(g->changed);
    EXPECT_EQ(g->getStringItems(services)[2].first,
              "Cloud calendar: The calendar server could not be reached: Connection refused.");
    plugins.replies.clear();
    EXPECT_TRUE(g->synchronize(services));
    EXPECT_EQ(g->synchProblem, "The synchronisation plug-in gave no answer.");
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] = "<r><algr><name>From the cloud</name></algr></r>";
    EXPECT_TRUE(g->synchronize(services));
    EXPECT_EQ(g->getStringItems(services)[2].first, "Cloud calendar");

    // What came only approximately is listed there too, and stays until a later round brings other notes.
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] =
        "<r><algr><name>From the cloud</name></algr><notes>\"Gym\": every 2nd Monday only.\r\n\"Tax\": no end "
        "date.</notes></r>";
    EXPECT_TRUE(g->synchronize(services));
    const std::string listed = "Cloud calendar: \"Gym\": every 2nd Monday only. \"Tax\": no end date.";
    EXPECT_EQ(g->getStringItems(services)[2].first, listed);
    plugins.replies[{"HalvikaSync*Cloud", "Synchronize"}] = "<r><algr><name>From the cloud</name></algr></r>";
    EXPECT_TRUE(g->synchronize(services));
    EXPECT_EQ(g->getStringItems(services)[2].first, listed);
}

TEST_F(AlarmGroupTest, ListCells) {
    colours.loadColourScheme("default");
    auto g = AlarmGroup::createFromXML("<algr><name>Home</name><colr>255</colr><stat>0</stat></algr>", services);
    const auto cells = g->getStringItems(services);
    EXPECT_EQ(cells[0], std::make_pair(std::string("Home"), std::string("255")));
    EXPECT_EQ(cells[1].first, "off");
    EXPECT_EQ(cells[2].first, "local");
    colours.loadColourScheme("");
    EXPECT_EQ(g->getStringItems(services)[0].second, std::to_string(AlarmGroup::windowTextColour));
}

} // namespace
} // namespace halvika
