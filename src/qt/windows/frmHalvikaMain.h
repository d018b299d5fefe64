// The main window: the next-alarm line, the groups, alarms, see-alarms lists and to-do note, and the menus.
#pragma once

#include "windows/Translatable.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class QStackedWidget;

namespace halvika {

class AlarmWatch;
class Clipboard;
class Clock;
class CoreSubsystems;
class HalvikaApp;
class HalvikaCalendar;
class HalvikaCalendarLogic;
class QtWatchListener;
class MainWindowLists;
class frmFind;
class SettingsStore;

class frmHalvikaMain : public QMainWindow, public Translatable {
    Q_OBJECT
public:
    // Main-window texts of the next-alarm line and the version check.
    static constexpr int textNextAlarm = 209;
    static constexpr int textNoNextAlarm = 210;
    static constexpr int textLoading = 217;
    static constexpr int textBlocked = 218;
    static constexpr int textNoVersionCheck = 223;
    /// How long a change waits before the lists are filled again.
    static constexpr int refreshDelayMs = 25;

    explicit frmHalvikaMain(HalvikaApp& app, QWidget* parent = nullptr);
    ~frmHalvikaMain() override;

    /// The next-alarm line: text 217 until start-up has finished, then 209 and the next alarm or 210.
    void showNextAlarm();
    /// The next-alarm line as shown.
    QString nextAlarmText() const;
    /// Shows or hides the window (the close box and the tray toggle).
    void toggleWindowVisibility();
    /// Whether the close box may hide the window: only when there is a tray icon to bring it back.
    void setTrayAvailable(bool available) { m_trayAvailable = available; }
    /// The watch whose upcoming alarms the next-alarm line names.
    void setWatch(AlarmWatch* watch) { m_watch = watch; }
    /// The settings whose next-alarm format ("na") the line uses.
    void setSettings(const SettingsStore* settings) { m_settings = settings; }
    /// Places the window as the settings remember it (twips, state, visibility).
    void applyGeometry(const SettingsStore& settings);
    /// Takes the window's place back into the settings; position and size only in the normal state.
    void takeGeometry(SettingsStore& settings) const;
    /// Sets the captions from the language file.
    void translate() override;
    /// Shows the groups, alarms, see-alarms lists and to-do note of the core, with their menus.
    void setCore(CoreSubsystems& core, const Clock& clock, Clipboard& systemClipboard, QtWatchListener& watchReports);
    MainWindowLists* lists() const { return m_lists; }
    /// Fills the lists again a moment later (many changes make one refresh).
    void scheduleRefresh();
    /// Fills the lists again now; a refresh still to come is dropped.
    void refreshNow();
    /// Shows blocked mode in the menu.
    void showBlocked(bool blocked);
    /// The lists and calendar settings from the core's settings, and the view they name.
    void applySettings();
    /// The lists' and the calendar's settings as they are on screen, into the core's settings.
    void takeSettings();
    /// 0 the lists, 1 and 2 the calendar's two views (the setting mw/view).
    void showView(std::int16_t view);
    std::int16_t shownView() const { return m_view; }
    /// Fills every calendar view from the loaded groups, one after the other.
    void showCalendars();
    /// The calendar: built the first time one of its views is shown, as most runs never show it; null before.
    HalvikaCalendar* calendar() const { return m_calendar; }
    HalvikaCalendarLogic* calendarLogic() const { return m_calendarLogic.get(); }
    /// The find window (one, kept while the program runs).
    void showFind();
    frmFind* findWindow() const { return m_find; }

signals:
    void exitRequested();
    void stopSoundsRequested();
    void showAlarmClockRequested();
    void settingsRequested();
    void quickReminderRequested();
    /// The captions were set again (the tray menu follows).
    void translated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    HalvikaCalendar& ensureCalendar();
    void connectCalendar();
    /// The calendar's part of the settings, which its logic does not keep.
    void applyCalendarSettings();

    HalvikaApp& m_app;
    AlarmWatch* m_watch = nullptr;
    const SettingsStore* m_settings = nullptr;
    QLabel* m_nextAlarm = nullptr;
    MainWindowLists* m_lists = nullptr;
    frmFind* m_find = nullptr;
    CoreSubsystems* m_core = nullptr;
    QAction* m_blocked = nullptr;
    QAction* m_autoCheck = nullptr;
    QStackedWidget* m_views = nullptr;
    HalvikaCalendar* m_calendar = nullptr;
    std::unique_ptr<HalvikaCalendarLogic> m_calendarLogic;
    std::array<QAction*, 3> m_viewActions{};
    std::int16_t m_view = 0;
    const Clock* m_clock = nullptr;
    QTimer m_refreshTimer;
    bool m_trayAvailable = false;
};

} // namespace halvika
