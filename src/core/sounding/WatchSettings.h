// The settings the alarm watch reads, with their defaults.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class SettingsStore;

/// What leaving blocked mode does with the alarms that fell due meanwhile ("wu" 0, 1, 2).
enum class WhenUnblocked : std::int16_t {
    SkipWhatFellDue = 0,
    SoundWhatSoundsAfterInactivity = 1,
    SoundEverything = 2
};

struct WatchSettings {
    /// The values as the settings hold them.
    static WatchSettings from(const SettingsStore& settings);

    /// "tc": timer correction in milliseconds; a positive one moves the program's "now" back.
    std::int32_t timerCorrectionMs = 0;
    /// "tiia": minutes of inactivity after which only alarms that sound after inactivity sound; 0 none.
    std::int32_t inactivityLimitMinutes = 0;
    /// "wl": more alarms due at once than this are sounded only after a question.
    std::int32_t warningLimit = 10;
    /// "wu".
    WhenUnblocked whenUnblocked = WhenUnblocked::SkipWhatFellDue;
    /// "sca" and its restriction: a secondary alarm for alarms of at least this importance.
    bool secondaryAlarmOn = false;
    std::int16_t secondaryImportance = 0;
    std::shared_ptr<Alarm> secondaryAlarm;
    /// "ata" and its restriction: an attention alarm 10 seconds later unless the user reacts.
    bool attentionAlarmOn = false;
    std::int16_t attentionImportance = 0;
    std::shared_ptr<Alarm> attentionAlarm;
    /// "sa": the see-alarms lists 0 (just sounded) and 1 (coming): shown, look amount and unit code.
    bool seeAlarmsShown[2] = {true, true};
    std::int16_t seeAlarmsAmount[2] = {1, 1};
    std::int16_t seeAlarmsUnit[2] = {3, 3};
    /// "as": automatic saving.
    bool autoSave = true;
    /// "acv": automatic version check.
    bool autoVersionCheck = false;
    /// "wko", "wki", "wkl": wake the computer for alarms of at least this importance, this many seconds early.
    bool wakeOn = false;
    std::int16_t wakeImportance = 0;
    std::int32_t wakeLeadSeconds = 60;
    /// "df"/"ot": the user's general date format, for moments named in questions.
    std::string generalDateFormat = "yyyy/mm/dd hh:nn:ss";
};

} // namespace halvika
