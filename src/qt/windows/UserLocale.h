// The locale of the chosen language, which every date picker follows (names, first day of the week).
#pragma once

#include <QLocale>

class QCalendarWidget;

#include <cstdint>

namespace halvika {

class modTranslation;

class UserLocale {
public:
    static QLocale of(modTranslation& texts);
    /// The locale's first day of the week as the calendar grid counts days (0 Sunday … 6 Saturday).
    static std::int16_t firstDayOfWeek(const QLocale& locale);
    /// The picker's names and first day of the week from the chosen language.
    static void apply(QCalendarWidget& picker, modTranslation& texts);
};

} // namespace halvika
