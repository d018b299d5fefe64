#include "windows/SoundPicker.h"

#include "base/AppPaths.h"

#include <QDir>
#include <QFileInfo>

namespace halvika {

SoundPicker::SoundPicker(const AppPaths* paths, QWidget* parent) : QComboBox(parent), m_paths(paths) {
    setObjectName("cmbSound");
    addItem(QString(), QString());
    if (m_paths) {
        for (const std::string& path : m_paths->sounds()) {
            const QString file = QString::fromStdString(path);
            addItem(QFileInfo(file).completeBaseName(), file);
        }
    }
}

void SoundPicker::setOwnFileText(const QString& text) {
    setItemText(0, text);
}

void SoundPicker::showPath(const QString& path) {
    const int index = path.isEmpty() ? -1 : findData(path);
    setCurrentIndex(index < 0 ? 0 : index);
}

QString SoundPicker::browseFolder(const QString& current) const {
    const QFileInfo file(current);
    if (current.contains('/') && file.absoluteDir().exists()) {
        return file.absolutePath();
    }
    return m_paths ? QString::fromStdString(m_paths->soundsFolder()) : QString();
}

} // namespace halvika
