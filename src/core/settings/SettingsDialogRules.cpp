// The settings dialog's checks and storing rules, so that the dialog itself only shows them.
#include "settings/SettingsDialogRules.h"

#include "alarms/Alarm.h"
#include "base/MessageBoxRoutine.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "text/Placeholders.h"

#include <filesystem>

namespace halvika {

namespace {
constexpr const char* kSection = "frmSettings";
}

SettingsDialogRules::Input SettingsDialogRules::fill(const SettingsStore& settings, modTranslation& texts) {
    Input in;
    in.alarmGroupLocation = settings.alarmGroupPath;
    in.autoSave = settings.autoSave;
    in.displayFormats = settings.displayFormats;
    in.timeInactive = settings.inactivityLimitMinutes >= 1;
    in.timeInactiveMinutes = settings.inactivityLimitMinutes;
    in.snoozeUnitPosition = listPositionOfUnitCode(settings.snoozeUnit);
    in.overlapUnitPosition = listPositionOfUnitCode(settings.overlapUnit);
    in.templateAlarm = settings.getDefaultTemplateAlarm(texts);
    return in;
}

bool SettingsDialogRules::formatUsable(const std::string& pattern, const Date& now) {
    return !pattern.empty() && formatDate(pattern, now) != pattern;
}

bool SettingsDialogRules::store(Input in, SettingsStore& s, const Date& now, const std::string& programFolder,
                                MessageBoxRoutine& messages, modTranslation& texts,
                                const std::function<void(const std::string&)>& saveAllGroupsInto,
                                const std::function<void()>& settingsChanged) {
    // 1. The folder must exist.
    while (!in.alarmGroupLocation.empty() &&
           (in.alarmGroupLocation.back() == '\\' || in.alarmGroupLocation.back() == '/')) {
        in.alarmGroupLocation.pop_back();
    }
    SettingsStore probe;
    probe.alarmGroupPath = in.alarmGroupLocation;
    std::error_code error;
    if (!std::filesystem::is_directory(probe.alarmGroupFolder(programFolder), error)) {
        messages.msgBox(texts.getText(kSection, 1), Dialogs::styleExclamation);
        return false;
    }
    // 2. Switching automatic saving off is asked about.
    if (!in.autoSave && s.autoSave &&
        messages.msgBox(texts.getText(kSection, 2), Dialogs::styleYesNo + Dialogs::styleExclamation) !=
            Dialogs::answerYes) {
        return false;
    }
    // 3. Every display format must be usable.
    for (const auto& format : in.displayFormats) {
        if (!formatUsable(format, now)) {
            messages.msgBox(Placeholders::fill(texts.getText(kSection, 3), format), Dialogs::styleExclamation);
            return false;
        }
    }
    s.autoSave = in.autoSave;
    s.displayFormats = in.displayFormats;
    s.inactivityLimitMinutes = in.timeInactive ? in.timeInactiveMinutes : 0;
    s.snoozeUnit = unitCodeOfListPosition(in.snoozeUnitPosition);
    s.overlapUnit = unitCodeOfListPosition(in.overlapUnitPosition);
    if (in.templateAlarm) {
        s.templateText = SettingsStore::templateTextFor(*in.templateAlarm, texts);
    }
    if (in.alarmGroupLocation != s.alarmGroupPath) {
        s.alarmGroupPath = in.alarmGroupLocation;
        if (s.autoSave && saveAllGroupsInto) {
            saveAllGroupsInto(s.alarmGroupFolder(programFolder));
        }
    }
    if (settingsChanged) {
        settingsChanged();
    }
    return true;
}

} // namespace halvika
