// Sets the wake-up alarm through the privileged helper, run with pkexec, without waiting for it.
#pragma once

#include "platform/WakeAlarmSetter.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace halvika {

class PkexecWakeAlarmSetter : public QObject, public WakeAlarmSetter {
    Q_OBJECT

public:
    /// `command` runs with the epoch second as its last argument: normally pkexec and the helper's path.
    explicit PkexecWakeAlarmSetter(QStringList command);
    /// A helper still running at exit is ended without telling anyone: whoever asked may be gone.
    ~PkexecWakeAlarmSetter() override;
    /// pkexec with the installed helper, or the program named by $HALVIKA_WAKEALARM_COMMAND (tests, and
    /// systems that grant the privilege some other way).
    static QStringList defaultCommand();
    void set(std::int64_t epochSeconds, std::function<void(Outcome)> done) override;

    /// Exit codes of pkexec itself: not authorised, or the authorisation dialog dismissed.
    static constexpr int pkexecNotAuthorised = 127;
    static constexpr int pkexecDismissed = 126;

private:
    QStringList m_command;
};

} // namespace halvika
