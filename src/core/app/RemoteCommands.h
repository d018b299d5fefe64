// What scripts may ask of a running Halvika (over D-Bus and through halvika-cli): the upcoming and recent
// alarms, the state, a new one-time alarm, testing an alarm, blocking, silencing, snoozing and quitting.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace halvika {

class Alarm;
class AlarmGroup;
class Clock;
class CoreSubsystems;

class RemoteCommands {
public:
    struct Entry {
        Date moment;
        std::string name;
        std::string group;
    };
    struct Status {
        /// The next moment an alarm sounds, Date::none() when none will.
        Date next = Date::none();
        std::vector<std::string> nextNames;
        bool blocked = false;
        int groups = 0;
        int alarms = 0;
    };
    static constexpr int maxListed = 1000;
    /// The longest name and message a script may give, in bytes of UTF-8.
    static constexpr std::size_t maxNameBytes = 256;
    static constexpr std::size_t maxMessageBytes = 16384;

    RemoteCommands(CoreSubsystems& core, const Clock& clock);

    /// The next moment of every switched-on alarm in a switched-on group, soonest first, at most `limit`.
    std::vector<Entry> upcoming(int limit) const;
    /// The alarms that sounded recently (the main window's recent list).
    std::vector<Entry> recent() const;
    Status status() const;
    /// A one-time alarm at `moment` ("yyyy/mm/dd hh:nn:ss", a real moment still to come) with a message, in the
    /// group of that name (the first group when empty; a new group when there is none). The name or the message
    /// must say something; neither may hold control characters (the message may hold line breaks and tabs) or
    /// be longer than its limit. `answer` hears "" once the alarm is added and written to the group's file,
    /// else why not (and nothing was added). A refusal is answered at once; the disk's answer comes through
    /// the file writer, so nothing here waits for it: it is told at the writer's report of its outcomes.
    using Answer = std::function<void(const std::string& problem)>;
    void addAlarm(const std::string& name, const std::string& moment, const std::string& message,
                  const std::string& group, Answer answer);
    /// Sounds the first alarm of that name as a test. False when there is none.
    bool testAlarm(const std::string& name);
    void setBlocked(bool blocked);
    void stopSounds();
    /// Snoozes the most recently shown alarm window by an amount of a unit named in English ("minutes"),
    /// or "" when done, else why not.
    std::string snooze(std::int32_t amount, const std::string& unit);
    void quit();

    /// The windows' part of snoozing: the unit is a unit code. False when no alarm window is open.
    std::function<bool(std::int32_t amount, std::int16_t unit)> snoozeLatestWindow;
    /// The exit routine.
    std::function<void()> exitRoutine;

private:
    /// addAlarm up to the disk: the checks, and the alarm made and put in its group. "" when it is there.
    std::string addInMemory(const std::string& name, const std::string& moment, const std::string& message,
                            const std::string& group, std::shared_ptr<Alarm>& alarm,
                            std::shared_ptr<AlarmGroup>& target);

    CoreSubsystems& m_core;
    const Clock& m_clock;
};

} // namespace halvika
