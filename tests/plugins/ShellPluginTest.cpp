// The guide's example plug-in, a shell script, run through the plug-in host as Halvika runs it; and the
// guide shows that very script.
#include "fakes/TempHome.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "text/TextFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace halvika {
namespace {

const std::string script = HALVIKA_SOURCE_DIR "/docs/examples/HalvikaHello.plugin";

TEST(ShellPluginTest, TheGuidesExampleIsFoundDescribedAndRunAsAnAction) {
    test::TempHome home;
    const std::string folder = home.file("PlugIns");
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(script, folder + "/HalvikaHello.plugin");
    std::filesystem::permissions(folder + "/HalvikaHello.plugin", std::filesystem::perms::owner_all);
    ::setenv("HALVIKA_HELLO_LOG", home.file("hello.log").c_str(), 1);

    PosixPluginProcess process;
    PluginHost host(process, {folder}, false);
    host.loadPlugins();
    ASSERT_EQ(host.plugins(PluginHost::Action), std::vector<std::string>{"HalvikaHello*Hello"});
    EXPECT_EQ(host.actionDescriptions(), std::vector<std::string>{"Write to a log"});
    EXPECT_EQ(host.commonMethodCall("HalvikaHello*Hello", "GetName", "name"), "Hello, log");

    const std::string reply =
        host.methodCall("HalvikaHello*Hello", "Execute",
                        host.lang() + "<sett></sett><alrm><name>Tea</name><acti><acid>16</acid></acti></alrm>", false);
    EXPECT_NE(reply.find("<success>"), std::string::npos) << reply;
    const std::string log = home.read("hello.log");
    EXPECT_EQ(log.substr(log.size() - 4), "Tea\n") << log;

    // A log that cannot be written is reported, not hidden.
    ::setenv("HALVIKA_HELLO_LOG", home.file("no/such/folder/hello.log").c_str(), 1);
    const std::string failed = host.methodCall("HalvikaHello*Hello", "Execute",
                                               host.lang() + "<sett></sett><alrm><name>Tea</name></alrm>", false);
    EXPECT_NE(failed.find("<error>Cannot write to"), std::string::npos) << failed;
    ::unsetenv("HALVIKA_HELLO_LOG");
}

TEST(ShellPluginTest, TheGuideShowsTheScriptThatIsTested) {
    const std::string guide = TextFile::readText(HALVIKA_SOURCE_DIR "/docs/plugins.md").value_or("");
    const std::size_t start = guide.find("```sh\n");
    ASSERT_NE(start, std::string::npos);
    // Every line of the script but its comments, in order; blank lines do not count.
    const auto codeOf = [](const std::string& text) {
        std::istringstream lines(text);
        std::string code;
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && (line[0] != '#' || line.rfind("#!", 0) == 0)) {
                code += line + "\n";
            }
        }
        return code;
    };
    EXPECT_EQ(codeOf(guide.substr(start + 6, guide.find("```", start + 6) - start - 6)),
              codeOf(TextFile::readText(script).value_or("")));
}

} // namespace
} // namespace halvika
