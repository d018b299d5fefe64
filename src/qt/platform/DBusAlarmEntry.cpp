// The (sss) structure of the D-Bus interface's alarm lists.
#include "platform/DBusAlarmEntry.h"

#include <QDBusMetaType>

namespace halvika {

void DBusAlarmEntry::registerTypes() {
    qDBusRegisterMetaType<DBusAlarmEntry>();
    qDBusRegisterMetaType<QList<DBusAlarmEntry>>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusAlarmEntry& entry) {
    argument.beginStructure();
    argument << entry.moment << entry.name << entry.group;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusAlarmEntry& entry) {
    argument.beginStructure();
    argument >> entry.moment >> entry.name >> entry.group;
    argument.endStructure();
    return argument;
}

} // namespace halvika
