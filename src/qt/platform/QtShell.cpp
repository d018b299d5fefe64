// Programs and documents started through Qt.
#include "platform/QtShell.h"

#include "platform/posix/PosixProgramStarter.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace halvika {

bool QtShell::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingFolder) {
    return PosixProgramStarter::startDetached(program, arguments, workingFolder);
}

bool QtShell::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtShell::open(const std::string& path, const std::string& parameters, const std::string& workingFolder) {
    const QString target = QString::fromStdString(path);
    const QFileInfo file(target);
    const bool program = (file.isFile() && file.isExecutable()) ||
                         (!target.contains('/') && !QStandardPaths::findExecutable(target).isEmpty());
    if (program) {
        std::vector<std::string> arguments;
        for (const QString& a : QProcess::splitCommand(QString::fromStdString(parameters))) {
            arguments.push_back(a.toStdString());
        }
        return PosixProgramStarter::startDetached(path, arguments, workingFolder);
    }
    if (target.isEmpty() || !file.exists()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

} // namespace halvika
