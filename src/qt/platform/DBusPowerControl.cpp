#include "platform/DBusPowerControl.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>

namespace halvika {

namespace {

const char* const login1 = "org.freedesktop.login1";
const char* const managerPath = "/org/freedesktop/login1";
const char* const managerInterface = "org.freedesktop.login1.Manager";

void callManager(const char* method) {
    QDBusInterface manager(login1, managerPath, managerInterface, QDBusConnection::systemBus());
    // false: no interactive authorisation prompt.
    manager.call(method, false);
}

} // namespace

void DBusPowerControl::startScreenSaver() {
    QDBusInterface saver("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
                         QDBusConnection::sessionBus());
    saver.call("SetActive", true);
}

void DBusPowerControl::shutDown() {
    callManager("PowerOff");
}

void DBusPowerControl::restart() {
    callManager("Reboot");
}

void DBusPowerControl::logOff() {
    // Our own session: by its id when the session tells it, else logind's name for the caller's session.
    QString path = QStringLiteral("/org/freedesktop/login1/session/auto");
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    if (!id.isEmpty()) {
        QDBusInterface manager(login1, managerPath, managerInterface, QDBusConnection::systemBus());
        const QDBusReply<QDBusObjectPath> reply = manager.call("GetSession", id);
        if (reply.isValid()) {
            path = reply.value().path();
        }
    }
    QDBusInterface session(login1, path, "org.freedesktop.login1.Session", QDBusConnection::systemBus());
    session.call("Terminate");
}

} // namespace halvika
