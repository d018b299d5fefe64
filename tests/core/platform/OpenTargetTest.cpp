// The desktop's open operation: programs, addresses and documents, relative paths in the working folder.
#include "platform/OpenTarget.h"
#include "fakes/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace halvika {
namespace {

using Kind = OpenTarget::Kind;

TEST(OpenTarget, ProgramsAddressesAndDocumentsAreToldApartAndRelativePathsFoundInTheWorkingFolder) {
    test::TempHome dir;
    namespace fs = std::filesystem;
    fs::create_directories(dir.file("work/bin"));
    fs::create_directories(dir.file("path"));
    dir.write("work/wake.sh", "#!/bin/sh\n");
    dir.write("work/bin/tool", "#!/bin/sh\n");
    dir.write("path/tool", "#!/bin/sh\n");
    dir.write("path/other", "#!/bin/sh\n");
    dir.write("work/notes.txt", "notes");
    for (const char* f : {"work/wake.sh", "work/bin/tool", "path/tool", "path/other"}) {
        fs::permissions(dir.file(f), fs::perms::owner_all);
    }
    const std::string work = dir.file("work");
    const std::string path = "/nonexistent:" + dir.file("path");

    const auto resolve = [&](const std::string& target) { return OpenTarget::resolve(target, work, path); };
    EXPECT_EQ(resolve("wake.sh").kind, Kind::Program);
    EXPECT_EQ(resolve("wake.sh").path, work + "/wake.sh");
    EXPECT_EQ(resolve("bin/tool").path, work + "/bin/tool");  // relative, in the working folder
    EXPECT_EQ(resolve("other").path, dir.file("path/other")); // not there: on the search path
    EXPECT_EQ(resolve("notes.txt").kind, Kind::Document);
    EXPECT_EQ(resolve(dir.file("work/notes.txt")).kind, Kind::Document);
    EXPECT_EQ(resolve(work).kind, Kind::Document); // a folder opens in the file manager
    EXPECT_EQ(resolve("https://example.org/a?b=c").kind, Kind::Address);
    EXPECT_EQ(resolve("mailto:me@example.org").kind, Kind::Address);
    EXPECT_EQ(resolve("C:\\Windows\\notepad.exe").kind, Kind::Missing); // a drive letter is no scheme
    EXPECT_EQ(resolve("nothing-here").kind, Kind::Missing);
    EXPECT_EQ(resolve("").kind, Kind::Missing);
    // Without a working folder a bare name is only looked for on the search path.
    EXPECT_EQ(OpenTarget::resolve("wake.sh", "", path).kind, Kind::Missing);
    EXPECT_EQ(OpenTarget::resolve("tool", "", path).path, dir.file("path/tool"));
}

} // namespace
} // namespace halvika
