// The plug-in action against the real test plug-in program: what it is sent, and what a failure shows.
#include "fakes/SoundingTestRig.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "sounding/ActionCatalog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace halvika {
namespace {

namespace fs = std::filesystem;

const Date eight = Date::fromParts(2026, 3, 7, 8, 0, 0);

class PluginActionTest : public ::testing::Test, protected test::SoundingTestRig {
protected:
    PluginActionTest() {
        fs::create_directory(home.file("PlugIns"));
        fs::copy_file(TEST_PLUGIN_PROGRAM, home.file("PlugIns/HalvikaTest.plugin"));
        fs::permissions(home.file("PlugIns/HalvikaTest.plugin"), fs::perms::owner_all);
        host.setTimeoutMs(3000);
        dispatcher.setPlugins(&host);
    }
    /// Sounds a plug-in action with the plug-in in `mode`; the alarm window's message, or "(none)".
    std::string sound(const std::string& mode) {
        home.write("PlugIns/HalvikaTest.mode", mode);
        auto alarm = alarmWith(16, "print this");
        alarm->actions.elementAt(0)->plugin = "HalvikaTest*Act";
        const std::size_t before = windows.alarmWindowCount();
        alarm->soundAlarm(eight, true, dispatcher);
        while (host.pollCalls()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return windows.alarmWindowCount() == before ? "(none)"
                                                    : windows.alarmWindow(windows.alarmWindowCount() - 1)->message();
    }

    PosixPluginProcess process;
    PluginHost host{process, {home.file("PlugIns")}, false};
};

TEST_F(PluginActionTest, SuccessIsTheSuccessElementWhateverItHoldsAndFailuresShowTheirError) {
    EXPECT_EQ(sound("normal"), "(none)");
    // Execute gets the action's settings followed by the alarm written as "alrm".
    const std::string request = home.read("PlugIns/HalvikaTest.log");
    EXPECT_NE(request.find("<method>Execute</method>"), std::string::npos);
    EXPECT_NE(request.find("<params><sett><s>print this</s></sett><alrm><name>Tea</name>"), std::string::npos);

    EXPECT_EQ(sound("falsesuccess"), "(none)");
    EXPECT_EQ(sound("failure"), "The printer is out of paper");
    EXPECT_EQ(sound("nosuccess"), " ");
    EXPECT_EQ(sound("crash"), " ");
    EXPECT_EQ(sound("garbage"), " ");
}

TEST_F(PluginActionTest, AHangingPluginHoldsUpNoOtherAlarm) {
    home.write("PlugIns/HalvikaTest.mode", "hang");
    auto stuck = alarmWith(16, "never answered");
    stuck->actions.elementAt(0)->plugin = "HalvikaTest*Act";
    auto next = alarmWith(1, "Next alarm");
    next->name = "Next";
    const std::size_t before = windows.alarmWindowCount();
    stuck->soundAlarm(eight, true, dispatcher);
    EXPECT_TRUE(host.callsInFlight());
    next->soundAlarm(eight, true, dispatcher); // sounds while the plug-in still hangs
    ASSERT_EQ(windows.alarmWindowCount(), before + 1);
    EXPECT_EQ(windows.alarmWindow(before)->message(), "Next alarm");
    EXPECT_TRUE(host.pollCalls());
    // Past its time limit the plug-in is ended, and its failure is shown like any other.
    while (host.pollCalls()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(windows.alarmWindowCount(), before + 2);
}

TEST_F(PluginActionTest, TheCatalogListsTheBuiltInKindsThenEachActionPlugin) {
    host.loadPlugins();
    const std::string asked = home.read("PlugIns/HalvikaTest.log");
    const auto entries = ActionCatalog::list(setUp.texts, &host);
    EXPECT_EQ(home.read("PlugIns/HalvikaTest.log"), asked); // learnt with the descriptions, not asked again
    ASSERT_EQ(entries.size(), 16u + 1u);
    EXPECT_EQ(entries[3].shortDescription, "Command");
    EXPECT_EQ(entries[3].category, "Run");
    const auto& plugin = entries.back();
    EXPECT_EQ(plugin.kind, ActionKind::Plugin);
    EXPECT_EQ(plugin.plugin, "HalvikaTest*Act");
    EXPECT_EQ(plugin.shortDescription, "Test action");
    EXPECT_EQ(plugin.category, "Tests");
    EXPECT_EQ(plugin.description, "Does what the test asks.");
}

} // namespace
} // namespace halvika
