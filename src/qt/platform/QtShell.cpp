// Programs and documents started through Qt.
#include "platform/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace halvika {

bool QtShell::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingFolder) {
    QStringList args;
    for (const auto& a : arguments) {
        args << QString::fromStdString(a);
    }
    return QProcess::startDetached(QString::fromStdString(program), args, QString::fromStdString(workingFolder));
}

bool QtShell::openDocument(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace halvika
