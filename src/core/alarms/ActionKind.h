// What an action does; the number is the one the alarm group files hold ("acid").
#pragma once

#include <cstdint>

namespace halvika {

enum class ActionKind : std::int16_t {
    Message = 1,
    Speak = 2,
    MessageAndSpeak = 3,
    /// Three slots for a special command, all run the same way.
    SpecialCommand = 4,
    SpecialCommand2 = 5,
    SpecialCommand3 = 6,
    SoundOnce = 7,
    SoundRepeated = 8,
    TellTime = 9,
    TimeUntil = 10,
    TimeSince = 11,
    ScreenSaver = 12,
    ShutDown = 13,
    Restart = 14,
    LogOff = 15,
    Plugin = 16,
    AlarmClock = 17,
};

/// The number a kind is kept and looked up under (files, language file keys, colour slots).
constexpr std::int16_t kindNumber(ActionKind kind) {
    return static_cast<std::int16_t>(kind);
}

/// Kinds with a text, command, file or time format ("s").
constexpr bool actionHasText(ActionKind kind) {
    return kindNumber(kind) >= kindNumber(ActionKind::Message) && kindNumber(kind) <= kindNumber(ActionKind::TimeSince);
}
constexpr bool actionIsSpecialCommand(ActionKind kind) {
    return kind == ActionKind::SpecialCommand || kind == ActionKind::SpecialCommand2 ||
           kind == ActionKind::SpecialCommand3;
}
constexpr bool actionIsSound(ActionKind kind) {
    return kind == ActionKind::SoundOnce || kind == ActionKind::SoundRepeated;
}
/// Kinds that tell the time: now, or until or since a moment.
constexpr bool actionTellsTime(ActionKind kind) {
    return kind == ActionKind::TellTime || kind == ActionKind::TimeUntil || kind == ActionKind::TimeSince;
}
/// Kinds with a moment ("d") the time is told around.
constexpr bool actionHasReferenceMoment(ActionKind kind) {
    return kind == ActionKind::TimeUntil || kind == ActionKind::TimeSince;
}

} // namespace halvika
