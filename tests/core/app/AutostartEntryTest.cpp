// The autostart entry: where it lives, what it starts, and writing and removing it.
#include "app/AutostartEntry.h"

#include "fakes/TempHome.h"

#include <gtest/gtest.h>

namespace halvika {
namespace {

TEST(AutostartEntryTest, LivesInTheUsersConfigurationAndStartsHalvikaHiddenOnItsHomeFolder) {
    EXPECT_EQ(AutostartEntry("", "/home/ann").path(), "/home/ann/.config/autostart/halvika.desktop");
    EXPECT_EQ(AutostartEntry("/xdg", "/home/ann").path(), "/xdg/autostart/halvika.desktop");

    const std::string plain = AutostartEntry::contents("/usr/bin/halvika", "/home/ann/.local/share/halvika");
    EXPECT_NE(plain.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(plain.find("\nExec=/usr/bin/halvika --hidden --home /home/ann/.local/share/halvika\n"),
              std::string::npos);
    EXPECT_NE(plain.find("\nIcon=halvika\n"), std::string::npos);
    // Blanks, quotes, dollars and percent signs survive the desktop's reading of the Exec line.
    const std::string odd = AutostartEntry::contents("/opt/My Apps/halvika", "/home/ann/\"$alarms\" 100%");
    EXPECT_NE(odd.find("Exec=\"/opt/My Apps/halvika\" --hidden --home \"/home/ann/\\\"\\$alarms\\\" 100%%\"\n"),
              std::string::npos)
        << odd;
}

TEST(AutostartEntryTest, IsWrittenIntoAFolderMadeForItAndRemovedAgain) {
    test::TempHome home;
    const AutostartEntry entry(home.file("config"), "/nonexistent");
    EXPECT_FALSE(entry.exists());
    EXPECT_TRUE(entry.remove()); // nothing to remove is no failure
    ASSERT_TRUE(entry.set(true, "/usr/bin/halvika", ""));
    EXPECT_TRUE(entry.exists());
    EXPECT_NE(home.read("config/autostart/halvika.desktop").find("Exec=/usr/bin/halvika --hidden\n"),
              std::string::npos);
    ASSERT_TRUE(entry.set(false, "/usr/bin/halvika", ""));
    EXPECT_FALSE(entry.exists());

    const AutostartEntry unwritable("/proc/no-such-place", "/nonexistent");
    EXPECT_FALSE(unwritable.write("/usr/bin/halvika", ""));
}

} // namespace
} // namespace halvika
