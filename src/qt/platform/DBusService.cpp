// The session-bus interface.
#include "platform/DBusService.h"

#include "app/RemoteCommands.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QTimer>

#include <memory>

namespace halvika {

DBusService::DBusService(RemoteCommands& commands, QObject* parent) : QObject(parent), m_commands(commands) {
    DBusAlarmEntry::registerTypes();
}

bool DBusService::registerOnSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerObject(objectPath, this, QDBusConnection::ExportAllSlots)) {
        return false;
    }
    return bus.registerService(serviceName);
}

QList<DBusAlarmEntry> DBusService::listOf(const auto& entries) {
    QList<DBusAlarmEntry> list;
    for (const auto& e : entries) {
        list.append({QString::fromStdString(e.moment.toFileString()), QString::fromStdString(e.name),
                     QString::fromStdString(e.group)});
    }
    return list;
}

QList<DBusAlarmEntry> DBusService::ListUpcoming(int limit) {
    return listOf(m_commands.upcoming(limit));
}

QList<DBusAlarmEntry> DBusService::ListRecent() {
    return listOf(m_commands.recent());
}

QString DBusService::Status(bool& blocked, int& groups, int& alarms, QStringList& nextNames) {
    const RemoteCommands::Status s = m_commands.status();
    blocked = s.blocked;
    groups = s.groups;
    alarms = s.alarms;
    nextNames.clear();
    for (const auto& n : s.nextNames) {
        nextNames << QString::fromStdString(n);
    }
    return s.next < Date::none() ? QString::fromStdString(s.next.toFileString()) : QString();
}

QString DBusService::AddAlarm(const QString& name, const QString& moment, const QString& message,
                              const QString& group) {
    // Answered once the alarm is on disk, which the event loop does not wait for.
    std::function<void(const QString&)> reply = [](const QString&) {};
    if (calledFromDBus()) {
        setDelayedReply(true);
        reply = [call = QDBusContext::message(), bus = connection()](const QString& problem) {
            QDBusConnection(bus).send(problem.isEmpty() ? call.createReply(QString())
                                                        : call.createErrorReply(QDBusError::InvalidArgs, problem));
        };
    }
    const auto answered = std::make_shared<QString>(); // a refusal is told at once, before the return
    m_commands.addAlarm(name.toStdString(), moment.toStdString(), message.toStdString(), group.toStdString(),
                        [reply, answered](const std::string& problem) {
                            *answered = QString::fromStdString(problem);
                            reply(*answered);
                        });
    return *answered;
}

bool DBusService::TestAlarm(const QString& name) {
    return m_commands.testAlarm(name.toStdString());
}

void DBusService::Block() {
    m_commands.setBlocked(true);
}

void DBusService::Unblock() {
    m_commands.setBlocked(false);
}

void DBusService::StopSounds() {
    m_commands.stopSounds();
}

QString DBusService::Snooze(int amount, const QString& unit) {
    return QString::fromStdString(m_commands.snooze(amount, unit.toStdString()));
}

void DBusService::Show() {
    if (showWindow) {
        showWindow();
    }
}

void DBusService::Quit() {
    // The caller gets its reply before the program goes.
    QTimer::singleShot(0, this, [this] { m_commands.quit(); });
}

} // namespace halvika
