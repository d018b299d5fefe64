// The sounding side of the program put together over fakes: groups, watch, settings, windows, speech, shell
// and power, with a manual clock.
#pragma once

#include "fakes/FakeMixer.h"
#include "fakes/FakeSoundOutput.h"
#include "fakes/FakeSoundingViews.h"
#include "fakes/FakeSpeechEngine.h"
#include "fakes/GroupTestServices.h"
#include "fakes/ManualClock.h"
#include "fakes/ManualTimer.h"
#include "fakes/RecordingChangeListener.h"
#include "fakes/RecordingChores.h"
#include "fakes/RecordingPowerControl.h"
#include "fakes/RecordingShell.h"
#include "fakes/TempHome.h"
#include "groups/AlarmGroup.h"
#include "settings/SettingsStore.h"
#include "sounding/ActionDispatcher.h"
#include "sounding/AlarmWatch.h"
#include "sounding/SoundVolume.h"
#include "sounding/SoundingWindows.h"
#include "sounding/modSpeech.h"

namespace halvika::test {

struct SoundingTestRig {
    SoundingTestRig() {
        groups.setListener(watch);
        settings.displayFormats[2] = "yyyy-mm-dd hh:nn";
        group = AlarmGroup::createDefaultAlarmGroup(setUp.services);
        group->name = "Home";
        groups.alarmGroups.addElement(group);
    }

    /// A one-time alarm at `when` in the group, with one action of `kind` whose "s" is `text`.
    std::shared_ptr<Alarm> alarmWith(std::int16_t kind, const std::string& text = "Tea is ready",
                                     const Date& when = Date::fromParts(2026, 3, 7, 8, 0, 0)) {
        auto a = Alarm::createAlarm(group);
        a->name = "Tea";
        a->onceDate = when;
        addAction(*a, kind, text);
        group->alarms.addElement(a);
        return a;
    }
    static std::shared_ptr<clsAction> addAction(Alarm& alarm, std::int16_t kind, const std::string& text) {
        auto action = std::make_shared<clsAction>();
        action->action = kind;
        action->al = &alarm;
        action->settings->addString("s", text);
        alarm.actions.addElement(action);
        return action;
    }

    TempHome home;
    GroupTestServices setUp{home.path()};
    RecordingChangeListener ignored;
    AlarmGroupCollection groups{setUp.services, ignored};
    ManualClock clock;
    ManualTimer timer;
    WatchSettings watchSettings;
    SettingsStore settings;
    FakeSoundOutput sound;
    FakeMixer mixer;
    SoundVolume volume{&mixer};
    FakeSoundingViews views;
    FakeSpeechEngine currentVoices{{"Alice", "Bob"}};
    FakeSpeechEngine olderVoices{{"en", "de"}};
    modSpeech speech{&currentVoices, &olderVoices, settings, clock};
    RecordingShell shell;
    RecordingPowerControl power;
    ActionDispatcher dispatcher{{windows, speech, shell, power, setUp.texts}, false};
    RecordingChores chores;
    AlarmWatch watch{clock, timer, groups, watchSettings, dispatcher, chores, setUp.messages, setUp.texts};
    SoundingWindows windows{
        {clock, setUp.texts, settings, watch, groups, setUp.messages}, sound, volume, views, "/data/ring.wav"};
    std::shared_ptr<AlarmGroup> group;
};

} // namespace halvika::test
