// The QApplication that GUI tests need, made once per test program.
#pragma once

#include <QApplication>

namespace halvika::test {

inline QApplication& ensureQtApp() {
    static int argc = 1;
    static char name[] = "halvika-tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

} // namespace halvika::test
