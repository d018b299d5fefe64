#include "editing/AlarmEditorLogic.h"

#include "alarms/Alarm.h"
#include "alarms/ExpressionError.h"
#include "alarms/clsAdvancedDate.h"
#include "base/MessageBoxRoutine.h"
#include "dates/ArithmeticError.h"
#include "dates/DateFormat.h"
#include "dates/DateText.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroup.h"
#include "groups/AlarmGroupCollection.h"
#include "platform/Clock.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmQueries.h"
#include "sounding/AlarmWatch.h"

namespace halvika {

namespace {

constexpr int styleWarning = Dialogs::styleExclamation;                               // 48
constexpr int styleWarningQuestion = Dialogs::styleYesNo + Dialogs::styleExclamation; // 52
constexpr int styleQuestion = Dialogs::styleYesNo + Dialogs::styleQuestion;           // 36
constexpr std::int16_t windowFlags[3] = {Alarm::periodWindow, Alarm::periodWeekdays, Alarm::periodAdvanced};

Vector<Alarm> only(const std::shared_ptr<Alarm>& alarm) {
    Vector<Alarm> alarms;
    alarms.addElement(alarm);
    return alarms;
}

} // namespace

AlarmForm AlarmEditorLogic::formOf(const Alarm& a) {
    AlarmForm f;
    f.name = a.name;
    f.momentIndex = a.momentKind == 1 ? 1 : 0;
    f.periodAmount = a.everyAmount;
    f.periodUnitPosition = listPositionOfUnitCode(a.everyUnit);
    f.dateTexts = {formatDate(dateFormat, a.momentKind == 1 ? a.nextDate : a.onceDate),
                   formatDate(dateFormat, a.startDate), formatDate(dateFormat, a.endDate)};
    for (int i = 0; i < 3; ++i) {
        f.restrictions[static_cast<std::size_t>(i)] = (a.activePeriod & windowFlags[i]) != 0;
    }
    for (int d = 0; d < 7; ++d) {
        f.weekdays[static_cast<std::size_t>(d)] = (a.weekDays & (1 << d)) != 0;
    }
    f.advanced = a.activeAdvanced;
    f.correctionAmount = a.correctionAmount;
    f.correctionUnitPosition = listPositionOfUnitCode(a.correctionUnit);
    f.soundAfterInactive = a.soundAfterInactive;
    f.importanceIndex = static_cast<std::int16_t>(2 - a.importance);
    f.durationAmount = a.durationAmount;
    f.durationUnitIndex = a.durationUnit;
    f.group = a.parent.lock();
    return f;
}

void AlarmEditorLogic::setAlarms(const Vector<Alarm>& alarms, Mode mode) {
    m_alarms = alarms;
    m_mode = mode;
    m_touched = 0;
    actions.clear();
    if (alarms.numberOfElements() == 1) {
        const auto& alarm = alarms.elementAt(0);
        form = formOf(*alarm);
        m_replaceActions = true;
        for (int i = 0; i < alarm->actions.numberOfElements(); ++i) {
            actions.addElement(clsAction::createFromXML(*alarm->actions.elementAt(i)->toXML("action"), alarm.get()));
        }
    } else {
        form = AlarmForm{};
        m_replaceActions = false;
    }
    // A new alarm made from a template that is never due proposes the next whole hour instead.
    if (mode == newAlarm && alarms.numberOfElements() == 1 && alarms.elementAt(0)->momentKind == 0 &&
        alarms.elementAt(0)->onceDate == Date::none()) {
        const Date now = m_s.clock.now().date;
        form.dateTexts[0] = formatDate(dateFormat, Date::fromSerialSeconds((now.serialSeconds() / 3600 + 1) * 3600));
    }
}

void AlarmEditorLogic::removeAllActions() {
    actions.clear();
    m_replaceActions = true;
}

int AlarmEditorLogic::ask(int text, int style) {
    return m_s.messages.msgBox(m_s.texts.getText(section, text), style);
}

std::int64_t AlarmEditorLogic::periodSeconds(const Date& now) const {
    try {
        const Date next = dateAddUnit(now, form.periodAmount, unitCodeOfListPosition(form.periodUnitPosition));
        return next.serialSeconds() - now.serialSeconds();
    } catch (const ArithmeticError&) {
        return form.periodAmount > 0 ? INT64_MAX : 0;
    }
}

bool AlarmEditorLogic::checks() {
    m_invalidDateEntry = -1;
    m_expressionInvalid = false;
    for (int i = 0; i < 3; ++i) {
        if (!DateText::parse(form.dateTexts[static_cast<std::size_t>(i)])) {
            m_invalidDateEntry = i;
            ask(1, styleWarning);
            return false;
        }
    }
    const auto hasControl = [](const std::string& text) {
        return text.find_first_of(std::string("\0\1\2", 3)) != std::string::npos;
    };
    if (hasControl(form.name) || hasControl(form.advanced)) {
        ask(2, styleWarning);
        return false;
    }
    const Date now = m_s.clock.now().date;
    const bool periodic = form.momentIndex == 1;
    if (periodic) {
        const std::int64_t period = periodSeconds(now);
        if (period < 60 && ask(4, styleWarningQuestion) != Dialogs::answerYes) {
            return false;
        }
        if (form.soundAfterInactive && period < 86400 && ask(5, styleWarningQuestion) != Dialogs::answerYes) {
            return false;
        }
    }
    if (form.restrictions[1] && std::none_of(form.weekdays.begin(), form.weekdays.end(), [](bool d) { return d; })) {
        form.restrictions[1] = false;
    }
    if (periodic && form.restrictions[2]) {
        try {
            clsAdvancedDate().getDateEval(now, form.advanced);
        } catch (const ExpressionError&) {
            m_expressionInvalid = true;
            ask(6, styleWarning);
            return false;
        }
    }
    if (actions.numberOfElements() == 0 && ask(13, styleQuestion) != Dialogs::answerYes) {
        return false;
    }
    return true;
}

void AlarmEditorLogic::write(Alarm& a, std::int32_t t, Vector<AlarmGroup>& movedTo) {
    if (t & touchName) {
        a.name = form.name;
    }
    if (form.group && m_mode != templateAlarm) {
        const auto old = a.parent.lock();
        if (m_mode == existingAlarms && old != form.group) {
            const auto self = a.weak_from_this().lock();
            if (old) {
                old->alarms.remove(self);
                old->setChanged();
            }
            form.group->alarms.addElement(self);
            form.group->setChanged();
            a.parent = form.group;
            if (movedTo.indexOf(form.group) < 0) {
                movedTo.addElement(form.group);
            }
        } else if (m_mode == newAlarm) {
            a.parent = form.group;
        }
    }
    if (t & touchMoment) {
        a.momentKind = form.momentIndex;
    }
    if (t & touchPeriodAmount) {
        a.everyAmount = form.periodAmount;
    }
    if (t & touchPeriodUnit) {
        a.everyUnit = unitCodeOfListPosition(form.periodUnitPosition);
    }
    const auto entered = [this](int i) {
        return DateText::parse(form.dateTexts[static_cast<std::size_t>(i)]).value_or(Date::none());
    };
    if (t & touchOnceDate) {
        a.onceDate = entered(0);
        a.nextDate = a.onceDate;
    }
    if (t & touchStartDate) {
        a.startDate = entered(1);
    }
    if (t & touchEndDate) {
        a.endDate = entered(2);
    }
    for (int i = 0; i < 3; ++i) {
        if (t & (touchWindow << i)) {
            a.activePeriod = static_cast<std::int16_t>(a.activePeriod & ~windowFlags[i]);
            if (form.restrictions[static_cast<std::size_t>(i)]) {
                a.activePeriod = static_cast<std::int16_t>(a.activePeriod | windowFlags[i]);
            }
        }
    }
    if (t & touchWeekdays) {
        std::int16_t days = 0;
        for (int d = 0; d < 7; ++d) {
            if (form.weekdays[static_cast<std::size_t>(d)]) {
                days = static_cast<std::int16_t>(days | (1 << d));
            }
        }
        a.weekDays = days;
    }
    if (t & touchAdvanced) {
        a.activeAdvanced = form.advanced;
    }
    if (t & touchCorrectionAmount) {
        a.correctionAmount = form.correctionAmount;
    }
    if (t & touchCorrectionUnit) {
        a.correctionUnit = unitCodeOfListPosition(form.correctionUnitPosition);
    }
    if (t & touchSoundAfterInactive) {
        a.soundAfterInactive = form.soundAfterInactive;
    }
    if (t & touchImportance) {
        a.importance = static_cast<std::int16_t>(2 - form.importanceIndex);
    }
    if (t & touchDurationAmount) {
        a.durationAmount = form.durationAmount;
    }
    if (t & touchDurationUnit) {
        a.durationUnit = form.durationUnitIndex;
    }
    if (a.startDate > a.endDate) {
        std::swap(a.startDate, a.endDate);
    }
    if (m_replaceActions) {
        a.actions.clear();
    }
    for (int i = 0; i < actions.numberOfElements(); ++i) {
        a.actions.addElement(clsAction::createFromXML(*actions.elementAt(i)->toXML("action"), &a));
    }
    a.setChanged();
}

void AlarmEditorLogic::followUps(const std::shared_ptr<Alarm>& alarm) {
    alarm->setChanged();
    const auto group = alarm->parent.lock();
    if (group && !group->Active && ask(9, styleQuestion) == Dialogs::answerYes) {
        Vector<AlarmGroup> groups;
        groups.addElement(group);
        m_s.watch.setActivity(groups, AlarmWatch::ActivityMode::SwitchOn);
    }
    if (!alarm->Active && ask(10, styleQuestion) == Dialogs::answerYes) {
        alarm->Active = true;
    }
    const Date now = m_s.clock.now().date;
    if (!alarm->nextMomentAfter(now)) {
        ask(11, styleWarning);
    }
    if (m_s.settings.overlapWarning) {
        const Vector<Alarm> near = AlarmQueries::findOverlappingAlarms(
            m_s.groups, m_s.clock.today(), only(alarm), m_s.settings.overlapAmount, m_s.settings.overlapUnit,
            m_s.settings.overlapRestriction, m_s.settings.ignoreCorrection);
        if (near.numberOfElements() > 0) {
            std::string text = m_s.texts.getText(section, 14);
            for (int i = 0; i < near.numberOfElements(); ++i) {
                text += (i == 0 ? "\n" : ", ") + near.elementAt(i)->name;
            }
            m_s.messages.msgBox(text, styleWarning);
        }
    }
}

AlarmEditorLogic::Outcome AlarmEditorLogic::ok() {
    // An alarm deleted or unloaded while the editor was open must not come back through it.
    if (m_mode == existingAlarms) {
        for (int i = 0; i < m_alarms.numberOfElements(); ++i) {
            if (!m_s.groups.isLoaded(*m_alarms.elementAt(i))) {
                ask(textAlarmGone, styleWarning);
                return Outcome::Closed;
            }
        }
    }
    const bool single = m_alarms.numberOfElements() == 1;
    std::int32_t touched = m_touched;
    if (single) {
        if (!checks()) {
            return Outcome::Stay;
        }
        touched = touchEverything;
    }
    Vector<AlarmGroup> movedTo;
    for (int i = 0; i < m_alarms.numberOfElements(); ++i) {
        const auto& alarm = m_alarms.elementAt(i);
        write(*alarm, touched, movedTo);
        if (single && m_mode != templateAlarm) {
            followUps(alarm);
        }
    }
    if (movedTo.numberOfElements() > 0) {
        m_s.watch.groupsChanged(movedTo, kindAdded | kindRemoved);
    }
    if (m_mode == existingAlarms) {
        for (int i = 0; i < m_alarms.numberOfElements(); ++i) {
            if (auto group = m_alarms.elementAt(i)->parent.lock()) {
                group->setChanged();
            }
        }
        m_s.watch.alarmsChanged(m_alarms, kindTimingChanged | kindContentChanged);
    } else if (m_mode == newAlarm && single) {
        const auto& alarm = m_alarms.elementAt(0);
        if (auto group = alarm->parent.lock()) {
            group->alarms.addElement(alarm);
            group->setChanged();
        }
        m_s.watch.alarmsChanged(only(alarm), kindAdded);
    }
    return Outcome::Closed;
}

} // namespace halvika
