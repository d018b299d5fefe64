// The subsystems the program has so far: the plug-in host, the colour scheme and the alarm groups.
#pragma once

#include "app/AppPaths.h"
#include "app/Subsystems.h"
#include "groups/AlarmGroupCollection.h"
#include "groups/ChangeKinds.h"
#include "groups/GroupServices.h"
#include "platform/PluginProcess.h"
#include "platform/WatchTimer.h"
#include "plugins/PluginHost.h"
#include "settings/ColourScheme.h"
#include "sounding/AlarmWatch.h"
#include "sounding/WatchSettings.h"

#include <cstdint>

namespace halvika {

class ActionRunner;
class Clock;
class MessageBoxRoutine;
class modIniFileHandling;
class modTranslation;

/// Until the settings store arrives: the alarm group folder is the home folder (the setting's default), the
/// watch runs with the default settings, and saving is automatic.
class CoreSubsystems : public Subsystems {
public:
    CoreSubsystems(const Clock& clock, WatchTimer& timer, const AppPaths& paths, modIniFileHandling& ini,
                   modTranslation& texts, MessageBoxRoutine& messages, PluginProcess& process, ActionRunner& runner,
                   bool safeMode);

    /// Start-up step 4: finds the plug-ins (none in safe mode).
    void loadPlugins() { m_plugins.loadPlugins(); }

    void mainStart(bool safeMode) override;
    void watchTick() override { m_watch.watchTick(); }
    bool busy() const override { return m_plugins.busy(); }
    bool saveSettings() override { return true; }
    bool autoSaveEnabled() const override { return true; }
    bool saveChangedAlarmGroups() override;
    bool saveTodo() override { return true; }
    void releaseRunningPlugins() override { m_plugins.releaseRunningPlugins(); }
    std::string languageFileName() const override { return "English"; }
    DebugState debugState() const override;

    PluginHost& plugins() { return m_plugins; }
    AlarmGroupCollection& groups() { return m_groups; }
    ColourScheme& colours() { return m_colours; }
    AlarmWatch& watch() { return m_watch; }
    WatchSettings& watchSettings() { return m_watchSettings; }

private:
    PluginHost m_plugins;
    ColourScheme m_colours;
    GroupServices m_services;
    AlarmGroupCollection m_groups;
    WatchSettings m_watchSettings;
    AlarmWatch m_watch;
};

} // namespace halvika
