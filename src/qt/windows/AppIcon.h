// The program's icon, drawn in code so that it needs no image plug-in.
#pragma once

#include <QIcon>

namespace halvika {

class AppIcon {
public:
    /// An alarm clock face; `blocked` crosses it out in red.
    static QIcon icon(bool blocked = false);
};

} // namespace halvika
