// Subsystems that record what the spine asked of them, with saves that can be made to fail.
#pragma once

#include "app/Subsystems.h"

#include <functional>
#include <string>
#include <vector>

namespace halvika::test {

class RecordingSubsystems : public Subsystems {
public:
    bool mainStart(bool safeMode) override {
        calls.push_back(safeMode ? "mainStart(safe)" : "mainStart");
        if (onMainStart) {
            onMainStart();
        }
        return mainStartWorks;
    }
    void watchTick() override { calls.push_back("watchTick"); }
    void saveBeforeSleep() override { calls.push_back("saveBeforeSleep"); }
    bool busy() const override { return pluginCallInProgress; }
    bool saveForExit(std::string& problems) override {
        calls.push_back("saveForExit");
        if (!groupsSaveWorks) {
            problems += "\n/home/usg_0.agx: No space left on device";
        }
        return groupsSaveWorks;
    }
    void refreshPluginState(int budgetMs) override {
        calls.push_back("refreshPluginState " + std::to_string(budgetMs));
    }
    void stopSaving() override { calls.push_back("stopSaving"); }
    void releaseRunningPlugins() override { calls.push_back("releaseRunningPlugins"); }
    std::string languageFileName() const override { return "English"; }
    DebugState debugState() const override { return debug; }

    std::vector<std::string> calls;
    bool groupsSaveWorks = true;
    bool pluginCallInProgress = false;
    bool mainStartWorks = true;
    std::function<void()> onMainStart;
    DebugState debug;
};

} // namespace halvika::test
