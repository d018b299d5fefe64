// The main window's working area: the group list, the alarm list, the two see-alarms lists and the to-do
// note, with the group and alarm commands.
#pragma once

#include "containers/Vector.h"
#include "dates/Date.h"
#include "editing/AlarmEditorLogic.h"
#include "sounding/AlarmWatch.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QPlainTextEdit;
class QSplitter;
class QTreeView;
class QTreeWidget;

namespace halvika {

class Alarm;
class AlarmGroup;
class Clipboard;
class Clock;
class CoreSubsystems;
class HalvikaCalendarLogic;
class modTranslation;
class SeeAlarmsModel;

class MainWindowLists : public QWidget {
    Q_OBJECT

public:
    /// What the alarm list's rows make their texts with, when they are shown.
    struct AlarmRows;

    /// The plug-in menus, from the loaded plug-ins and the captions they gave (filled again when the
    /// plug-ins have been found in the background).
    void fillPluginMenus();
    MainWindowLists(CoreSubsystems& core, modTranslation& texts, MessageBoxRoutine& messages, const Clock& clock,
                    Clipboard& systemClipboard, QWidget* parent = nullptr);
    ~MainWindowLists() override;

    /// Fills every list again from the groups and the watch, keeping the selections.
    void refresh();
    /// The list font, the column layouts and the see-alarms controls from the settings.
    void applySettings();
    /// The column layouts as they are on screen, into the settings.
    void takeSettings();
    void translate();
    /// The group and alarm menus, for the menu bar.
    QMenu* groupMenu() const { return m_groupMenu; }
    QMenu* alarmMenu() const { return m_alarmMenu; }
    /// The general-purpose plug-ins, each checked while it runs.
    QMenu* generalPurposeMenu() const { return m_gppMenu; }

    Vector<AlarmGroup> selectedGroups() const;
    Vector<Alarm> selectedAlarms() const;
    /// The group whose alarms the alarm list shows.
    std::shared_ptr<AlarmGroup> currentGroup() const;
    void selectGroup(const std::shared_ptr<AlarmGroup>& group);

    // Commands.
    void newGroup();
    void newAlarm();
    /// A new alarm in the selected group, due at `moment` (a calendar cell's double click).
    void newAlarmAt(const Date& moment);
    void editAlarms(const Vector<Alarm>& alarms, AlarmEditorLogic::Mode mode);
    void editSelectedAlarms();
    void deleteSelectedAlarms(bool soundedOnly);
    void setSelectedAlarmsActivity(AlarmWatch::ActivityMode mode);
    void setSelectedGroupsActivity(AlarmWatch::ActivityMode mode);
    void testSelectedAlarms();
    /// An alarm of its own, edited like any other and sounded at once on OK; kept for the next time.
    void showCustomActionWindow();
    void copySelectedAlarms(bool cut, bool toSystem);
    void pasteAlarms(bool fromSystem);
    void unloadSelectedGroups();
    void editSelectedGroups();
    void importFiles();
    void exportSelectedGroups();
    void exportCollection(bool selectionOnly);
    void moveSelected(bool groups, int step);
    /// While a calendar view (1 or 2) is shown, the alarm commands work on its selection and the clipboard
    /// records the view and the calendar offset; view 0 is the lists.
    void setShownView(HalvikaCalendarLogic* calendar, std::int16_t view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    /// The stored dividers, once the window has its size.
    void placeDividers();
    /// Commands that can do nothing now are disabled, as a menu opens.
    void updateCommandStates();
    void seeAlarmsControlsChanged(int list);
    void chooseColumns(QTreeView* list, const QPoint& at);
    /// A click on a column title: that column sorts the list, or the direction turns round.
    void headerClicked(bool groups, int column);
    static void sortList(QTreeWidget* list, std::int16_t column, bool descending);
    void fillGroups();
    void fillAlarms();
    void fillSeeAlarms(int list);
    Vector<Alarm> seeAlarmsSelection(int list) const;
    /// The selected rows of a see-alarms list, top to bottom.
    std::vector<int> selectedRows(int list) const;
    AlarmEditorLogic::Services editorServices();

    CoreSubsystems& m_core;
    modTranslation& m_texts;
    MessageBoxRoutine& m_messages;
    const Clock& m_clock;
    Clipboard& m_systemClipboard;
    bool m_filling = false;
    bool m_dividersPending = false;

    QTreeWidget* m_groups = nullptr;
    QLabel* m_alarmsLabel = nullptr;
    QTreeWidget* m_alarms = nullptr;
    QLabel* m_seeLabels[2] = {nullptr, nullptr};
    QTreeView* m_seeLists[2] = {nullptr, nullptr};
    SeeAlarmsModel* m_seeModels[2] = {nullptr, nullptr};
    QCheckBox* m_seeShown[2] = {nullptr, nullptr};
    QSpinBox* m_seeAmount[2] = {nullptr, nullptr};
    QComboBox* m_seeUnit[2] = {nullptr, nullptr};
    QPlainTextEdit* m_toDo = nullptr;
    QSplitter* m_splitters[3] = {nullptr, nullptr, nullptr};
    QMenu* m_groupMenu = nullptr;
    QMenu* m_alarmMenu = nullptr;
    QMenu* m_importPlugins = nullptr;
    QMenu* m_exportPlugins = nullptr;
    QMenu* m_gppMenu = nullptr;
    Vector<AlarmGroup> m_shownGroups;
    Vector<Alarm> m_shownAlarms;
    std::shared_ptr<AlarmRows> m_alarmRows;
    std::shared_ptr<Alarm> m_customAction;
    HalvikaCalendarLogic* m_calendar = nullptr;
    std::int16_t m_shownView = 0;
};

} // namespace halvika
