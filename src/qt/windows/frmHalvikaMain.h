// The main window: for now the next-alarm line and the program menu.
#pragma once

#include <QMainWindow>

class QLabel;

namespace halvika {

class AlarmWatch;
class HalvikaApp;
class SettingsStore;

class frmHalvikaMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmHalvikaMain(HalvikaApp& app, QWidget* parent = nullptr);

    /// The next-alarm line: text 217 until start-up has finished, then 209 and the next alarm or 210.
    void showNextAlarm();
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
    void translate();

signals:
    void exitRequested();
    void stopSoundsRequested();
    void showAlarmClockRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    HalvikaApp& m_app;
    AlarmWatch* m_watch = nullptr;
    const SettingsStore* m_settings = nullptr;
    QLabel* m_nextAlarm = nullptr;
    bool m_trayAvailable = false;
};

} // namespace halvika
