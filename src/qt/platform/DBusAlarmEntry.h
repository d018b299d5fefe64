// One alarm in the D-Bus interface's lists: (moment "yyyy/mm/dd hh:nn:ss", name, group), signature (sss).
#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace halvika {

struct DBusAlarmEntry {
    QString moment;
    QString name;
    QString group;

    /// Makes the type and its list known to Qt D-Bus; once per process.
    static void registerTypes();
};

QDBusArgument& operator<<(QDBusArgument& argument, const DBusAlarmEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusAlarmEntry& entry);

} // namespace halvika

Q_DECLARE_METATYPE(halvika::DBusAlarmEntry)
