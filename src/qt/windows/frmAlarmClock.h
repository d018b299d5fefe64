// The big alarm clock: a clock face that rings, snoozes on a click and stops by itself.
#pragma once

#include "windows/Translatable.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace halvika {

class AlarmClockLogic;
class Clock;
class SoundingWindows;
class modTranslation;

class frmAlarmClock : public QWidget, public Translatable {
    Q_OBJECT

public:
    frmAlarmClock(AlarmClockLogic& logic, SoundingWindows& windows, modTranslation& texts, const Clock& clock);

    void refresh();
    void translate() override;
    void detach() { m_detached = true; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AlarmClockLogic& m_logic;
    SoundingWindows& m_windows;
    modTranslation& m_texts;
    const Clock& m_clock;
    bool m_detached = false;
    QLabel* m_snoozing = nullptr;
    QLabel* m_hint = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace halvika
