// Follows logind's sleep and wake-up, holding a delay lock so that data is saved before the machine sleeps.
#include "platform/LogindSleepWatcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

namespace halvika {

namespace {

const QString login1 = QStringLiteral("org.freedesktop.login1");
const QString managerPath = QStringLiteral("/org/freedesktop/login1");
const QString managerInterface = QStringLiteral("org.freedesktop.login1.Manager");

} // namespace

LogindSleepWatcher::LogindSleepWatcher() {
    m_logind.setConnection(QDBusConnection::systemBus());
    m_logind.addWatchedService(login1);
    m_logind.setWatchMode(QDBusServiceWatcher::WatchForRegistration);
    // A restarted logind has forgotten our lock.
    connect(&m_logind, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        releaseLock();
        takeLock();
    });
}

void LogindSleepWatcher::start() {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    bus.connect(login1, managerPath, managerInterface, QStringLiteral("PrepareForSleep"), this,
                SLOT(prepareForSleep(bool)));
    takeLock();
}

void LogindSleepWatcher::takeLock() {
    if (m_lock.isValid() || m_asking) {
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(login1, managerPath, managerInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Halvika") << QStringLiteral("Saving alarms before sleep")
         << QStringLiteral("delay");
    m_asking = true;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        m_asking = false;
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
        if (!reply.isError() && reply.value().isValid()) {
            m_lock = reply.value();
        }
        w->deleteLater();
    });
}

void LogindSleepWatcher::releaseLock() {
    m_lock = QDBusUnixFileDescriptor(); // the last copy closes the descriptor, which lets logind go on
}

void LogindSleepWatcher::prepareForSleep(bool sleeping) {
    if (sleeping) {
        // Posted before saving: it runs when the save returns, or inside the message loop of a box the
        // save could not do without, so that a failed save never holds the machine awake.
        QTimer::singleShot(0, this, [this] { releaseLock(); });
        if (beforeSleep) {
            beforeSleep();
        }
        return;
    }
    if (afterWake) {
        afterWake();
    }
    takeLock();
}

} // namespace halvika
