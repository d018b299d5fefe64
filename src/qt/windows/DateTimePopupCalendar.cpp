#include "windows/DateTimePopupCalendar.h"

#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QRegularExpression>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace halvika {

DateTimePopupCalendar::DateTimePopupCalendar(QDateTimeEdit* edit, const QLocale& locale)
    : QCalendarWidget(edit), m_edit(edit) {
    setObjectName("calPopup");
    setLocale(locale);
    setFirstDayOfWeek(locale.firstDayOfWeek());
    m_time = new QTimeEdit(this);
    m_time->setObjectName("tmePopupTime");
    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 2, 4, 4);
    row->addStretch();
    row->addWidget(m_time);
    row->addStretch();
    // The month view lays itself out in a box; the time row joins it at the bottom.
    if (auto* box = qobject_cast<QVBoxLayout*>(layout())) {
        box->addLayout(row);
    }
    connect(m_time, &QTimeEdit::timeChanged, this, [this](QTime time) {
        if (m_edit->time() != time) {
            m_edit->setTime(time);
        }
    });
    connect(edit, &QDateTimeEdit::timeChanged, this, [this](QTime time) {
        if (m_time->time() != time) {
            m_time->setTime(time);
        }
    });
    edit->setCalendarWidget(this);
}

void DateTimePopupCalendar::showEvent(QShowEvent* event) {
    // The field's own time part, so the user's clock style and seconds carry over.
    const QString format = m_edit->displayFormat();
    const qsizetype hours = format.indexOf(QRegularExpression("[Hh]"));
    m_time->setDisplayFormat(hours >= 0 ? format.mid(hours) : QStringLiteral("HH:mm"));
    QCalendarWidget::showEvent(event);
}

} // namespace halvika
