#include "windows/frmDateTime.h"

#include "dates/DateFormat.h"
#include "platform/Clock.h"
#include "settings/modTranslation.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"
#include "windows/UserLocale.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QTimer>
#include <QVBoxLayout>

namespace halvika {

frmDateTime::frmDateTime(modTranslation& texts, const Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_texts(texts), m_clock(clock) {
    setObjectName("frmDateTime");
    setWindowTitle("Date and time");
    setWindowIcon(AppIcon::icon());
    auto* layout = new QVBoxLayout(this);
    m_time = new QLabel(this);
    m_time->setObjectName("lblTime");
    m_time->setAlignment(Qt::AlignCenter);
    QFont big = m_time->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    m_time->setFont(big);
    layout->addWidget(m_time);
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName("calMonth");
    m_calendar->setGridVisible(true);
    layout->addWidget(m_calendar);
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this,
            [this] { m_time->setText(QString::fromStdString(formatDate("hh:nn:ss", m_clock.now().date))); });
    m_timer->start(1000);
    translate();
    showToday();
}

void frmDateTime::translate() {
    FormTranslator::translateForm(*this, m_texts);
    // Day and month names of the chosen language, not of the desktop.
    UserLocale::apply(*m_calendar, m_texts);
}

void frmDateTime::showToday() {
    const Date today = m_clock.now().date;
    const QDate date(today.year(), today.month(), today.day());
    m_calendar->setSelectedDate(date);
    m_calendar->setCurrentPage(date.year(), date.month());
    m_time->setText(QString::fromStdString(formatDate("hh:nn:ss", today)));
}

void frmDateTime::keyPressEvent(QKeyEvent* event) {
    // A tool window: Escape puts it away, as it does a dialog.
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace halvika
