// halvika-cli's calls on the session bus.
#include "DBusRemoteClient.h"

#include "platform/DBusAlarmEntry.h"
#include "platform/DBusService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusInterface>
#include <QDBusReply>

namespace halvika {

namespace {

QDBusInterface halvika() {
    return QDBusInterface(DBusService::serviceName, DBusService::objectPath, DBusService::interfaceName,
                          QDBusConnection::sessionBus());
}

} // namespace

DBusRemoteClient::DBusRemoteClient() {
    DBusAlarmEntry::registerTypes();
}

bool DBusRemoteClient::reachable() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        m_error = "no session bus";
        return false;
    }
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(DBusService::serviceName);
    if (!registered.isValid() || !registered.value()) {
        m_error = std::string(DBusService::serviceName) + " is not on the session bus";
        return false;
    }
    m_error.clear();
    return true;
}

std::vector<RemoteClient::Entry> DBusRemoteClient::upcoming(int limit) {
    const QDBusReply<QList<DBusAlarmEntry>> reply = halvika().call("ListUpcoming", limit);
    std::vector<Entry> entries;
    if (!reply.isValid()) {
        m_error = reply.error().message().toStdString();
        return entries;
    }
    for (const DBusAlarmEntry& e : reply.value()) {
        entries.push_back({e.moment.toStdString(), e.name.toStdString(), e.group.toStdString()});
    }
    return entries;
}

RemoteClient::Status DBusRemoteClient::status() {
    const QDBusMessage reply = halvika().call("Status");
    Status s;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 5) {
        m_error = reply.errorMessage().toStdString();
        return s;
    }
    const QList<QVariant> values = reply.arguments();
    s.next = values[0].toString().toStdString();
    s.blocked = values[1].toBool();
    s.groups = values[2].toInt();
    s.alarms = values[3].toInt();
    for (const QString& name : values[4].toStringList()) {
        s.nextNames.push_back(name.toStdString());
    }
    return s;
}

std::string DBusRemoteClient::addAlarm(const std::string& name, const std::string& moment, const std::string& message,
                                       const std::string& group) {
    const QDBusReply<QString> reply =
        halvika().call("AddAlarm", QString::fromStdString(name), QString::fromStdString(moment),
                       QString::fromStdString(message), QString::fromStdString(group));
    if (!reply.isValid()) {
        // Refused input is the caller's to mend; any other error means no Halvika answered.
        if (reply.error().type() == QDBusError::InvalidArgs) {
            return reply.error().message().toStdString();
        }
        m_error = reply.error().message().toStdString();
        return m_error;
    }
    return reply.value().toStdString();
}

void DBusRemoteClient::setBlocked(bool blocked) {
    const QDBusMessage reply = halvika().call(blocked ? "Block" : "Unblock");
    if (reply.type() == QDBusMessage::ErrorMessage) {
        m_error = reply.errorMessage().toStdString();
    }
}

void DBusRemoteClient::stopSounds() {
    const QDBusMessage reply = halvika().call("StopSounds");
    if (reply.type() == QDBusMessage::ErrorMessage) {
        m_error = reply.errorMessage().toStdString();
    }
}

} // namespace halvika
