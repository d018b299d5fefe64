#include "sounding/WatchSettings.h"

#include "settings/SettingsStore.h"

namespace halvika {

WatchSettings WatchSettings::from(const SettingsStore& settings) {
    WatchSettings w;
    w.timerCorrectionMs = settings.timerCorrectionMs;
    w.inactivityLimitMinutes = settings.inactivityLimitMinutes;
    w.warningLimit = settings.warningLimit;
    w.whenUnblocked = static_cast<WhenUnblocked>(settings.whenUnblocked); // checked when read
    w.secondaryAlarmOn = settings.secondaryOn != 0;
    w.secondaryImportance = settings.secondaryRestriction;
    w.secondaryAlarm = settings.secondaryAlarm;
    w.attentionAlarmOn = settings.attentionOn != 0;
    w.attentionImportance = settings.attentionRestriction;
    w.attentionAlarm = settings.attentionAlarm;
    w.autoSave = settings.autoSave;
    w.autoVersionCheck = settings.autoVersionCheck;
    w.generalDateFormat = settings.displayFormats[3];
    w.wakeOn = settings.wakeOn;
    w.wakeImportance = settings.wakeRestriction;
    w.wakeLeadSeconds = settings.wakeLeadSeconds;
    for (std::size_t i = 0; i < 2; ++i) {
        w.seeAlarmsShown[i] = settings.seeAlarmsShown[i] != 0;
        w.seeAlarmsAmount[i] = settings.seeAlarmsAmount[i];
        w.seeAlarmsUnit[i] = settings.seeAlarmsUnit[i];
    }
    return w;
}

} // namespace halvika
