// Tells at once when the wall clock is set or the time zone changes.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace halvika {

/// The clock: a timer descriptor on the wall clock that the kernel cancels when the clock is set. The
/// zone: the zone file's folder, and timedated's Timezone property. Either calls `changed` (the zone is
/// read again first); without timerfd, timedated or the folder, the watch's own tick is all there is.
class ClockChangeWatcher : public QObject {
    Q_OBJECT

public:
    /// `zoneFile` is the file whose change means a new zone.
    explicit ClockChangeWatcher(QString zoneFile = QStringLiteral("/etc/localtime"));
    ~ClockChangeWatcher() override;
    void start();

    /// What changed: true for the zone, false for the clock.
    std::function<void(bool zone)> changed;

private slots:
    void timedatedPropertiesChanged(const QString& interfaceName, const QVariantMap& changedProperties,
                                    const QStringList& invalidated);

private:
    void armClockTimer();
    void clockTimerFired();
    void zoneFolderChanged();
    void zoneChanged();
    /// What identifies the zone file now (its link target or its inode and time).
    QString zoneIdentity() const;

    QString m_zoneFile;
    QString m_zoneIdentity;
    int m_timerFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QFileSystemWatcher m_folderWatcher;
};

} // namespace halvika
