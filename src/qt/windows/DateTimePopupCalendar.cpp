#include "windows/DateTimePopupCalendar.h"

#include "windows/UserLocale.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace halvika {

DateTimePopupCalendar::DateTimePopupCalendar(QDateTimeEdit* edit, modTranslation& texts)
    : QCalendarWidget(edit), m_edit(edit) {
    setObjectName("calPopup");
    UserLocale::apply(*this, texts);
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
    edit->installEventFilter(this);
}

QSize DateTimePopupCalendar::sizeHint() const {
    return QCalendarWidget::sizeHint() + QSize(0, m_time->sizeHint().height() + 6);
}

QSize DateTimePopupCalendar::minimumSizeHint() const {
    return QCalendarWidget::minimumSizeHint() + QSize(0, m_time->sizeHint().height() + 6);
}

bool DateTimePopupCalendar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool opens =
            key->key() == Qt::Key_F4 || (key->key() == Qt::Key_Down && key->modifiers().testFlag(Qt::AltModifier));
        if (opens) {
            // The field opens its popup only from a click on its arrow, at its right end.
            const QPointF arrow(m_edit->width() - 4, m_edit->height() / 2.0);
            QMouseEvent press(QEvent::MouseButtonPress, arrow, m_edit->mapToGlobal(arrow), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(m_edit, &press);
            return true;
        }
    }
    return QCalendarWidget::eventFilter(watched, event);
}

void DateTimePopupCalendar::showEvent(QShowEvent* event) {
    // The field's own time part, so the user's clock style and seconds carry over.
    const QString format = m_edit->displayFormat();
    const qsizetype hours = format.indexOf(QRegularExpression("[Hh]"));
    m_time->setDisplayFormat(hours >= 0 ? format.mid(hours) : QStringLiteral("HH:mm"));
    QCalendarWidget::showEvent(event);
}

} // namespace halvika
