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
    m_endRequested = true;
    m_exitCode = exitCode;
    // Ends every loop running now, the main one included; one started later starts afresh.
    QCoreApplication::exit(exitCode);
}

int QtViews::exec() {
    if (m_endRequested) {
        return m_exitCode;
    }
    return QApplication::exec();
}

} // namespace halvika
