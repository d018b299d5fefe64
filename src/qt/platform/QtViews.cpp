// What the core asks of the windows, carried out on Qt.
#include "platform/QtViews.h"

#include <QApplication>
#include <QWidget>

namespace halvika {

void QtViews::unloadAllWindows() {
    // Take the last window each time: closing one may open or close others.
    for (;;) {
        QWidget* last = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) {
                last = w;
            }
        }
        if (last == nullptr) {
            return;
        }
        last->hide();
    }
}

void QtViews::endProcess(int exitCode) {
    QCoreApplication::exit(exitCode);
}

} // namespace halvika
