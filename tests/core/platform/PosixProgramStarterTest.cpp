// Programs started and left to run: they start where asked, and each one's end is collected.
#include "platform/posix/PosixProgramStarter.h"

#include "fakes/TempHome.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace halvika {
namespace {

/// This process's children that have ended and not been collected.
int zombieChildren() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) {
            continue;
        }
        // After "pid (name)": state, then the parent's pid.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        count += parent == ::getpid() && state == 'Z' ? 1 : 0;
    }
    return count;
}

TEST(PosixProgramStarter, ProgramsStartInTheirFolderAndLeaveNoZombies) {
    test::TempHome home;
    const std::string marker = home.path() + "/here";
    ASSERT_TRUE(PosixProgramStarter::startDetached("sh", {"-c", "pwd > here.tmp && mv here.tmp here"}, home.path()));
    // Many at once, some ending before they could be watched: every end is collected.
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(PosixProgramStarter::startDetached("sh", {"-c", i % 2 == 0 ? "exit 3" : "sleep 0.2"}, ""));
    }
    EXPECT_FALSE(PosixProgramStarter::startDetached("/no/such/program", {}, ""));
    EXPECT_FALSE(PosixProgramStarter::startDetached("", {}, ""));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((zombieChildren() > 0 || !std::filesystem::exists(marker)) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Long enough for the sleepers to have ended too.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(zombieChildren(), 0);
    std::ifstream written(marker);
    std::string folder;
    std::getline(written, folder);
    EXPECT_EQ(std::filesystem::canonical(folder), std::filesystem::canonical(home.path()));
}

} // namespace
} // namespace halvika
