// A desktop notification sent without waiting for the notification server.
#include "platform/DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

namespace halvika {

void DesktopNotification::show(const QString& summary, const QString& body, const QDBusConnection& bus) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.Notifications", "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "Notify");
    QVariantMap hints;
    hints.insert("desktop-entry", QString("halvika"));
    call << QString("Halvika") << 0U << QString("halvika") << summary << body << QStringList() << hints << -1;
    // Its answer is of no use: a hanging server must not hold the program up.
    QDBusConnection(bus).asyncCall(call);
}

} // namespace halvika
