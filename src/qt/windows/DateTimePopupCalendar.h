// The popup calendar of a date and time field, with the time below the month so that both are chosen
// in one place.
#pragma once

#include <QCalendarWidget>

class QDateTimeEdit;
class QTimeEdit;

namespace halvika {

class modTranslation;

class DateTimePopupCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    /// Becomes `edit`'s popup; the time shows seconds when the field does.
    DateTimePopupCalendar(QDateTimeEdit* edit, modTranslation& texts);
    QTimeEdit* timeEdit() const { return m_time; }
    /// The month's own size measures only the month: the time row comes on top.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    /// F4 or Alt+Down in the field opens the popup, as in a drop-down list.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDateTimeEdit* m_edit;
    QTimeEdit* m_time = nullptr;
};

} // namespace halvika
