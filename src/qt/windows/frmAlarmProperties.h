// The alarm editor: one alarm, several at once, a new alarm or a group's template.
#pragma once

#include "windows/Translatable.h"

#include "editing/AlarmEditorLogic.h"

#include <QDialog>

#include <array>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace halvika {

class AppPaths;
class MessageBoxRoutine;
class PluginHost;
class SoundChannel;
class SoundPicker;

class frmAlarmProperties : public QDialog, public Translatable {
    Q_OBJECT

public:
    frmAlarmProperties(AlarmEditorLogic::Services services, PluginHost* plugins, QWidget* parent = nullptr);
    ~frmAlarmProperties() override;

    /// Fills the form from the alarms; with several alarms only what the user touches is written.
    void setAlarms(const Vector<Alarm>& alarms, AlarmEditorLogic::Mode mode);
    void translate() override;
    AlarmEditorLogic& logic() { return m_logic; }

    /// OK: the form goes into the logic, which checks and writes; true when the dialog closed.
    bool applyOk();

protected:
    void accept() override { applyOk(); }
    /// A date edit that gets the focus selects its section, so typing replaces it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillFromLogic();
    void readIntoLogic();
    void connectTouches();
    void refreshActionList();
    /// The action's kind and what it shows, plays or starts, as the list shows it.
    QString actionLine(int index);
    void showActionPage();
    void storeActionPage();
    void updateMomentControls();
    void addAction();
    void removeAction();
    void removeAllActions();

    AlarmEditorLogic m_logic;
    modTranslation& m_texts;
    MessageBoxRoutine& m_messages;
    const AppPaths* m_paths;
    /// The user's format for alarm moments ("df"/"al"), which the date edits follow.
    std::string m_dateFormat;
    PluginHost* m_plugins;
    bool m_filling = false;
    int m_shownAction = -1;

    QLineEdit* m_name = nullptr;
    QLabel* m_groupLabel = nullptr;
    QComboBox* m_group = nullptr;
    QComboBox* m_moment = nullptr;
    QLabel* m_onceLabel = nullptr;
    std::array<QDateTimeEdit*, 3> m_dates{};
    QLabel* m_everyLabel = nullptr;
    QSpinBox* m_periodAmount = nullptr;
    QComboBox* m_periodUnit = nullptr;
    std::array<QCheckBox*, 3> m_restrictions{};
    std::array<QCheckBox*, 7> m_weekdays{};
    QLineEdit* m_advanced = nullptr;
    QSpinBox* m_correctionAmount = nullptr;
    QComboBox* m_correctionUnit = nullptr;
    QSpinBox* m_durationAmount = nullptr;
    QComboBox* m_durationUnit = nullptr;
    QComboBox* m_importance = nullptr;
    QCheckBox* m_soundAfterInactive = nullptr;

    QListWidget* m_actions = nullptr;
    QPushButton* m_removeAll = nullptr;
    QStackedWidget* m_pages = nullptr;
    QPlainTextEdit* m_actionText = nullptr;
    QLabel* m_actionTextLabel = nullptr;
    QLineEdit* m_actionDate = nullptr;
    QLabel* m_actionDateLabel = nullptr;
    SoundPicker* m_soundPicker = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_testSound = nullptr;
    std::unique_ptr<SoundChannel> m_testChannel;
    QComboBox* m_repeatMode = nullptr;
    QSpinBox* m_repeatTimes = nullptr;
    QCheckBox* m_timed = nullptr;
    QSpinBox* m_interval = nullptr;
    QWidget* m_repeatRow = nullptr;
    QPushButton* m_pluginSettings = nullptr;
};

} // namespace halvika
