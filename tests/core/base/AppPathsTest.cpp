// The home folder and file lookup.
#include "base/AppPaths.h"
#include "fakes/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace halvika {
namespace {

TEST(AppPaths, HomeFolderPrecedence) {
    EXPECT_EQ(AppPaths::resolveHome("/opt/h", "/env/h", "/xdg", "/home/u"), "/opt/h");
    EXPECT_EQ(AppPaths::resolveHome("", "/env/h", "/xdg", "/home/u"), "/env/h");
    EXPECT_EQ(AppPaths::resolveHome("", "", "/xdg", "/home/u"), "/xdg/halvika");
    EXPECT_EQ(AppPaths::resolveHome("", "", "", "/home/u"), "/home/u/.local/share/halvika");
}

TEST(AppPaths, FoldersAreCreatedAndHomeFilesWin) {
    test::TempHome tmp;
    const std::string nested = tmp.file("a/b/c");
    EXPECT_TRUE(AppPaths::ensureFolder(nested));
    EXPECT_TRUE(AppPaths::ensureFolder(nested));
    tmp.write("plain", "x");
    EXPECT_FALSE(AppPaths::ensureFolder(tmp.file("plain")));

    test::TempHome shipped;
    AppPaths paths(nested, {tmp.file("missing"), shipped.path()});
    EXPECT_EQ(paths.findFile("x.csc"), "");
    shipped.write("x.csc", "shipped");
    EXPECT_EQ(paths.findFile("x.csc"), shipped.file("x.csc"));
    tmp.write("a/b/c/x.csc", "mine");
    EXPECT_EQ(paths.findFile("x.csc"), nested + "/x.csc");

    // Sounds: each name once, the user's own first, sorted; dialogs start in the first sounds folder.
    EXPECT_EQ(paths.soundsFolder(), nested);
    std::filesystem::create_directories(shipped.file("sounds"));
    std::filesystem::create_directories(nested + "/sounds");
    shipped.write("sounds/bell.wav", "s");
    shipped.write("sounds/gong.wav", "s");
    EXPECT_EQ(paths.soundsFolder(), nested + "/sounds"); // the user's own, even while empty
    tmp.write("a/b/c/sounds/gong.wav", "mine");
    EXPECT_EQ(paths.sounds(), (std::vector<std::string>{shipped.file("sounds/bell.wav"), nested + "/sounds/gong.wav"}));
    EXPECT_EQ(paths.soundsFolder(), nested + "/sounds");
}

} // namespace
} // namespace halvika
