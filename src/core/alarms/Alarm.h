// One scheduled reminder: its moment rules, actions, sounding and snooze state, and display texts.
#pragma once

#include "alarms/clsAction.h"
#include "containers/Vector.h"
#include "dates/Date.h"
#include "xml/XMLNode.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace halvika {

class ActionRunner;
class AlarmGroup;
struct AlarmTexts;
class TextSource;

class Alarm : public std::enable_shared_from_this<Alarm> {
public:
    /// "Alarm" text: a new alarm's name.
    static constexpr int textDefaultName = 101;
    static constexpr int textNameColumn = 201;
    // activePeriod flags.
    static constexpr std::int16_t periodWindow = 2;
    static constexpr std::int16_t periodWeekdays = 4;
    static constexpr std::int16_t periodAdvanced = 8;
    /// Candidates examined by one next-moment query before it gives up.
    static constexpr int kMaxCandidates = 1000;

    // The fields are laid out for the tick rather than by meaning. The scan for the next alarm reads these
    // first few of every alarm after half a minute asleep, when the processor's caches have gone cold, so
    // they share the object's first cache line; the rest go from the largest to the smallest, leaving no
    // gaps between them.
    bool Active = false;
    bool soundAfterInactive = false;

private:
    bool m_cacheCalendarDate = false;
    Date m_cacheAfterDate;
    Date m_cacheNextDate;

public:
    std::string name;
    std::string activeAdvanced;
    /// A synchronisation's identity of the alarm ("suid", e.g. a calendar UID), kept across edits; "" for
    /// an alarm never synchronised. Only such alarms also carry when they were last changed here ("smod",
    /// seconds since 1970), which settles which side wins when both sides changed.
    std::string syncId;
    std::int64_t syncModified = 0;
    Date onceDate;
    Date nextDate; ///< anchor of the period grid
    Date startDate;
    Date endDate;
    Date nextSnoozeAlarmDate;
    Vector<clsAction> actions;
    std::weak_ptr<AlarmGroup> parent;
    std::int32_t everyAmount = 0;
    std::int32_t correctionAmount = 0;
    std::int32_t durationAmount = 0;
    std::int16_t momentKind = 0; ///< 0 one-time, 1 periodic; anything else is never due except by snooze
    std::int16_t everyUnit = 0;
    std::int16_t activePeriod = 0;
    std::int16_t weekDays = 0; ///< bit 0 Sunday ... bit 6 Saturday
    std::int16_t correctionUnit = 0;
    std::int16_t importance = 0;
    std::int16_t durationUnit = 0; ///< a fresh alarm counts in seconds; a missing "duru" reads as minutes
    std::int16_t lastSnoozeAmount = 0;
    std::int16_t lastSnoozeUnit = 0;
    std::int16_t lastSnoozeAddTo = 0;
    bool snoozing = false;
    bool lastSnoozeSet = false;
    bool changed = false;
    bool hidden = false;
    bool readOnly = false;
    bool selected = false;

    Alarm() = default;
    Alarm(const Alarm&) = delete;
    Alarm& operator=(const Alarm&) = delete;

    /// A new alarm: Active, owned by `group` (may be null), changed, caches cleared.
    static std::shared_ptr<Alarm> createAlarm(const std::shared_ptr<AlarmGroup>& group);
    /// A one-time alarm that is never due, named by text 101 of "Alarm", with one message action.
    static std::shared_ptr<Alarm> createDefaultAlarm(TextSource& texts);
    static std::shared_ptr<Alarm> createDefaultHiddenAlarm(const std::shared_ptr<AlarmGroup>& group,
                                                           const std::string& alarmName);
    /// Reads an alarm element; every missing or unreadable field takes its default.
    static std::shared_ptr<Alarm> createFromXML(const XMLNode& xml, const std::shared_ptr<AlarmGroup>& group);

    /// A new empty action list.
    void initialize() { actions.clear(); }
    /// The alarm element named `tag`.
    XMLNodePtr toXML(std::string_view tag) const;

    /// True when the alarm has a moment strictly after `da`; the moment is then getNextAlarmDateAfter().
    /// `calendarDate` true ignores the correction. Throws ArithmeticError (period 0 or negative, overflow,
    /// dates leaving the years 100-9999) and ExpressionError (a malformed expression).
    bool hasNextAlarmDateAfter(const Date& da, bool calendarDate = false);
    /// The moment found by the last hasNextAlarmDateAfter; 9999-12-31 when it answered false.
    Date getNextAlarmDateAfter() const { return m_cacheNextDate; }
    /// hasNextAlarmDateAfter for callers that go on with the other alarms: the next moment, or nothing when
    /// there is none or it cannot be computed.
    std::optional<Date> nextMomentAfter(const Date& da, bool calendarDate = false) noexcept;

    void setChanged() {
        changed = true;
        invalidateCaches();
    }
    void invalidateCaches();
    /// Sets the pending snooze; the cache is left alone.
    void snooze(const Date& snoozeDate) {
        snoozing = true;
        nextSnoozeAlarmDate = snoozeDate;
    }
    /// Counts a real sounding, then runs every action in order.
    void soundAlarm(const Date& soundingDate, bool real, ActionRunner& runner);
    /// True when an action shows a message.
    bool showsMessage() const;

    /// A text and its colour (a colour number as decimal text).
    using TextItem = std::pair<std::string, std::string>;
    /// The moment rules in words: the one-time moment, or the period with its restrictions, and the
    /// correction.
    TextItem getDateTimeDescriptionItems(AlarmTexts& context) const;
    /// Every action's description followed by "; ", with the first action's colour.
    TextItem getActionDescriptionItems(AlarmTexts& context) const;
    /// The seven columns of the alarm lists: name, on/off, next moment, moment rules, actions, duration,
    /// importance.
    std::array<TextItem, 7> getStringItems(AlarmTexts& context);
    /// Seven labelled lines of the columns, joined by CR LF; "" when tool tips are off.
    std::string getToolTip(AlarmTexts& context);

private:
    Date alignToPeriod(const Date& from, const Date& target) const;
    bool computeNext(const Date& da, bool calendarDate, Date& moment) const;
};

} // namespace halvika
