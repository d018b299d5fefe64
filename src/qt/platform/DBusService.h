// Halvika's scripting interface on the session bus: service org.halvika.Halvika, object /org/halvika/Halvika,
// interface org.halvika.Halvika1. The commands are RemoteCommands'; this only carries them.
#pragma once

#include "platform/DBusAlarmEntry.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <functional>

namespace halvika {

class RemoteCommands;

class DBusService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.halvika.Halvika1")
public:
    static constexpr const char* serviceName = "org.halvika.Halvika";
    static constexpr const char* objectPath = "/org/halvika/Halvika";
    static constexpr const char* interfaceName = "org.halvika.Halvika1";

    explicit DBusService(RemoteCommands& commands, QObject* parent = nullptr);
    /// Offers the interface on the session bus. False when the bus is missing or another Halvika has the name.
    bool registerOnSessionBus();

    /// Brings the main window up.
    std::function<void()> showWindow;

public slots:
    /// The next moments of the switched-on alarms, soonest first, at most `limit` (1 to 1000).
    QList<DBusAlarmEntry> ListUpcoming(int limit);
    /// The alarms that sounded recently.
    QList<DBusAlarmEntry> ListRecent();
    /// The next moment ("" when none), and through the out arguments: whether alarms are blocked, how many
    /// groups and alarms are loaded, and the names of the next alarms.
    QString Status(bool& blocked, int& groups, int& alarms, QStringList& nextNames);
    /// A one-time alarm ("yyyy/mm/dd hh:nn:ss", still to come) with a message in the named group (the first when
    /// ""). The name or the message must say something; a name holds at most 256 bytes, a message 16,384, and
    /// neither control characters (a message may hold line breaks and tabs). Replies "" once the alarm is
    /// written to its group's file (the program goes on meanwhile); anything else is refused with the error
    /// org.freedesktop.DBus.Error.InvalidArgs saying why, and nothing is added.
    QString AddAlarm(const QString& name, const QString& moment, const QString& message, const QString& group);
    /// Sounds the first alarm of that name as a test.
    bool TestAlarm(const QString& name);
    void Block();
    void Unblock();
    void StopSounds();
    /// Snoozes the most recently shown alarm window by an amount of "seconds", "minutes", … "years" from now.
    /// Returns "" when done, else why not.
    QString Snooze(int amount, const QString& unit);
    void Show();
    /// Ends Halvika through its exit routine (everything is saved first), after replying.
    void Quit();

private:
    static QList<DBusAlarmEntry> listOf(const auto& entries);

    RemoteCommands& m_commands;
};

} // namespace halvika
