// The settings dialog: every preference, checked and stored by the core's rules.
#pragma once

#include "windows/Translatable.h"

// WORKAROUND: moc (Qt 6.4) fails on <concepts> when <functional> is seen before any Qt header, so the Qt
// headers come first here.
#include <QDialog>
#include <QFont>

#include "settings/SettingsDialogRules.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace halvika {

class CoreSubsystems;
class MessageBoxRoutine;
class modSpeech;
class modTranslation;
class Alarm;
class Clock;
class SoundPicker;

class frmSettings : public QDialog, public Translatable {
    Q_OBJECT

public:
    frmSettings(CoreSubsystems& core, modTranslation& texts, MessageBoxRoutine& messages, const Clock& clock,
                std::vector<std::string> voices, std::vector<std::string> languages,
                std::vector<std::string> colourSchemes, QWidget* parent = nullptr);
    void translate() override;
    /// cmdApply: checks and stores; false when a check failed (nothing was stored).
    bool apply();
    /// Called after the settings were stored, so that the program applies them (language, lists...).
    std::function<void()> applied;
    /// Whether Halvika starts with the desktop session, and the switch that writes or removes the entry.
    /// Without them the check box is disabled.
    std::function<bool()> autostartEnabled;
    std::function<bool(bool)> setAutostart;
    /// Whether the start-up safety check is on, and the switch; without them the check box is disabled.
    std::function<bool()> safetyCheckOn;
    std::function<void(bool)> setSafetyCheck;
    /// Takes the autostart and safety-check states into their check boxes (after the functions above are set).
    void showProgramSwitches();
    /// Says plainly, under the wake-up choice, why waking does not work (nothing when it does).
    void showWakeProblem();
    /// The voices as the speech engines have learned them since the window opened; the choice stays.
    void setVoices(std::vector<std::string> voices);
    /// Why waking the computer does not work (main-window text number of this section), 0 when it does or is
    /// off; without it nothing is said.
    std::function<int()> wakeProblemText;
    /// Edits an alarm in the alarm editor as a template (the template and the secondary and attention alarms).
    std::function<void(std::shared_ptr<Alarm>&)> editAlarm;

protected:
    void accept() override;

private:
    QWidget* generalPage();
    QWidget* alarmsPage();
    QWidget* windowsPage();
    QWidget* soundPage();
    QWidget* displayPage();
    void fill();
    void fillVoices(const std::string& chosen);

    CoreSubsystems& m_core;
    modTranslation& m_texts;
    MessageBoxRoutine& m_messages;
    const Clock& m_clock;
    std::vector<std::string> m_voices;
    std::vector<std::string> m_languages;
    std::vector<std::string> m_schemes;
    SettingsDialogRules::Input m_input;
    std::shared_ptr<Alarm> m_secondary;
    std::shared_ptr<Alarm> m_attention;

    QComboBox* m_language = nullptr;
    QComboBox* m_scheme = nullptr;
    QLineEdit* m_folder = nullptr;
    QCheckBox* m_autoSave = nullptr;
    QCheckBox* m_toolTips = nullptr;
    QCheckBox* m_autostart = nullptr;
    QCheckBox* m_safetyCheck = nullptr;
    SoundPicker* m_soundPicker = nullptr;
    QPushButton* m_font = nullptr;
    QFont m_listFont;
    QSpinBox* m_warning = nullptr;
    QComboBox* m_whenUnblocked = nullptr;
    QCheckBox* m_timeInactive = nullptr;
    QSpinBox* m_inactiveMinutes = nullptr;
    QSpinBox* m_timerCorrection = nullptr;
    QCheckBox* m_ignoreCorrection = nullptr;
    QCheckBox* m_overlap = nullptr;
    QSpinBox* m_overlapAmount = nullptr;
    QComboBox* m_overlapUnit = nullptr;
    QComboBox* m_overlapRestriction = nullptr;
    QCheckBox* m_secondaryOn = nullptr;
    QComboBox* m_secondaryRestriction = nullptr;
    QCheckBox* m_attentionOn = nullptr;
    QComboBox* m_attentionRestriction = nullptr;
    QCheckBox* m_wakeOn = nullptr;
    QComboBox* m_wakeRestriction = nullptr;
    QSpinBox* m_wakeLead = nullptr;
    QLabel* m_wakeProblem = nullptr;
    QCheckBox* m_forceForeground = nullptr;
    QCheckBox* m_oneWindow = nullptr;
    QSpinBox* m_snoozeAmount = nullptr;
    QComboBox* m_snoozeUnit = nullptr;
    QComboBox* m_snoozeAddTo = nullptr;
    QSpinBox* m_clockMinutes = nullptr;
    QSpinBox* m_clockSnooze = nullptr;
    QLineEdit* m_defaultSound = nullptr;
    QCheckBox* m_soundVolumeOn = nullptr;
    QSlider* m_soundVolume = nullptr;
    QComboBox* m_voice = nullptr;
    QCheckBox* m_voiceVolumeOn = nullptr;
    QSlider* m_voiceVolume = nullptr;
    QCheckBox* m_voiceSpeedOn = nullptr;
    QSlider* m_voiceSpeed = nullptr;
    QCheckBox* m_assistant = nullptr;
    std::array<QLineEdit*, 4> m_formats{};
    QSpinBox* m_barWidth = nullptr;
    QCheckBox* m_autoCalendar = nullptr;
    QSpinBox* m_calendarOffset = nullptr;
};

} // namespace halvika
