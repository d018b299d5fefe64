// A new user's first alarm, typed into the real program on a real X display: a group, an alarm a little
// ahead with a message, saved to its file, and its alarm window when it sounds.
#include "e2e/HalvikaProcess.h"
#include "fakes/TempHome.h"
#include "services/ServiceDaemons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>

namespace halvika {
namespace {

using namespace std::chrono_literals;

class XDisplay {
public:
    XDisplay() : m_number(std::to_string(150 + ::getpid() % 100)) {
        m_server = std::make_unique<test::Daemon>(
            std::vector<std::string>{"Xvfb", ":" + m_number, "-screen", "0", "1280x900x24", "-nolisten", "tcp"});
    }
    bool ready() const { return test::waitUntil(20, exists, "/tmp/.X11-unix/X" + m_number); }
    std::string name() const { return ":" + m_number; }

    /// Runs xdotool on this display; its output.
    std::string xdotool(const std::string& arguments) const {
        return test::commandOutput("DISPLAY=" + name() + " xdotool " + arguments);
    }
    void keys(const std::string& keys) const { xdotool("key --delay 60 " + keys); }
    void type(const std::string& text) const { xdotool("type --delay 30 '" + text + "'"); }
    /// What the display's clipboard holds, read with xclip as any other program would.
    std::string clipboard() const {
        return test::commandOutput("DISPLAY=" + name() + " xclip -o -selection clipboard");
    }
    /// The first window whose title matches, waiting up to `seconds`; "" when none came.
    std::string window(const std::string& title, double seconds) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string found = xdotool("search --name '" + title + "'");
            if (!found.empty()) {
                return found.substr(0, found.find('\n'));
            }
            std::this_thread::sleep_for(200ms);
        }
        return "";
    }

private:
    static bool exists(const std::string& path) { return std::filesystem::exists(path); }
    std::string m_number;
    std::unique_ptr<test::Daemon> m_server;
};

bool toolsPresent() {
    return std::system("command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v xclip >/dev/null") ==
           0;
}

TEST(NewUserXvfbE2E, AGroupAndAnAlarmTypedInAreSavedAndTheAlarmWindowOpensWhenItSounds) {
    if (!toolsPresent()) {
        GTEST_SKIP() << "Xvfb, xdotool and xclip are needed (./test installs them)";
    }
    XDisplay display;
    ASSERT_TRUE(display.ready());
    test::TempHome home;
    home.write("usr.cfx", "<settings><lng>English</lng><df><al>yyyy-mm-dd hh:nn</al><sa>hh:nn</sa>"
                          "<na>yyyy-mm-dd hh:nn:ss</na><ot>hh:nn</ot></df></settings>");
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::setenv("HALVIKA_E2E_PLATFORM", "xcb", 1);
    test::Process run(home.path());
    // Generous: under a full parallel run a sanitised Qt program on X can take long to show its first window.
    const std::string main = display.window("^Halvika$", 90);
    ASSERT_FALSE(main.empty()) << "the main window did not appear";
    std::this_thread::sleep_for(1s);

    // A group called Errands, from the group menu.
    // The menu is given time to open before its key: under a loaded parallel run the key can come first.
    bool groupDialog = false;
    for (int attempt = 0; attempt < 3 && !groupDialog; ++attempt) {
        display.xdotool("windowfocus --sync " + main);
        display.keys("alt+g");
        std::this_thread::sleep_for(700ms);
        display.keys("n");
        groupDialog = !display.window("^Alarm group$", 10).empty();
        if (!groupDialog) {
            display.keys("Escape Escape");
        }
    }
    ASSERT_TRUE(groupDialog);
    display.keys("ctrl+a");
    display.type("Errands");
    display.keys("Return");
    std::this_thread::sleep_for(1s);

    // An alarm two to three minutes ahead, on a whole minute (the editor shows seconds only for alarms that
    // use them), with its own message, from Ctrl+N.
    display.xdotool("windowfocus --sync " + main);
    display.keys("ctrl+n");
    ASSERT_FALSE(display.window("^Alarm$", 10).empty());
    const std::time_t due = (std::time(nullptr) + 120) / 60 * 60 + 60;
    std::tm local{};
    ::localtime_r(&due, &local);
    char digits[32];
    std::strftime(digits, sizeof digits, "%Y%m%d%H%M", &local);
    display.keys("ctrl+a");
    display.type("Call mum");
    display.keys("alt+a");
    display.type(digits);
    display.keys("alt+m ctrl+a");
    display.type("Ring mum about Sunday");
    display.keys("alt+n Return");

    // The tick saves the new group and alarm.
    const auto saved = [&home] {
        for (const char* name : {"usg_0.agx", "usg_1.agx"}) {
            if (std::filesystem::exists(home.file(name))) {
                const std::string text = home.read(name);
                if (text.find("<name>Call mum</name>") != std::string::npos) {
                    return text;
                }
            }
        }
        return std::string();
    };
    const auto saveDeadline = std::chrono::steady_clock::now() + 60s;
    while (saved().empty() && std::chrono::steady_clock::now() < saveDeadline) {
        std::this_thread::sleep_for(250ms);
    }
    const std::string group = saved();
    ASSERT_FALSE(group.empty()) << "the alarm was not saved";
    EXPECT_NE(group.find("<name>Errands</name>"), std::string::npos);
    EXPECT_NE(group.find("<s>Ring mum about Sunday</s>"), std::string::npos);
    char moment[32];
    std::strftime(moment, sizeof moment, "%Y/%m/%d %H:%M:%S", &local);
    EXPECT_NE(group.find(std::string("<oncd>") + moment + "</oncd>"), std::string::npos);

    // Read off the screen as the user reads it: the next-alarm line, copied from the window, and the
    // coming-alarms list, whose entry opens the editor on the alarm (its name field copied). The places
    // are those of the window's first layout.
    std::strftime(moment, sizeof moment, "%Y-%m-%d %H:%M:%S", &local);
    std::string line;
    for (int attempt = 0; attempt < 20 && line.find("Call mum") == std::string::npos; ++attempt) {
        display.xdotool("mousemove --window " + main + " 100 37 click 1");
        display.keys("ctrl+a ctrl+c");
        line = display.clipboard();
        std::this_thread::sleep_for(250ms);
    }
    EXPECT_EQ(line, std::string("Next alarm: ") + moment + " (Call mum)");
    display.xdotool("mousemove --window " + main + " 40 401 click --repeat 2 --delay 80 1");
    ASSERT_FALSE(display.window("^Alarm$", 10).empty()) << "the coming list did not open the alarm";
    display.keys("ctrl+a ctrl+c");
    EXPECT_EQ(display.clipboard(), "Call mum");
    display.keys("Escape");

    // Its window opens when it sounds, with its name and moment as the caption.
    const double wait = static_cast<double>(due - std::time(nullptr)) + 15;
    const std::string alarmWindow = display.window("^Call mum - ", wait);
    ASSERT_FALSE(alarmWindow.empty()) << "no alarm window";
    EXPECT_GE(std::time(nullptr), due);
    std::strftime(moment, sizeof moment, "%Y-%m-%d %H:%M:%S", &local);
    EXPECT_EQ(display.xdotool("getwindowname " + alarmWindow), std::string("Call mum - ") + moment + "\n");

    run.signal(SIGTERM);
    EXPECT_EQ(run.waitForExit(30s), 0);
    ::unsetenv("HALVIKA_E2E_PLATFORM");
}

} // namespace
} // namespace halvika
