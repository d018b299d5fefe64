// The real program killed with SIGKILL at random moments while a script adds alarms over D-Bus: no group
// file is ever torn, and every alarm whose adding was acknowledged is in its file.
#include "e2e/HalvikaProcess.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"
#include "xml/XMLNode.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace halvika::test {
namespace {

using namespace std::chrono_literals;

bool serviceUp(const std::string&) {
    int status = 0;
    commandOutput("dbus-send --session --print-reply --dest=org.halvika.Halvika /org/halvika/Halvika "
                  "org.halvika.Halvika1.Status",
                  &status, true);
    return status == 0;
}

/// Every alarm name in the home folder's group files; false when a file does not parse whole.
bool readGroups(const TempHome& home, std::set<std::string>& names, std::string& torn) {
    for (const auto& entry : std::filesystem::directory_iterator(home.path())) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".agx" && file != "usr.cfx") {
            continue;
        }
        auto root = std::make_shared<XMLNode>();
        if (root->initializeFromFile(entry.path().string())) {
            torn = file;
            return false;
        }
        for (int i = 0; i < root->getNumberOfNodesWithName("alrm"); ++i) {
            names.insert(root->getNode("alrm", i)->getString("name"));
        }
    }
    return true;
}

TEST(CrashE2E, KilledAtRandomWhileAddingAlarmsNothingAcknowledgedIsLostAndNoFileIsTorn) {
    const char* wanted = std::getenv("HALVIKA_CRASH_KILLS");
    const int kills = wanted != nullptr ? std::atoi(wanted) : 100;
    TempHome busHome;
    const auto bus = startPrivateBus(busHome.path());
    ASSERT_TRUE(bus);
    TempHome home;
    const std::string acknowledged =
        home.file("../" + std::filesystem::path(home.path()).filename().string() + ".acked");
    std::mt19937 random(20261206);
    int tornFiles = 0;
    int lost = 0;
    std::set<std::string> acked;
    for (int kill = 0; kill < kills; ++kill) {
        home.write("state", "3"); // the start-up check off: no question after a killed run
        // A group of its own for each round, so that the files stay the size a person's do.
        const std::string group = "G" + std::to_string(kill);
        home.write("usg_" + std::to_string(kill) + ".agx", "<algr><name>" + group + "</name><stat>-1</stat></algr>");
        Process halvika(home.path());
        ASSERT_TRUE(waitUntil(60, serviceUp, "")) << "kill " << kill;
        // A script adding alarms as fast as it is answered; it notes each name once acknowledged.
        std::ostringstream script;
        script << "i=0; while true; do i=$((i+1)); n=k" << kill << "-$i; "
               << "if dbus-send --session --print-reply --dest=org.halvika.Halvika /org/halvika/Halvika "
               << "org.halvika.Halvika1.AddAlarm string:$n string:'2030/01/01 09:00:00' string:'Crash test' "
               << "string:" << group << " >/dev/null 2>&1; then echo $n >> " << acknowledged << "; fi; done";
        {
            Daemon adder({"/bin/sh", "-c", script.str()});
            std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(50, 900)(random)));
            halvika.signal(SIGKILL);
            halvika.waitForExit(30s);
        }
        std::ifstream in(acknowledged);
        for (std::string name; std::getline(in, name);) {
            acked.insert(name);
        }
        std::set<std::string> onDisk;
        std::string torn;
        if (!readGroups(home, onDisk, torn)) {
            ++tornFiles;
            ADD_FAILURE() << "torn after kill " << kill << ": " << torn;
            break;
        }
        for (const auto& name : acked) {
            if (onDisk.count(name) == 0) {
                ++lost;
                ADD_FAILURE() << "acknowledged but lost: " << name;
            }
        }
        if (lost > 0) {
            break;
        }
    }
    std::filesystem::remove(acknowledged);
    std::printf("kills: %d, torn files: %d, lost acknowledged alarms: %d of %zu\n", kills, tornFiles, lost,
                acked.size());
    EXPECT_GT(acked.size(), 0u);
}

} // namespace
} // namespace halvika::test
