// A desktop notification sent without waiting for the notification server.
#pragma once

#include <QDBusConnection>
#include <QString>

namespace halvika {

class DesktopNotification {
public:
    /// Shows `body` under "Halvika"; nothing happens without a notification server.
    static void show(const QString& summary, const QString& body,
                     const QDBusConnection& bus = QDBusConnection::sessionBus());
};

} // namespace halvika
