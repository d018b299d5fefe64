// The alarm editor's decisions: filling the form from an alarm, the checks before writing, writing only what
// was touched (for several alarms), the follow-up questions and the change report.
#pragma once

#include "containers/Vector.h"
#include "dates/Date.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class AlarmGroup;
class AlarmGroupCollection;
class AlarmWatch;
class AppPaths;
class Clock;
class MessageBoxRoutine;
class SettingsStore;
class clsAction;
class modTranslation;

/// What the editor's controls hold.
struct AlarmForm {
    std::string name;                        ///< txtAlarmName
    std::int16_t momentIndex = 0;            ///< cmbAlarmMoment: 0 one-time, 1 periodic
    std::int32_t periodAmount = 1;           ///< pnbPeriodAmount
    std::int16_t periodUnitPosition = 3;     ///< cmbPeriodUnit (list position)
    std::array<std::string, 3> dateTexts;    ///< date entries: the one-time moment, window start and end
    std::array<bool, 3> restrictions{};      ///< chkActive: date window, weekdays, expression
    std::array<bool, 7> weekdays{};          ///< chkWeekday, Sunday first
    std::string advanced;                    ///< txtAdvanced
    std::int32_t correctionAmount = 0;       ///< pnbCorrection
    std::int16_t correctionUnitPosition = 1; ///< cmbCorrectionUnit (list position)
    bool soundAfterInactive = false;         ///< chkSoundAfterInactive
    std::int16_t importanceIndex = 2;        ///< cmbImportance: importance 2 - index
    std::int32_t durationAmount = 0;         ///< pnbDurationAmount
    std::int16_t durationUnitIndex = 1;      ///< cmbDurationUnit (the unit code itself)
    std::shared_ptr<AlarmGroup> group;       ///< cmbAlarmgroup; none for no choice
};

class AlarmEditorLogic {
public:
    enum Mode : std::int16_t { existingAlarms = 0, newAlarm = 1, templateAlarm = 2 };
    // Bits of `touched`, one per control.
    enum Touched : std::int32_t {
        touchName = 1 << 0,
        touchMoment = 1 << 1,
        touchPeriodAmount = 1 << 2,
        touchPeriodUnit = 1 << 3,
        touchOnceDate = 1 << 4,
        touchStartDate = 1 << 5,
        touchEndDate = 1 << 6,
        touchWindow = 1 << 8,
        touchWeekdayRestriction = 1 << 9,
        touchAdvancedRestriction = 1 << 10,
        touchWeekdays = 1 << 11,
        touchAdvanced = 1 << 12,
        touchCorrectionAmount = 1 << 13,
        touchCorrectionUnit = 1 << 14,
        touchSoundAfterInactive = 1 << 23,
        touchImportance = 1 << 24,
        touchDurationAmount = 1 << 25,
        touchDurationUnit = 1 << 26,
        touchEverything = -1,
    };
    static constexpr const char* section = "frmAlarmProperties";
    static constexpr int textAlarmGone = 15;
    /// The form's date entries are read and written in this format.
    static constexpr const char* dateFormat = "yyyy/mm/dd hh:nn:ss";

    struct Services {
        const Clock& clock;
        modTranslation& texts;
        MessageBoxRoutine& messages;
        AlarmGroupCollection& groups;
        AlarmWatch& watch;
        const SettingsStore& settings;
        /// Where the sound files are (the shipped ones and the user's); none in tests that need none.
        const AppPaths* paths = nullptr;
    };

    /// What OK did.
    enum class Outcome {
        Stay,  ///< a check failed: the dialog stays open
        Closed ///< written and reported
    };

    explicit AlarmEditorLogic(Services services) : m_s(services) {}

    /// The alarms to edit. One alarm fills the form and the action list (which then replaces the alarm's);
    /// several start from an empty form and action list (which is appended).
    void setAlarms(const Vector<Alarm>& alarms, Mode mode);
    static AlarmForm formOf(const Alarm& alarm);

    AlarmForm form;
    Vector<clsAction> actions;
    void touch(std::int32_t bits) { m_touched |= bits; }
    std::int32_t touched() const { return m_touched; }
    /// cmdRemoveAllActions: the editor's list replaces the alarms' actions.
    void removeAllActions();
    bool replaceActions() const { return m_replaceActions; }
    bool removeAllActionsVisible() const { return m_alarms.numberOfElements() != 1; }
    bool groupChoiceVisible() const { return m_mode != templateAlarm; }
    Mode mode() const { return m_mode; }
    const Vector<Alarm>& alarms() const { return m_alarms; }
    AlarmGroupCollection& groups() { return m_s.groups; }
    modTranslation& texts() { return m_s.texts; }

    /// OK: checks (one alarm), writes, asks the follow-up questions and reports.
    Outcome ok();
    /// After a failed check: the date entry (0-2) or -1, and whether the expression box should take the focus.
    int invalidDateEntry() const { return m_invalidDateEntry; }
    bool expressionInvalid() const { return m_expressionInvalid; }

private:
    bool checks();
    void write(Alarm& alarm, std::int32_t touched, Vector<AlarmGroup>& movedTo);
    void followUps(const std::shared_ptr<Alarm>& alarm);
    int ask(int text, int style);
    /// The period in seconds from now; none when it cannot be computed.
    std::int64_t periodSeconds(const Date& now) const;

    Services m_s;
    Vector<Alarm> m_alarms;
    Mode m_mode = existingAlarms;
    std::int32_t m_touched = 0;
    bool m_replaceActions = false;
    int m_invalidDateEntry = -1;
    bool m_expressionInvalid = false;
};

} // namespace halvika
