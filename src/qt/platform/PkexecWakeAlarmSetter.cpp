// Sets the wake-up alarm through the privileged helper, run with pkexec, without waiting for it.
#include "platform/PkexecWakeAlarmSetter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace halvika {

PkexecWakeAlarmSetter::PkexecWakeAlarmSetter(QStringList command) : m_command(std::move(command)) {}

PkexecWakeAlarmSetter::~PkexecWakeAlarmSetter() {
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
    }
}

QStringList PkexecWakeAlarmSetter::defaultCommand() {
    const QString own = qEnvironmentVariable("HALVIKA_WAKEALARM_COMMAND");
    if (!own.isEmpty()) {
        return {own};
    }
    // Beside the program first (a staged installation), then where the package puts it.
    QString helper = QDir(QCoreApplication::applicationDirPath()).filePath("../libexec/halvika/halvika-wakealarm");
    if (!QFileInfo(helper).isExecutable()) {
        helper = QStringLiteral(HALVIKA_LIBEXEC_DIR "/halvika-wakealarm");
    }
    return {QStringLiteral("pkexec"), QFileInfo(helper).absoluteFilePath()};
}

void PkexecWakeAlarmSetter::set(std::int64_t epochSeconds, std::function<void(Outcome)> done) {
    const QString helper = m_command.last();
    const QString program = m_command.first();
    if (!QFileInfo(helper).isExecutable() ||
        (QFileInfo(program).isRelative() && QStandardPaths::findExecutable(program).isEmpty())) {
        done(Outcome::Missing);
        return;
    }
    auto* process = new QProcess(this);
    process->setProgram(program);
    process->setArguments(m_command.mid(1) << QString::number(epochSeconds));
    process->setStandardOutputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [process, done](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit) {
            done(Outcome::Failed);
        } else if (code == 0) {
            done(Outcome::Done);
        } else if (code == pkexecNotAuthorised || code == pkexecDismissed) {
            done(Outcome::Refused);
        } else {
            done(Outcome::Failed);
        }
    });
    connect(process, &QProcess::errorOccurred, this, [process, done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            process->deleteLater();
            done(Outcome::Missing);
        }
    });
    process->start();
}

} // namespace halvika
