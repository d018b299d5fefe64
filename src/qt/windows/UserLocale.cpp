#include "windows/UserLocale.h"

#include "settings/modTranslation.h"

#include <QCalendarWidget>

namespace halvika {

QLocale UserLocale::of(modTranslation& texts) {
    return QLocale(QString::fromStdString(texts.languageTag()));
}

std::int16_t UserLocale::firstDayOfWeek(const QLocale& locale) {
    return static_cast<std::int16_t>(static_cast<int>(locale.firstDayOfWeek()) % 7); // Qt counts Sunday as 7
}

void UserLocale::apply(QCalendarWidget& picker, modTranslation& texts) {
    picker.setLocale(of(texts));
    picker.setFirstDayOfWeek(picker.locale().firstDayOfWeek());
}

} // namespace halvika
