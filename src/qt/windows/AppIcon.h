// The program's icons, drawn in code so that they need no image plug-in and no icon theme.
#pragma once

#include <QIcon>

namespace halvika {

class AppIcon {
public:
    /// An alarm clock face; `blocked` crosses it out in red.
    static QIcon icon(bool blocked = false);
    /// A loudspeaker, for the sound window.
    static QIcon speaker();
    /// A square, for buttons that stop a sound.
    static QIcon stop();
};

} // namespace halvika
