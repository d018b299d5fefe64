// Follows logind's sleep and wake-up, holding a delay lock so that data is saved before the machine sleeps.
#pragma once

#include <QDBusServiceWatcher>
#include <QDBusUnixFileDescriptor>
#include <QObject>

#include <functional>

namespace halvika {

/// Without logind (or while it restarts) nothing happens: the watch's own timer goes on as before. Every
/// call is asynchronous, so a hanging logind never holds up a tick.
class LogindSleepWatcher : public QObject {
    Q_OBJECT

public:
    LogindSleepWatcher();
    /// Listens on the system bus and takes the delay lock.
    void start();

    /// The machine is about to sleep: save now (the lock is released after it returns).
    std::function<void()> beforeSleep;
    /// The machine woke up.
    std::function<void()> afterWake;

    bool holdsLock() const { return m_lock.isValid(); }

private slots:
    void prepareForSleep(bool sleeping);

private:
    void takeLock();
    void releaseLock();

    QDBusServiceWatcher m_logind;
    QDBusUnixFileDescriptor m_lock;
    bool m_asking = false;
};

} // namespace halvika
