// Every user preference, remembered geometry, list layout and usage counter, and their file "usr.cfx".
#pragma once

#include "dates/Date.h"
#include "xml/XMLNode.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class modTranslation;

/// One process-wide set of values; each field names its element in the file. `load` reads every value by
/// name with its default, `toXML` writes them in the file's fixed order.
class SettingsStore {
public:
    static constexpr const char* fileName = "usr.cfx";
    static constexpr const char* appPathMark = "<app_path>";

    struct Font {
        std::string name = "Sans Serif";
        float size = 9;
        bool bold = false, italic = false, strikethrough = false, underline = false;
    };

    // Alarm watch and main window.
    bool blocked = false;                                        ///< bl
    Date lastCheck;                                              ///< lsd
    std::array<std::int16_t, 2> seeAlarmsShown{1, 1};            ///< sa/c0, sa/c1
    std::array<std::int16_t, 2> seeAlarmsAmount{1, 1};           ///< sa/a0, sa/a1
    std::array<std::int16_t, 2> seeAlarmsUnit{3, 3};             ///< sa/u0, sa/u1 (unit codes)
    std::int16_t view = 0;                                       ///< mw/view
    XMLNodePtr calendarSettings = XMLNode::Create("halvikacal"); ///< mw/halvikacal
    bool windowVisible = true;                                   ///< mw/v
    std::int16_t windowState = 0;                                ///< mw/s: 0 normal, 1 minimised, 2 maximised
    float windowLeft = 600, windowTop = 400, windowWidth = 11385, windowHeight = 8445; ///< mw/x y w h (twips)
    std::array<std::int16_t, 4> dividers{337, 206, 155, 463};                          ///< mw/dv1..dv4
    bool forceForeground = false;                                                      ///< ftf
    std::int16_t warningLimit = 10;                                                    ///< wl
    std::int16_t whenUnblocked = 1;                                                    ///< wu
    std::int16_t groupSortColumn = 0;                                                  ///< so/ag
    bool groupSortDescending = false;                                                  ///< so/agd
    std::int16_t alarmSortColumn = 0;                                                  ///< so/al
    bool alarmSortDescending = false;                                                  ///< so/ald
    std::string alarmGroupPath = appPathMark;                                          ///< agp
    bool autoSave = true;                                                              ///< as
    std::int32_t timerCorrectionMs = 0;                                                ///< tc
    std::string voice;                                                                 ///< vd
    std::int32_t alarmWindowWidth = 6960, alarmWindowHeight = 2655;                    ///< aw/w, aw/h
    std::int32_t secondsRun = 0;                                                       ///< sta/s1, as read at loading
    std::int32_t alarmsSounded = 0;                                                    ///< sta/s2
    Date firstUse;                                                                     ///< sta/s3
    Font listFont;                                                                     ///< font/*
    std::string defaultSound;                                                          ///< ds
    std::string language;                                                              ///< lng
    std::string templateText;                                                          ///< tmpl, "" for none
    std::array<XMLNodePtr, 4> layouts;                                                 ///< lst/ag, al, sa0, sa1
    /// Day/month/year until the settings say otherwise: a file without "df" must not leave moments blank.
    std::array<std::string, 4> displayFormats = displayFormatsFor(0, 0); ///< df/al, sa, na, ot
    std::int16_t dateOrder = 0;                                          ///< df/da
    std::int16_t timeFormat = 0;                                         ///< df/ti
    std::int16_t showSeconds = 1;                                        ///< df/sc
    std::int16_t secondaryOn = 0, secondaryRestriction = 0;              ///< sca/s, sca/s
    std::shared_ptr<Alarm> secondaryAlarm;                               ///< sca/al
    std::int16_t attentionOn = 0, attentionRestriction = 0;              ///< ata/s, ata/s
    std::shared_ptr<Alarm> attentionAlarm;                               ///< ata/al
    std::string colourScheme = "default";                                ///< cls
    XMLNodePtr activePlugins = XMLNode::Create("acpl");                  ///< acpl
    bool autoVersionCheck = false;                                       ///< acv
    bool ignoreCorrection = true;                                        ///< igc
    std::int16_t intervalBarWidth = 8;                                   ///< ibw
    bool overrideSoundVolume = false;                                    ///< osvol
    std::int32_t soundVolume = 100;                                      ///< svol
    bool overrideVoiceVolume = false;                                    ///< ovvol
    std::int32_t voiceVolume = 100;                                      ///< vvol
    bool overrideVoiceSpeed = false;                                     ///< ovspd
    std::int32_t voiceSpeed = 0;                                         ///< vspd
    std::int32_t inactivityLimitMinutes = 10;                            ///< tiia
    std::int16_t alarmClockMaxMinutes = 3;                               ///< acmm
    std::int16_t alarmClockSnoozeMinutes = 5;                            ///< acst
    bool autoUpdateCalendar = true;                                      ///< auc
    std::int16_t calendarOffset = 35;                                    ///< cao
    bool showToolTips = true;                                            ///< stt
    bool overlapWarning = false;                                         ///< odt
    std::int32_t overlapAmount = 30;                                     ///< ola
    std::int16_t overlapUnit = 1;                                        ///< olu (unit code)
    std::int16_t overlapRestriction = 1;                                 ///< olp
    bool personalAssistant = false;                                      ///< epa
    bool oldFontRotation = false;                                        ///< ofrm
    std::int16_t snoozeAmount = 5;                                       ///< dsa
    std::int16_t snoozeUnit = 1;                                         ///< dsu (unit code)
    std::int16_t snoozeAddTo = 0;                                        ///< dsat
    bool oneAlarmWindow = false;                                         ///< uoaw
    bool wakeOn = false;                                                 ///< wko
    std::int16_t wakeRestriction = 0;                                    ///< wki (minimum importance)
    std::int32_t wakeLeadSeconds = 60;                                   ///< wkl
    static constexpr std::int32_t maxWakeLeadSeconds = 3600;

    SettingsStore();

    /// Reads every value from the root element; what is missing or does not convert takes its default, and
    /// "the moment of loading" defaults take `loadingMoment`. Throws only what an error in the reading
    /// itself throws; `step` tells how far it got (the fatal message's "flag").
    void load(const XMLNode& root, const Date& loadingMoment, int& step);
    /// Values no dialog could have written (a timer correction of days, blocked as "7") take their defaults.
    void mendAbsurdValues(const XMLNode& root);
    static constexpr std::int32_t maxTimerCorrectionMs = 3600 * 1000;
    static constexpr std::int32_t maxInactivityLimitMinutes = 7 * 24 * 60;
    /// The whole "settings" element in file order; `now` completes the seconds-run counter.
    XMLNodePtr toXML(const Date& now) const;
    /// The fatal message of a reading error.
    static std::string loadErrorText(const std::string& description, const std::string& source, int step);

    /// `agp` with every "<app_path>" replaced by the program folder.
    std::string alarmGroupFolder(const std::string& programFolder) const;
    /// A new alarm from the stored template, or the default alarm.
    std::shared_ptr<Alarm> getDefaultTemplateAlarm(modTranslation& texts) const;
    /// The dialog's rule: a template equal to the default alarm is stored as "".
    static std::string templateTextFor(const Alarm& templateAlarm, modTranslation& texts);
    /// Adds one sounded alarm, stopping at 2,147,483,647.
    void countSoundedAlarm();
    /// The four display formats of the first-run dialog for a date order and time format.
    static std::array<std::string, 4> displayFormatsFor(std::int16_t dateOrder, std::int16_t timeFormat);

    /// The moment this run started (not stored).
    Date runStart;
};

} // namespace halvika
