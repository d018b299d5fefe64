// The popup calendar of a date and time field, with the time below the month so that both are chosen
// in one place.
#pragma once

#include <QCalendarWidget>

class QDateTimeEdit;
class QTimeEdit;

namespace halvika {

class DateTimePopupCalendar : public QCalendarWidget {
    Q_OBJECT

public:
    /// Becomes `edit`'s popup; the time shows seconds when the field does.
    DateTimePopupCalendar(QDateTimeEdit* edit, const QLocale& locale);
    QTimeEdit* timeEdit() const { return m_time; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QDateTimeEdit* m_edit;
    QTimeEdit* m_time = nullptr;
};

} // namespace halvika
