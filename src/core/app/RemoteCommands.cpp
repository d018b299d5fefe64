// Commands for scripts, on the core's operations.
#include "app/RemoteCommands.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "app/CoreSubsystems.h"
#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroup.h"
#include "groups/ChangeKinds.h"
#include "platform/Clock.h"
#include "text/AsciiText.h"

#include <algorithm>

namespace halvika {

namespace {

std::string groupName(const Alarm& alarm) {
    const auto group = alarm.parent.lock();
    return group ? group->name : std::string();
}

/// Why the parts of an alarm cannot make one, or "".
std::string problemWith(const std::string& name, const std::string& message) {
    if (AsciiText::trimmed(name).empty() && AsciiText::trimmed(message).empty()) {
        return "an alarm needs a name or a message";
    }
    if (name.size() > RemoteCommands::maxNameBytes) {
        return "the name is longer than " + std::to_string(RemoteCommands::maxNameBytes) + " bytes";
    }
    if (message.size() > RemoteCommands::maxMessageBytes) {
        return "the message is longer than " + std::to_string(RemoteCommands::maxMessageBytes) + " bytes";
    }
    if (AsciiText::hasControlCharacter(name, false) || AsciiText::hasControlCharacter(message, true)) {
        return "the name or the message holds control characters";
    }
    return {};
}

} // namespace

RemoteCommands::RemoteCommands(CoreSubsystems& core, const Clock& clock) : m_core(core), m_clock(clock) {}

std::vector<RemoteCommands::Entry> RemoteCommands::upcoming(int limit) const {
    std::vector<Entry> entries;
    const Date now = m_core.watch().correctedNow();
    const Vector<AlarmGroup>& groups = m_core.groups().alarmGroups;
    for (int g = 0; g < groups.numberOfElements(); ++g) {
        const auto& group = groups.elementAt(g);
        if (!group->Active) {
            continue;
        }
        for (int a = 0; a < group->alarms.numberOfElements(); ++a) {
            const auto& alarm = group->alarms.elementAt(a);
            // An alarm whose moment cannot be computed has none to list.
            const std::optional<Date> next = alarm->Active ? alarm->nextMomentAfter(now) : std::nullopt;
            if (next && *next < Date::gaveUp()) {
                entries.push_back({*next, alarm->name, group->name});
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.moment < b.moment; });
    entries.resize(std::min<std::size_t>(entries.size(), static_cast<std::size_t>(std::clamp(limit, 0, maxListed))));
    return entries;
}

std::vector<RemoteCommands::Entry> RemoteCommands::recent() const {
    std::vector<Entry> entries;
    const auto& list = m_core.watch().seeAlarmsList(0);
    for (int i = 0; i < list.alarms.numberOfElements(); ++i) {
        entries.push_back(
            {list.moments.dateAt(i), list.alarms.elementAt(i)->name, groupName(*list.alarms.elementAt(i))});
    }
    return entries;
}

RemoteCommands::Status RemoteCommands::status() const {
    Status s;
    AlarmWatch& watch = m_core.watch();
    if (watch.upcomingAlarms().numberOfElements() > 0) {
        s.next = watch.nextAlarmMoment();
        for (int i = 0; i < watch.upcomingAlarms().numberOfElements(); ++i) {
            s.nextNames.push_back(watch.upcomingAlarms().elementAt(i)->name);
        }
    }
    s.blocked = watch.blocked();
    const Vector<AlarmGroup>& groups = m_core.groups().alarmGroups;
    s.groups = groups.numberOfElements();
    for (int g = 0; g < groups.numberOfElements(); ++g) {
        s.alarms += groups.elementAt(g)->alarms.numberOfElements();
    }
    return s;
}

void RemoteCommands::addAlarm(const std::string& name, const std::string& moment, const std::string& message,
                              const std::string& group, Answer answer) {
    std::shared_ptr<Alarm> alarm;
    std::shared_ptr<AlarmGroup> target;
    if (const std::string problem = addInMemory(name, moment, message, group, alarm, target); !problem.empty()) {
        answer(problem);
        return;
    }
    // Acknowledged means on disk: the caller hears back once the group's file is written, and the program
    // goes on meanwhile (a slow disk must not hold up an alarm).
    std::weak_ptr<AlarmGroup> weakTarget = target;
    m_core.groups().queueGroupConfirmed(
        target, [this, alarm, weakTarget, answer = std::move(answer)](bool ok, const std::string& problem) {
            const auto group = weakTarget.lock();
            const bool stillThere = group && group->alarms.indexOf(alarm) >= 0;
            if (!ok) {
                if (stillThere) {
                    // Reported, as any removal is: the watch may have found it in its group meanwhile.
                    m_core.groups().removeAlarms(Vector<Alarm>::createVectorWithObj(alarm, 1), false, Date::none());
                }
                answer("the alarm could not be saved: " + problem);
                return;
            }
            if (stillThere) {
                m_core.watch().alarmsChanged(Vector<Alarm>::createVectorWithObj(alarm, 1), kindAdded);
            }
            answer({});
        });
}

std::string RemoteCommands::addInMemory(const std::string& name, const std::string& moment, const std::string& message,
                                        const std::string& group, std::shared_ptr<Alarm>& alarm,
                                        std::shared_ptr<AlarmGroup>& target) {
    const auto when = Date::fromFileString(moment);
    // Written back, a real moment reads the same: 30 February or 25:61 would not, nor would trailing text.
    if (!when || when->toFileString() != moment) {
        return "\"" + moment + "\" is not a moment of the form yyyy/mm/dd hh:nn:ss";
    }
    if (const std::string problem = problemWith(name, message); !problem.empty()) {
        return problem;
    }
    if (*when <= m_clock.now().date) {
        return "the moment " + moment + " has passed";
    }
    AlarmGroupCollection& groups = m_core.groups();
    for (int g = 0; g < groups.alarmGroups.numberOfElements() && !group.empty(); ++g) {
        if (groups.alarmGroups.elementAt(g)->name == group) {
            target = groups.alarmGroups.elementAt(g);
            break;
        }
    }
    if (!group.empty() && !target) {
        return "there is no alarm group named \"" + group + "\"";
    }
    if (target && target->readOnly()) {
        return "the alarm group \"" + group + "\" cannot be changed: " + target->loadProblem;
    }
    // The group's template gives everything but the moment, the name and the message.
    alarm = groups.newAlarmCommand(target);
    if (!target) {
        target = alarm->parent.lock();
    }
    alarm->name = name.empty() ? message : name;
    alarm->momentKind = 0;
    alarm->onceDate = *when;
    alarm->Active = true;
    std::shared_ptr<clsAction> shown;
    for (int i = 0; i < alarm->actions.numberOfElements() && !shown; ++i) {
        const auto& action = alarm->actions.elementAt(i);
        if (action->showsMessage()) {
            shown = action;
        }
    }
    if (!shown) {
        shown = std::make_shared<clsAction>();
        shown->setKind(ActionKind::Message);
        shown->al = alarm.get();
        alarm->actions.addElementAt(shown, 0);
    }
    shown->setText(message);
    alarm->setChanged();
    if (!target->alarms.addElement(alarm)) {
        return "the alarm group \"" + target->name + "\" is full: it holds " +
               std::to_string(VectorStorage<int>::kMaxCount) + " alarms";
    }
    return {};
}

bool RemoteCommands::testAlarm(const std::string& name) {
    const Vector<AlarmGroup>& groups = m_core.groups().alarmGroups;
    for (int g = 0; g < groups.numberOfElements(); ++g) {
        const auto& alarms = groups.elementAt(g)->alarms;
        for (int a = 0; a < alarms.numberOfElements(); ++a) {
            if (alarms.elementAt(a)->name == name) {
                m_core.watch().testAlarms(Vector<Alarm>::createVectorWithObj(alarms.elementAt(a), 1));
                return true;
            }
        }
    }
    return false;
}

void RemoteCommands::setBlocked(bool blocked) {
    m_core.watch().setBlocked(blocked);
}

void RemoteCommands::stopSounds() {
    m_core.watch().stopAllSounds();
}

std::string RemoteCommands::snooze(std::int32_t amount, const std::string& unit) {
    static const char* const names[7] = {"seconds", "minutes", "hours", "days", "months", "years", "weeks"};
    std::int16_t code = -1;
    for (std::int16_t i = 0; i < 7; ++i) {
        const std::string n = names[i];
        if (unit == n || unit == n.substr(0, n.size() - 1)) {
            code = i;
        }
    }
    if (code < 0) {
        return "\"" + unit + "\" is not a unit: seconds, minutes, hours, days, weeks, months or years";
    }
    if (amount <= 0) {
        return "the amount must be 1 or more";
    }
    if (!snoozeLatestWindow || !snoozeLatestWindow(amount, code)) {
        return "no alarm window is open";
    }
    return {};
}

void RemoteCommands::quit() {
    if (exitRoutine) {
        exitRoutine();
    }
}

} // namespace halvika
