// A drop-down of the shipped and the user's own sounds, beside every field that takes a sound file.
#pragma once

#include <QComboBox>

namespace halvika {

class AppPaths;

class SoundPicker : public QComboBox {
public:
    /// Without paths the list holds only the "own file" entry.
    SoundPicker(const AppPaths* paths, QWidget* parent);
    /// The caption of the first entry, shown while the field holds a file that is not in the list.
    void setOwnFileText(const QString& text);
    /// Selects the entry of this file, or the first entry; the user's own choice is not touched.
    void showPath(const QString& path);
    /// The chosen sound's path ("" for the first entry).
    QString chosenPath() const { return currentData().toString(); }
    /// Where a file dialog for a sound starts: the folder of `current` when it has one, else the sounds.
    QString browseFolder(const QString& current) const;

private:
    const AppPaths* m_paths;
};

} // namespace halvika
