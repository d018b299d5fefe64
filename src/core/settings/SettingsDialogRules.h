// The settings dialog's checks and storing rules, so that the dialog itself only shows them.
#pragma once

#include "dates/Date.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class MessageBoxRoutine;
class modTranslation;
class SettingsStore;

class SettingsDialogRules {
public:
    /// What the dialog's controls hold for the rules below (the other controls map one to one).
    struct Input {
        std::string alarmGroupLocation;            ///< txtAlarmGroupLocation
        bool autoSave = true;                      ///< chkAutoSave
        std::array<std::string, 4> displayFormats; ///< txtFormat(0..3)
        bool timeInactive = true;                  ///< chkTimeInactive
        std::int32_t timeInactiveMinutes = 10;     ///< pnbTimeInactive
        std::int16_t snoozeUnitPosition = 1;       ///< cmbSnoozeUnit
        std::int16_t overlapUnitPosition = 1;      ///< cmbOverlapWarning
        std::shared_ptr<Alarm> templateAlarm;      ///< the dialog's own template alarm
    };

    /// The controls as the dialog opens.
    static Input fill(const SettingsStore& settings, modTranslation& texts);
    /// Checks the input and, when every check passes, stores it. False (nothing stored, the dialog stays
    /// open) at the first failing check, after its message. A new group folder with automatic saving on saves
    /// every group into it (`saveAllGroupsInto`, given the folder's full path); `settingsChanged` is called
    /// after storing.
    static bool store(Input input, SettingsStore& settings, const Date& now, const std::string& programFolder,
                      MessageBoxRoutine& messages, modTranslation& texts,
                      const std::function<void(const std::string&)>& saveAllGroupsInto,
                      const std::function<void()>& settingsChanged);

    /// A display format is usable when formatting a moment with it gives something other than the pattern:
    /// it holds at least one date or time field.
    static bool formatUsable(const std::string& pattern, const Date& now);
};

} // namespace halvika
