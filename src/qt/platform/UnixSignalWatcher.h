// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the user-interface thread.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace halvika {

/// A signal handler may do almost nothing; it writes a byte to a socket that the event loop watches.
class UnixSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit UnixSignalWatcher(QObject* parent = nullptr);
    ~UnixSignalWatcher() override;

signals:
    void terminationRequested();

private:
    static void handle(int signalNumber);
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace halvika
