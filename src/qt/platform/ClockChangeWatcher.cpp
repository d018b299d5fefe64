// Tells at once when the wall clock is set or the time zone changes.
#include "platform/ClockChangeWatcher.h"

#include "platform/posix/PosixClock.h"

#include <QDBusConnection>
#include <QFileInfo>

#include <cerrno>
#include <cstdint>
#include <sys/stat.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace halvika {

ClockChangeWatcher::ClockChangeWatcher(QString zoneFile) : m_zoneFile(std::move(zoneFile)) {}

ClockChangeWatcher::~ClockChangeWatcher() {
    m_notifier.reset();
    if (m_timerFd >= 0) {
        ::close(m_timerFd);
    }
}

void ClockChangeWatcher::start() {
    m_timerFd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timerFd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_timerFd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { clockTimerFired(); });
        armClockTimer();
    }
    // The zone file is replaced, not written (a new link), so its folder is what shows the change.
    m_zoneIdentity = zoneIdentity();
    const QString folder = QFileInfo(m_zoneFile).absolutePath();
    if (QFileInfo::exists(folder)) {
        m_folderWatcher.addPath(folder);
    }
    connect(&m_folderWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { zoneFolderChanged(); });
    QDBusConnection::systemBus().connect(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
        SLOT(timedatedPropertiesChanged(QString, QVariantMap, QStringList)));
}

void ClockChangeWatcher::armClockTimer() {
    // Never due (the far future); it exists only to be cancelled when the clock is set.
    itimerspec far{};
    far.it_value.tv_sec = static_cast<time_t>(INT32_MAX);
    ::timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr);
}

void ClockChangeWatcher::clockTimerFired() {
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(m_timerFd, &expirations, sizeof expirations);
    if (got < 0 && errno == ECANCELED) {
        armClockTimer();
        if (changed) {
            changed(false);
        }
    } else if (got < 0 && errno != EAGAIN) {
        m_notifier->setEnabled(false); // a descriptor that only fails would wake the loop without end
    }
}

QString ClockChangeWatcher::zoneIdentity() const {
    const QFileInfo info(m_zoneFile);
    struct stat st {};
    const bool present = ::stat(QFile::encodeName(m_zoneFile).constData(), &st) == 0;
    return info.symLinkTarget() + "|" +
           (present ? QString::number(st.st_ino) + ":" + QString::number(st.st_mtim.tv_sec) + "." +
                          QString::number(st.st_mtim.tv_nsec)
                    : QString());
}

void ClockChangeWatcher::zoneFolderChanged() {
    const QString identity = zoneIdentity();
    if (identity != m_zoneIdentity) {
        m_zoneIdentity = identity;
        zoneChanged();
    }
}

void ClockChangeWatcher::timedatedPropertiesChanged(const QString& interfaceName, const QVariantMap& changedProperties,
                                                    const QStringList& invalidated) {
    if (interfaceName == QStringLiteral("org.freedesktop.timedate1") &&
        (changedProperties.contains(QStringLiteral("Timezone")) || invalidated.contains(QStringLiteral("Timezone")))) {
        zoneChanged();
    }
}

void ClockChangeWatcher::zoneChanged() {
    PosixClock::zoneChanged();
    if (changed) {
        changed(true);
    }
}

} // namespace halvika
