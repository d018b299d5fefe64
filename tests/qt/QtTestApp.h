// The QApplication that GUI tests need, made once per test program, and helpers for driving dialogs.
#pragma once

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <ostream>

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

/// Runs `work` on the dialog named `name` as soon as it is the active modal window (its exec() blocks the
/// test, so the work waits in the event loop). Looks again every 10 ms.
inline void whenShown(const QString& name, std::function<void(QWidget&)> work) {
    QTimer::singleShot(10, [name, work] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name && modal->isVisible()) {
            work(*modal);
            return;
        }
        whenShown(name, work);
    });
}

} // namespace halvika::test

QT_BEGIN_NAMESPACE
/// Readable lists in failure messages.
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '"' << list.join("\", \"").toStdString() << '"';
}
QT_END_NAMESPACE
