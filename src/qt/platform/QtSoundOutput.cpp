#include "platform/QtSoundOutput.h"

#include "base/DiskProbe.h"

#include <QApplication>
#include <QFileInfo>

namespace halvika {

void QtSoundOutput::beep() {
    QApplication::beep();
}

bool QtSoundOutput::fileExists(const std::string& path) const {
    return DiskProbe::forAlarms()
        .ask<bool>([path] {
            const QFileInfo info(QString::fromStdString(path));
            return info.isFile() && info.isReadable();
        })
        .value_or(false);
}

} // namespace halvika
