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

#include <cstdint>

namespace halvika {

class MessageBoxRoutine;
class modIniFileHandling;
class modTranslation;

/// Until the alarm watch and the settings store arrive: the alarm group folder is the home folder (the
/// setting's default), saving is automatic, and changes only mark the alarm data as changed for the exit.
class CoreSubsystems : public Subsystems, private ChangeListener {
public:
    static constexpr int defaultIntervalMs = 30000;
    static constexpr std::int16_t alarmDataChanged = 2;

    CoreSubsystems(WatchTimer& timer, const AppPaths& paths, modIniFileHandling& ini, modTranslation& texts,
                   MessageBoxRoutine& messages, PluginProcess& process, bool safeMode);

    /// Start-up step 4: finds the plug-ins (none in safe mode).
    void loadPlugins() { m_plugins.loadPlugins(); }

    void mainStart(bool safeMode) override;
    void watchTick() override { m_timer.setInterval(defaultIntervalMs); }
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

private:
    void alarmsChanged(const Vector<Alarm>& alarms, std::int16_t kinds) override;
    void groupsChanged(const Vector<AlarmGroup>& groups, std::int16_t kinds) override;

    WatchTimer& m_timer;
    PluginHost m_plugins;
    ColourScheme m_colours;
    GroupServices m_services;
    AlarmGroupCollection m_groups;
    std::int16_t m_pendingWork = 0;
};

} // namespace halvika
