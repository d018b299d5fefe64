// The cost of one plug-in call: starting the plug-in program, sending the request, reading its reply.
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

void oneCallToTheTestPlugin(benchmark::State& state) {
    char tmpl[] = "/tmp/halvika-plugin-bench-XXXXXX";
    const std::string folder = ::mkdtemp(tmpl);
    const std::string program = folder + "/HalvikaTest.plugin";
    std::filesystem::copy_file(TEST_PLUGIN_PROGRAM, program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    halvika::PosixPluginProcess process;
    halvika::PluginHost host(process, {folder}, false);
    for (auto _ : state) {
        const std::string reply = host.commonMethodCall("HalvikaTest*Act", "GetActionInfo", "shortdescription");
        if (reply != "Test action") {
            state.SkipWithError("the plug-in did not answer");
        }
    }
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(oneCallToTheTestPlugin)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
