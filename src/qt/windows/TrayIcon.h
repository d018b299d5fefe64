// The notification-area icon and its menu.
#pragma once

#include <QObject>

class QSystemTrayIcon;
class QAction;
class QMenu;

namespace halvika {

class modTranslation;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    /// False when the desktop has no notification area; the main window then stays shown.
    static bool isAvailable();
    void show();
    void hide();
    void setToolTip(const QString& text);
    void setBlocked(bool blocked);
    /// The menu's captions from the language file (the main window's section).
    void translate(modTranslation& texts);
    QMenu* menu() const { return m_menu; }

signals:
    void toggleWindowRequested();
    void stopSoundsRequested();
    void addAlarmRequested();
    void quickReminderRequested();
    void calendarRequested();
    void blockedToggled(bool blocked);
    void exitRequested();

private:
    QSystemTrayIcon* m_icon = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_blocked = nullptr;
};

} // namespace halvika
