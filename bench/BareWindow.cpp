// The floor for start-up and idle measurements: a Qt window with nothing in it, shown and painted once, and
// with HALVIKA_BARE_TICK set a precise timer every 30 s that does nothing, as the watch's idle tick.
#include "windows/FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel("Halvika"));
    window.resize(800, 600);
    halvika::FirstPaintProbe::installIfAsked(window);
    window.show();
    QTimer tick;
    if (std::getenv("HALVIKA_BARE_TICK") != nullptr) {
        tick.setTimerType(Qt::PreciseTimer);
        tick.start(30000);
    }
    return QApplication::exec();
}
