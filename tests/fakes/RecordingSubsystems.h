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
    bool busy() const override { return pluginCallInProgress; }
    bool saveSettings() override {
        calls.push_back("saveSettings");
        return settingsSaveWorks;
    }
    bool autoSaveEnabled() const override { return autoSave; }
    bool saveChangedAlarmGroups() override {
        calls.push_back("saveChangedAlarmGroups");
        return groupsSaveWorks;
    }
    bool saveTodo() override {
        calls.push_back("saveTodo");
        return true;
    }
    void releaseRunningPlugins() override { calls.push_back("releaseRunningPlugins"); }
    std::string languageFileName() const override { return "English"; }
    DebugState debugState() const override { return debug; }

    std::vector<std::string> calls;
    bool settingsSaveWorks = true;
    bool groupsSaveWorks = true;
    bool autoSave = true;
    bool pluginCallInProgress = false;
    bool mainStartWorks = true;
    std::function<void()> onMainStart;
    DebugState debug;
};

} // namespace halvika::test
