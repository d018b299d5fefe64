// The subsystems the program has so far: the plug-in host, the colour scheme and the alarm groups.
#include "app/CoreSubsystems.h"

namespace halvika {

namespace {

std::vector<std::string> pluginFolders(const AppPaths& paths) {
    std::vector<std::string> folders{paths.homeFile("PlugIns")};
    for (const auto& data : paths.dataFolders()) {
        folders.push_back(data + "/PlugIns");
    }
    return folders;
}

} // namespace

CoreSubsystems::CoreSubsystems(const Clock& clock, WatchTimer& timer, const AppPaths& paths, modIniFileHandling& ini,
                               modTranslation& texts, MessageBoxRoutine& messages, PluginProcess& process,
                               ActionRunner& runner, bool safeMode)
    : m_plugins(process, pluginFolders(paths), safeMode), m_colours(paths, ini), m_services(texts, m_colours, messages),
      m_groups(m_services, m_watch), m_watch(clock, timer, m_groups, m_watchSettings, runner, messages, texts) {
    m_services.plugins = &m_plugins;
    m_services.alarmGroupFolder = paths.home();
}

void CoreSubsystems::mainStart(bool safeMode) {
    m_colours.resetSchemeColours();
    m_colours.loadColourScheme("default");
    // Safe mode starts with the alarms blocked.
    m_watch.start(Date::none(), safeMode);
    m_groups.unloadAllAlarmGroups(true);
    m_groups.loadAlarmGroups();
}

bool CoreSubsystems::saveChangedAlarmGroups() {
    return m_groups.saveAlarmGroups(false);
}

Subsystems::DebugState CoreSubsystems::debugState() const {
    auto& watch = const_cast<AlarmWatch&>(m_watch);
    DebugState state;
    state.nextAlarm = watch.nextAlarmMoment();
    state.dueAlarmCount = watch.upcomingAlarms().numberOfElements();
    state.lastSoundedCheck = watch.lastCheckMoment();
    state.pendingWork = watch.pendingWork();
    state.watchBusy = m_plugins.busy();
    state.watchNow = watch.currentMoment(true);
    return state;
}

} // namespace halvika
