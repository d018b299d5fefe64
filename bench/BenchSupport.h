// Stand-ins for the program's services in benchmarks: no dialogs, no actions, no change reports.
#pragma once

#include "alarms/ActionRunner.h"
#include "groups/ChangeKinds.h"
#include "groups/GroupWorkspace.h"
#include "platform/Dialogs.h"
#include "sounding/WatchChores.h"

#include <string>

namespace halvika::bench {

class NoDialogs : public Dialogs {
public:
    int messageBox(const std::string&, const std::string&, int) override { return answerOk; }
};

class NoActions : public ActionRunner {
public:
    void countSoundedAlarm() override {}
    void doAction(clsAction&, const Date&, bool) override {}
    void stopSounds() override {}
    void releaseFinishedSpeech() override {}
};

class NoChores : public WatchChores {
public:
    bool saveSettingsQuietly() override { return true; }
    bool saveToDoQuietly() override { return true; }
    void pollRunningPlugins() override {}
};

class NoChanges : public ChangeListener {
public:
    void alarmsChanged(const Vector<Alarm>&, std::int16_t) override {}
    void groupsChanged(const Vector<AlarmGroup>&, std::int16_t) override {}
};

/// The services and a group collection over a folder, with nothing shown and no change reported.
struct BenchGroups {
    explicit BenchGroups(const std::string& folder) : workspace(folder, dialogs, changes) {}
    NoDialogs dialogs;
    NoChanges changes;
    GroupWorkspace workspace;
    GroupServices& services = workspace.services;
    AlarmGroupCollection& groups = workspace.groups;
    MessageBoxRoutine& messages = workspace.messages;
    modTranslation& texts = workspace.texts;
};

} // namespace halvika::bench
