// For start-up measurements: once a window has painted for the first time, writes the wall-clock time and
// ends the program. Only installed when HALVIKA_FIRST_PAINT_PROBE is set, so a user never meets it.
#pragma once

#include <QObject>

class QWidget;

namespace halvika {

class FirstPaintProbe : public QObject {
    Q_OBJECT
public:
    /// Watches `window` when the environment asks for it; does nothing otherwise.
    static void installIfAsked(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FirstPaintProbe(QObject* parent) : QObject(parent) {}
    bool m_painted = false;
};

} // namespace halvika
