// The date and time window of the tray menu: today in a month calendar, with the time.
#pragma once

#include "windows/Translatable.h"

#include <QWidget>

class QCalendarWidget;
class QKeyEvent;
class QLabel;
class QTimer;

namespace halvika {

class Clock;
class modTranslation;

class frmDateTime : public QWidget, public Translatable {
    Q_OBJECT

public:
    frmDateTime(modTranslation& texts, const Clock& clock, QWidget* parent = nullptr);
    void translate() override;
    /// Shows today again (the window may have stayed open across midnight).
    void showToday();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    modTranslation& m_texts;
    const Clock& m_clock;
    QCalendarWidget* m_calendar = nullptr;
    QLabel* m_time = nullptr;
    QTimer* m_timer = nullptr;
};

} // namespace halvika
