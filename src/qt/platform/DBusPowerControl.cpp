#include "platform/DBusPowerControl.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace halvika {

namespace {

const QString login1 = QStringLiteral("org.freedesktop.login1");
const QString managerPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");

/// Sent without waiting for the answer: these run from an alarm's actions, inside the tick, and a service
/// that hangs must not hold the alarms up.
void send(const QDBusConnection& bus, const QDBusMessage& call) {
    QDBusConnection(bus).asyncCall(call);
}

void callManager(const QString& method) {
    QDBusMessage call = QDBusMessage::createMethodCall(login1, managerPath, managerInterface, method);
    call << false; // no interactive authorisation prompt
    send(QDBusConnection::systemBus(), call);
}

void terminateSession(const QString& path) {
    send(QDBusConnection::systemBus(),
         QDBusMessage::createMethodCall(login1, path, QStringLiteral("org.freedesktop.login1.Session"),
                                        QStringLiteral("Terminate")));
}

} // namespace

void DBusPowerControl::startScreenSaver() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("SetActive"));
    call << true;
    send(QDBusConnection::sessionBus(), call);
}

void DBusPowerControl::shutDown() {
    callManager(QStringLiteral("PowerOff"));
}

void DBusPowerControl::restart() {
    callManager(QStringLiteral("Reboot"));
}

void DBusPowerControl::logOff() {
    // Our own session: by its id when the session tells it, else logind's name for the caller's session.
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    const QString own = QStringLiteral("/org/freedesktop/login1/session/auto");
    if (id.isEmpty()) {
        terminateSession(own);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(login1, managerPath, managerInterface, "GetSession");
    call << id;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [own](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        terminateSession(reply.isError() ? own : reply.value().path());
        w->deleteLater();
    });
}

} // namespace halvika
