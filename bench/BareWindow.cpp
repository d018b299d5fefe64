// The floor for start-up measurements: a Qt window with nothing in it, shown and painted once.
#include "windows/FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel("Halvika"));
    window.resize(800, 600);
    halvika::FirstPaintProbe::installIfAsked(window);
    window.show();
    return QApplication::exec();
}
