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
    // Its own pid, process group and session.
    const std::string group = home.path() + "/group";
    ASSERT_TRUE(PosixProgramStarter::startDetached(
        "sh", {"-c", "echo $$ $(cut -d' ' -f5,6 /proc/$$/stat) > group.tmp && mv group.tmp group"}, home.path()));
    // Many at once, some ending before they could be watched: every end is collected.
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(PosixProgramStarter::startDetached("sh", {"-c", i % 2 == 0 ? "exit 3" : "sleep 0.2"}, ""));
    }
    EXPECT_FALSE(PosixProgramStarter::startDetached("/no/such/program", {}, ""));
    EXPECT_FALSE(PosixProgramStarter::startDetached("", {}, ""));

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((zombieChildren() > 0 || !std::filesystem::exists(marker) || !std::filesystem::exists(group)) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Long enough for the sleepers to have ended too.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(zombieChildren(), 0);
    std::ifstream written(marker);
    std::string folder;
    std::getline(written, folder);
    EXPECT_EQ(std::filesystem::canonical(folder), std::filesystem::canonical(home.path()));

    // A process group of its own keeps a terminal's Ctrl+C from it; a session of its own would put it in a
    // scheduling group of its own, served late on a busy machine.
    std::ifstream ids(group);
    pid_t pid = 0;
    pid_t processGroup = 0;
    pid_t session = 0;
    ids >> pid >> processGroup >> session;
    EXPECT_GT(pid, 0);
    EXPECT_EQ(processGroup, pid);
    EXPECT_EQ(session, ::getsid(0));
}

} // namespace
} // namespace halvika
