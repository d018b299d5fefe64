// The QApplication that GUI tests need, made once per test program.
#pragma once

#include <QApplication>

namespace halvika::test {

inline QApplication& ensureQtApp() {
    static int argc = 1;
    static char name[] = "halvika-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own globals made after it (the input devices of processed events) would be gone
    // before it at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace halvika::test
