// One scheduled reminder: its moment rules, actions, sounding and snooze state, and display texts.
#include "alarms/Alarm.h"

#include "alarms/ActionRunner.h"
#include "alarms/ExpressionError.h"
#include "alarms/TextSource.h"
#include "alarms/clsAdvancedDate.h"
#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

namespace halvika {

std::shared_ptr<Alarm> Alarm::createAlarm(const std::shared_ptr<AlarmGroup>& group) {
    auto alarm = std::make_shared<Alarm>();
    alarm->initialize();
    alarm->Active = true;
    alarm->parent = group;
    alarm->changed = true;
    alarm->invalidateCaches();
    return alarm;
}

std::shared_ptr<Alarm> Alarm::createDefaultAlarm(TextSource& texts) {
    auto alarm = createAlarm(nullptr);
    alarm->name = texts.getText("Alarm", textDefaultName);
    alarm->momentKind = 0;
    alarm->everyAmount = 1;
    alarm->everyUnit = unitDay;
    alarm->correctionAmount = 0;
    alarm->onceDate = alarm->nextDate = alarm->startDate = alarm->endDate = Date::none();
    alarm->actions.addElement(clsAction::Create(alarm.get(), ActionKind::Message, texts));
    alarm->soundAfterInactive = true;
    return alarm;
}

std::shared_ptr<Alarm> Alarm::createDefaultHiddenAlarm(const std::shared_ptr<AlarmGroup>& group,
                                                       const std::string& alarmName) {
    auto alarm = createAlarm(group);
    alarm->name = alarmName;
    alarm->momentKind = 0;
    alarm->onceDate = Date::none();
    alarm->everyAmount = 1;
    alarm->everyUnit = unitSecond;
    alarm->hidden = true;
    return alarm;
}

std::shared_ptr<Alarm> Alarm::createFromXML(const XMLNode& xml, const std::shared_ptr<AlarmGroup>& group) {
    auto a = std::make_shared<Alarm>();
    a->initialize();
    a->name = xml.getString("name", 0, "");
    a->momentKind = xml.getInteger("datk", 0, 0);
    a->everyAmount = xml.getLong("perl", 0, 1);
    a->everyUnit = xml.getInteger("peru", 0, unitDay);
    a->onceDate = xml.getDate("oncd", 0, Date::none());
    a->nextDate = xml.getDate("nexd", 0, Date::none());
    a->activePeriod = xml.getInteger("actp", 0, 0);
    a->startDate = xml.getDate("stad", 0, Date::none());
    a->endDate = xml.getDate("endd", 0, Date::none());
    a->weekDays = xml.getInteger("wkds", 0, 0);
    a->activeAdvanced = xml.getString("adva", 0, "");
    a->correctionAmount = xml.getLong("adda", 0, 0);
    a->correctionUnit = xml.getInteger("addu", 0, unitSecond);
    for (int i = 0; i < xml.getNumberOfNodes(); ++i) {
        const XMLNodePtr child = xml.getNodeAt(i);
        if (child->name == "acti") {
            a->actions.addElement(clsAction::createFromXML(*child, a.get()));
        }
    }
    a->Active = xml.getBoolean("stat", 0, true);
    a->soundAfterInactive = xml.getBoolean("saia", 0, true);
    a->importance = xml.getInteger("impr", 0, 0);
    a->durationAmount = xml.getLong("dura", 0, 0);
    a->durationUnit = xml.getInteger("duru", 0, unitMinute);
    a->snoozing = xml.getBoolean("snoz", 0, false);
    a->nextSnoozeAlarmDate = xml.getDate("snod", 0, Date::none());
    a->lastSnoozeSet = xml.getNumberOfNodesWithName("lsa") > 0;
    if (a->lastSnoozeSet) {
        a->lastSnoozeAmount = xml.getInteger("lsa", 0, 0);
        a->lastSnoozeUnit = xml.getInteger("lsu", 0, 0);
        a->lastSnoozeAddTo = xml.getInteger("lsat", 0, 0);
    }
    a->readOnly = xml.getBoolean("rdon", 0, false);
    a->syncId = xml.getString("suid", 0, "");
    a->syncModified = a->syncId.empty() ? 0 : std::strtoll(xml.getString("smod", 0, "0").c_str(), nullptr, 10);
    a->parent = group;
    a->changed = false;
    a->invalidateCaches();
    return a;
}

XMLNodePtr Alarm::toXML(std::string_view tag) const {
    auto x = XMLNode::Create(tag);
    x->addString("name", name);
    x->addInteger("datk", momentKind);
    x->addLong("perl", everyAmount);
    x->addInteger("peru", everyUnit);
    x->addDate("oncd", onceDate);
    x->addDate("nexd", nextDate);
    x->addInteger("actp", activePeriod);
    x->addDate("stad", startDate);
    x->addDate("endd", endDate);
    x->addInteger("wkds", weekDays);
    x->addString("adva", activeAdvanced);
    x->addLong("adda", correctionAmount);
    x->addInteger("addu", correctionUnit);
    for (int i = 0; i < actions.numberOfElements(); ++i) {
        x->addNode(actions.elementAt(i)->toXML("acti"));
    }
    x->addBoolean("saia", soundAfterInactive);
    x->addBoolean("stat", Active);
    x->addBoolean("snoz", snoozing);
    x->addDate("snod", nextSnoozeAlarmDate);
    x->addBoolean("rdon", readOnly);
    if (importance != 0) {
        x->addInteger("impr", importance);
    }
    if (durationAmount != 0) {
        x->addLong("dura", durationAmount);
    }
    if (durationUnit != unitMinute) {
        x->addInteger("duru", durationUnit);
    }
    if (lastSnoozeSet) {
        x->addInteger("lsa", lastSnoozeAmount);
        x->addInteger("lsu", lastSnoozeUnit);
        x->addInteger("lsat", lastSnoozeAddTo);
    }
    // Judged on the text as written, so that an identity the file cannot carry reads back as none.
    if (!XMLNode::writesAsEmpty(syncId)) {
        x->addString("suid", syncId);
        x->addString("smod", std::to_string(syncModified));
    }
    return x;
}

void Alarm::invalidateCaches() {
    m_cacheCalendarDate = false;
    m_cacheAfterDate = Date::none();
    m_cacheNextDate = Date::none();
}

void Alarm::soundAlarm(const Date& soundingDate, bool real, ActionRunner& runner) {
    if (real) {
        runner.countSoundedAlarm();
    }
    // Copy first: an action may edit the list (a plug-in, say), and shut-down actions end the program.
    const Vector<clsAction> toRun = actions.getCopy();
    for (int i = 0; i < toRun.numberOfElements(); ++i) {
        runner.doAction(*toRun.elementAt(i), soundingDate, real);
    }
}

bool Alarm::showsMessage() const {
    for (int i = 0; i < actions.numberOfElements(); ++i) {
        if (actions.elementAt(i)->showsMessage()) {
            return true;
        }
    }
    return false;
}

Date Alarm::alignToPeriod(const Date& from, const Date& target) const {
    if (everyAmount == 0) {
        throw ArithmeticError("division by zero: the alarm's period is 0");
    }
    const std::int32_t k = dateDiffUnit(from, target, everyUnit);
    // Halves to even, as the quotient is rounded everywhere else.
    const double n = std::nearbyint(static_cast<double>(k) / everyAmount);
    const double steps = static_cast<double>(everyAmount) * n;
    if (steps > std::numeric_limits<std::int32_t>::max() || steps < std::numeric_limits<std::int32_t>::min()) {
        throw ArithmeticError("overflow: the period grid is too far from the moment asked");
    }
    return dateAddUnit(from, static_cast<std::int32_t>(steps), everyUnit);
}

std::optional<Date> Alarm::nextMomentAfter(const Date& da, bool calendarDate) noexcept {
    try {
        if (hasNextAlarmDateAfter(da, calendarDate)) {
            return m_cacheNextDate;
        }
    } catch (const ArithmeticError&) {
    } catch (const ExpressionError&) {
    }
    return std::nullopt;
}

bool Alarm::hasNextAlarmDateAfter(const Date& da, bool calendarDate) {
    if (m_cacheAfterDate <= da && da < m_cacheNextDate && calendarDate == m_cacheCalendarDate) {
        return m_cacheNextDate < Date::none();
    }
    // The query is recorded before computing: a query that raises leaves this range answering from the
    // previous result, as the callers expect.
    m_cacheCalendarDate = calendarDate;
    m_cacheAfterDate = da;
    Date moment;
    const bool found = computeNext(da, calendarDate, moment);
    m_cacheNextDate = found ? moment : Date::none();
    return found;
}

bool Alarm::computeNext(const Date& da, bool calendarDate, Date& moment) const {
    const std::int32_t corr = calendarDate ? 0 : correctionAmount;
    bool found = false;
    Date p = Date::zero();
    Date a = da;
    if (momentKind == 0) {
        p = dateAddUnit(onceDate, corr, correctionUnit);
        found = da < p;
    } else if (momentKind == 1) {
        if (everyAmount < 0) {
            // Stepping back from a negative period would walk for billions of steps.
            throw ArithmeticError("the alarm's period is negative");
        }
        // A period of 0 fails only where the grid is aligned: an ended window answers "none" without it.
        const bool window = (activePeriod & periodWindow) != 0;
        const bool weekdays = (activePeriod & periodWeekdays) != 0;
        const bool advanced = (activePeriod & periodAdvanced) != 0;
        std::optional<clsAdvancedDate> evaluator;
        if (advanced) {
            evaluator.emplace();
        }
        p = nextDate;
        a = dateAddUnit(da, -corr, correctionUnit);
        auto alignAndStepBack = [&] {
            p = alignToPeriod(p, a);
            for (int guard = 0; a < p && guard <= kMaxCandidates; ++guard) {
                p = dateAddUnit(p, -everyAmount, everyUnit);
            }
        };
        if (!window) {
            alignAndStepBack();
        } else if (startDate < a && a < endDate) {
            alignAndStepBack();
        } else if (startDate < a) {
            p = a;
        } else {
            p = alignToPeriod(p, startDate);
        }
        p = dateAddUnit(p, -everyAmount, everyUnit);
        // Month and year corrections clamp days, so a candidate after A can correct to a moment at or before
        // `da`; such a candidate is skipped like one before A, and the search goes on to the next.
        const bool correctionClamps = corr != 0 && (correctionUnit == unitMonth || correctionUnit == unitYear);
        int n = 0;
        bool goOn = true;
        while (goOn) {
            p = dateAddUnit(p, everyAmount, everyUnit);
            ++n;
            goOn = p <= a || (correctionClamps && dateAddUnit(p, corr, correctionUnit) <= da);
            if (weekdays) {
                goOn = (weekDays & (1 << p.dayOfWeek())) == 0 || goOn;
            }
            if (advanced) {
                // Asked about every candidate, so a malformed expression raises even where nothing else
                // would let the candidate through.
                goOn = !evaluator->getDateEval(p, activeAdvanced) || goOn;
            }
            if (window) {
                goOn = goOn || p < startDate;
                if (endDate < p) {
                    goOn = false;
                }
            }
            if (n > kMaxCandidates) {
                goOn = false;
            }
        }
        found = true;
        if (n > kMaxCandidates) {
            p = Date::gaveUp();
        }
        if (window && (p > endDate || startDate > p)) {
            found = false;
        }
        p = dateAddUnit(p, corr, correctionUnit);
        a = dateAddUnit(a, corr, correctionUnit);
        // "After" is strict for every kind. A correction unit outside the table makes every corrected moment
        // the zero date, and a month correction can clamp a day; such a moment is not in the future, and a
        // watch handed it would sound the alarm on every tick.
        if (found && p <= da) {
            found = false;
        }
    }
    if (snoozing && a < nextSnoozeAlarmDate) {
        if (nextSnoozeAlarmDate < p || !found) {
            p = nextSnoozeAlarmDate;
        }
        found = true;
    }
    moment = p;
    return found;
}

} // namespace halvika
