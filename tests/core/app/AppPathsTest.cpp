// The home folder and file lookup.
#include "app/AppPaths.h"
#include "fakes/TempHome.h"

#include <gtest/gtest.h>

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
}

} // namespace
} // namespace halvika
