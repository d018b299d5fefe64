#include "platform/QtSoundOutput.h"

#include <QApplication>
#include <QFileInfo>

namespace halvika {

void QtSoundOutput::beep() {
    QApplication::beep();
}

bool QtSoundOutput::fileExists(const std::string& path) const {
    return m_probe
        .ask<bool>([path] {
            const QFileInfo info(QString::fromStdString(path));
            return info.isFile() && info.isReadable();
        })
        .value_or(false);
}

} // namespace halvika
