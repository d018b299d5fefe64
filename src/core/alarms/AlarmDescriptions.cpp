// The alarm's texts for lists and tool tips.
#include "alarms/Alarm.h"
#include "alarms/AlarmTexts.h"
#include "alarms/ColourSource.h"
#include "alarms/TextSource.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "text/Placeholders.h"

namespace halvika {

namespace {

// "Alarm" texts.
constexpr int textOn = 1;
constexpr int textOff = 2;
constexpr int textNoFurtherAlarm = 11;
constexpr int textNotFound = 12;
constexpr int textDateNotValid = 13;
constexpr int textTooFarAhead = 14;
constexpr int textOnce = 21;
constexpr int textEvery = 22;
/// "every second, from #1", followed by the texts of the other single units in unit-code order.
constexpr int textEverySingleUnit = 23 - unitSecond;
constexpr int textBetween = 31;
constexpr int textOnlyOn = 32;
constexpr int textWhen = 33;
constexpr int textCorrectedBy = 34;
constexpr int textNotBefore = 35;
/// "normal" (importance 0) down to "urgent" (importance 3).
constexpr int textImportanceNormal = 63;
// "Strings" texts.
constexpr int stringsFirstUnit = 1;
constexpr int stringsSunday = 11;
// Colour slots.
constexpr int slotOnce = 23;
constexpr int slotNearPeriod = 24;
constexpr int slotFarPeriod = 25;
constexpr int slotOn = 15;
constexpr int slotOff = 16;
constexpr int slotNotFound = 17;
constexpr int slotDateNotValid = 18;
constexpr int slotTooFarAhead = 19;
constexpr int slotNoFurtherAlarm = 20;
constexpr int slotNearNext = 21;
constexpr int slotFarNext = 22;

std::string windowTextColour() {
    return std::to_string(ColourSource::windowText);
}

std::string unitName(AlarmTexts& c, std::int16_t unit) {
    return c.texts.getStringsText(stringsFirstUnit + unit);
}

std::string alarmText(AlarmTexts& c, int number) {
    return c.texts.getText("Alarm", number);
}

} // namespace

Alarm::TextItem Alarm::getDateTimeDescriptionItems(AlarmTexts& c) const {
    TextItem item{"", windowTextColour()};
    if (momentKind == 0) {
        item.first = Placeholders::fill(alarmText(c, textOnce), formatDate(c.dateFormat, onceDate));
        item.second = c.colours.getSchemeColourText(slotOnce, ColourSource::windowText);
    } else if (momentKind == 1) {
        const std::string from = formatDate(c.dateFormat, nextDate);
        // "every day" rather than "every 1 days"; the texts of single units follow the unit codes.
        item.first = everyAmount == 1 && everyUnit >= unitSecond && everyUnit <= unitWeek
                         ? Placeholders::fill(alarmText(c, textEverySingleUnit + everyUnit), from)
                         : Placeholders::fill(alarmText(c, textEvery), std::to_string(everyAmount),
                                              unitName(c, everyUnit), from);
        if (activePeriod & periodWindow) {
            // A window without an end never shows its stand-in date, 9999-12-31.
            item.first += endDate >= Date::none()
                              ? Placeholders::fill(alarmText(c, textNotBefore), formatDate(c.dateFormat, startDate))
                              : Placeholders::fill(alarmText(c, textBetween), formatDate(c.dateFormat, startDate),
                                                   formatDate(c.dateFormat, endDate));
        }
        if (activePeriod & periodWeekdays) {
            std::string names;
            for (int day = 0; day < 7; ++day) {
                if (weekDays & (1 << day)) {
                    names += " " + c.texts.getStringsText(stringsSunday + day);
                }
            }
            item.first += Placeholders::fill(alarmText(c, textOnlyOn), names);
        }
        if (activePeriod & periodAdvanced) {
            item.first += Placeholders::fill(alarmText(c, textWhen), activeAdvanced);
        }
        // How near one period is: an alarm every minute looks near, one every year far.
        const std::optional<Date> onePeriodOn = tryDateAddUnit(c.now, everyAmount, everyUnit);
        item.second =
            onePeriodOn ? c.colours.getTimeGradientColourText(c.now, *onePeriodOn, slotNearPeriod, slotFarPeriod) : "";
    }
    if (correctionAmount != 0) {
        const std::string amount = (correctionAmount >= 0 ? "+" : "") + std::to_string(correctionAmount);
        item.first += Placeholders::fill(alarmText(c, textCorrectedBy), amount, unitName(c, correctionUnit));
    }
    return item;
}

Alarm::TextItem Alarm::getActionDescriptionItems(AlarmTexts& c) const {
    TextItem item{"", "0"};
    for (int i = 0; i < actions.numberOfElements(); ++i) {
        item.first += actions.elementAt(i)->getDescription(c.texts, c.pluginDescription) + "; ";
    }
    if (actions.numberOfElements() > 0) {
        item.second = actions.elementAt(0)->getActionColorString(c.colours);
    }
    return item;
}

std::array<Alarm::TextItem, 7> Alarm::getStringItems(AlarmTexts& c) {
    std::array<TextItem, 7> rows;
    const bool schemeChosen = !c.colours.schemeName().empty();
    rows[0] = {name, schemeChosen && c.groupColour ? std::to_string(c.groupColour(*this)) : windowTextColour()};
    rows[1] = {alarmText(c, Active ? textOn : textOff),
               c.colours.getSchemeColourText(Active ? slotOn : slotOff, ColourSource::windowText)};

    // A moment that cannot be computed is shown as no next moment.
    const Date next = nextMomentAfter(c.now).value_or(Date::none());
    if (next == Date::none()) {
        rows[2] = {alarmText(c, textNoFurtherAlarm),
                   c.colours.getSchemeColourText(slotNoFurtherAlarm, ColourSource::windowText)};
    } else if (next == Date::gaveUp()) {
        rows[2] = {alarmText(c, textNotFound), c.colours.getSchemeColourText(slotNotFound, ColourSource::windowText)};
    } else if (next == Date::fromParts(9999, 12, 1)) {
        rows[2] = {alarmText(c, textDateNotValid),
                   c.colours.getSchemeColourText(slotDateNotValid, ColourSource::windowText)};
    } else if (next == Date::fromParts(9999, 12, 2)) {
        rows[2] = {alarmText(c, textTooFarAhead),
                   c.colours.getSchemeColourText(slotTooFarAhead, ColourSource::windowText)};
    } else {
        rows[2] = {formatDate(c.dateFormat, next),
                   c.colours.getTimeGradientColourText(c.now, next, slotNearNext, slotFarNext)};
    }
    rows[3] = getDateTimeDescriptionItems(c);
    rows[4] = getActionDescriptionItems(c);
    rows[5] = {unitName(c, durationUnit) + " " + std::to_string(durationAmount), windowTextColour()};
    rows[6] = {alarmText(c, textImportanceNormal - importance), windowTextColour()};
    return rows;
}

std::string Alarm::getToolTip(AlarmTexts& c) {
    if (!c.toolTips) {
        return "";
    }
    const auto rows = getStringItems(c);
    std::string tip;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) {
            tip += "\r\n";
        }
        tip += alarmText(c, textNameColumn + static_cast<int>(i)) + ": " + rows[i].first;
    }
    return tip;
}

} // namespace halvika
