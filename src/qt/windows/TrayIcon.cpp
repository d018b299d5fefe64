// The notification-area icon and its menu.
#include "windows/TrayIcon.h"

#include "windows/AppIcon.h"

#include <QMenu>

#include "settings/modTranslation.h"
#include <QSystemTrayIcon>

namespace halvika {

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), m_icon(new QSystemTrayIcon(this)), m_menu(new QMenu()) {
    m_menu->setObjectName("mnuTray");
    QAction* toggle = m_menu->addAction(tr("Show or hide window"), this, &TrayIcon::toggleWindowRequested);
    toggle->setObjectName("mnuTrayToggleWindow");
    QAction* calendar = m_menu->addAction(tr("Date and time"), this, &TrayIcon::calendarRequested);
    calendar->setObjectName("mnuTrayCalendar");
    QAction* add = m_menu->addAction(tr("Add an alarm..."), this, &TrayIcon::addAlarmRequested);
    add->setObjectName("mnuTrayAddAlarm");
    QAction* remind = m_menu->addAction(tr("Remind me in..."), this, &TrayIcon::quickReminderRequested);
    remind->setObjectName("mnuTrayRemindMe");
    m_menu->addSeparator();
    m_blocked = m_menu->addAction(tr("Blocked"), this, [this] { emit blockedToggled(m_blocked->isChecked()); });
    m_blocked->setObjectName("mnuTrayBlocked");
    m_blocked->setCheckable(true);
    QAction* stop = m_menu->addAction(tr("Stop sounds"), this, &TrayIcon::stopSoundsRequested);
    stop->setObjectName("mnuTrayStopSounds");
    QAction* exit = m_menu->addAction(tr("Exit"), this, &TrayIcon::exitRequested);
    exit->setObjectName("mnuTrayExit");
    m_icon->setContextMenu(m_menu);
    m_icon->setIcon(AppIcon::icon());
    m_icon->setToolTip("Halvika");
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
            emit toggleWindowRequested();
        }
    });
}

TrayIcon::~TrayIcon() {
    delete m_menu;
}

bool TrayIcon::isAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::show() {
    m_icon->show();
}

void TrayIcon::hide() {
    m_icon->hide();
}

void TrayIcon::setToolTip(const QString& text) {
    // Told at every tick; the tray host hears only of a change.
    if (m_icon->toolTip() != text) {
        m_icon->setToolTip(text);
    }
}

void TrayIcon::setBlocked(bool blocked) {
    m_icon->setIcon(AppIcon::icon(blocked));
    m_blocked->setChecked(blocked);
}

void TrayIcon::translate(modTranslation& texts) {
    for (QAction* action : m_menu->actions()) {
        if (!action->objectName().isEmpty()) {
            action->setText(QString::fromStdString(
                texts.getValue("frmHalvikaMain", action->objectName().toStdString(), action->text().toStdString())));
        }
    }
}

} // namespace halvika
