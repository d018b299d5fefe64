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

CoreSubsystems::CoreSubsystems(WatchTimer& timer, const AppPaths& paths, modIniFileHandling& ini, modTranslation& texts,
                               MessageBoxRoutine& messages, PluginProcess& process, bool safeMode)
    : m_timer(timer), m_plugins(process, pluginFolders(paths), safeMode), m_colours(paths, ini),
      m_services(texts, m_colours, messages), m_groups(m_services, *this) {
    m_services.plugins = &m_plugins;
    m_services.alarmGroupFolder = paths.home();
}

void CoreSubsystems::mainStart(bool) {
    m_colours.resetSchemeColours();
    m_colours.loadColourScheme("default");
    m_groups.unloadAllAlarmGroups(true);
    m_groups.loadAlarmGroups();
}

bool CoreSubsystems::saveChangedAlarmGroups() {
    if ((m_pendingWork & alarmDataChanged) == 0) {
        return true;
    }
    if (!m_groups.saveAlarmGroups(false)) {
        return false;
    }
    m_pendingWork = static_cast<std::int16_t>(m_pendingWork & ~alarmDataChanged);
    return true;
}

Subsystems::DebugState CoreSubsystems::debugState() const {
    DebugState state;
    state.pendingWork = m_pendingWork;
    state.watchBusy = m_plugins.busy();
    return state;
}

void CoreSubsystems::alarmsChanged(const Vector<Alarm>&, std::int16_t) {
    m_pendingWork = static_cast<std::int16_t>(m_pendingWork | alarmDataChanged);
}

void CoreSubsystems::groupsChanged(const Vector<AlarmGroup>& groups, std::int16_t kinds) {
    // Groups added, removed or switched are changed; a load is not.
    if (kinds & (kindAdded | kindRemoved | kindStateChanged)) {
        for (int i = 0; i < groups.numberOfElements(); ++i) {
            groups.elementAt(i)->setChanged();
        }
        m_pendingWork = static_cast<std::int16_t>(m_pendingWork | alarmDataChanged);
    }
    // An imported foreign file left its group without a file: it gets one at the next save.
    for (int i = 0; i < groups.numberOfElements(); ++i) {
        if (groups.elementAt(i)->getChanged()) {
            m_pendingWork = static_cast<std::int16_t>(m_pendingWork | alarmDataChanged);
        }
    }
}

} // namespace halvika
