// Programs and documents started through Qt.
#include "platform/QtShell.h"

#include "platform/OpenTarget.h"
#include "platform/posix/PosixProgramStarter.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <cstdlib>

namespace halvika {

bool QtShell::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingFolder) {
    return PosixProgramStarter::startDetached(program, arguments, workingFolder);
}

bool QtShell::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtShell::open(const std::string& path, const std::string& parameters, const std::string& workingFolder) {
    const char* searchPath = std::getenv("PATH");
    const OpenTarget target = OpenTarget::resolve(path, workingFolder, searchPath ? searchPath : "");
    switch (target.kind) {
    case OpenTarget::Kind::Program: {
        std::vector<std::string> arguments;
        for (const QString& a : QProcess::splitCommand(QString::fromStdString(parameters))) {
            arguments.push_back(a.toStdString());
        }
        return PosixProgramStarter::startDetached(target.path, arguments, workingFolder);
    }
    case OpenTarget::Kind::Address:
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(target.path)));
    case OpenTarget::Kind::Document:
        return QDesktopServices::openUrl(
            QUrl::fromLocalFile(QFileInfo(QString::fromStdString(target.path)).absoluteFilePath()));
    case OpenTarget::Kind::Missing:
        break;
    }
    return false;
}

} // namespace halvika
