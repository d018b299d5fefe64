// The alarm window's decisions: caption, message, snooze controls, snooze bookkeeping and its commands.
#pragma once

#include "dates/Date.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class AlarmGroupCollection;
class AlarmWatch;
class Clock;
class MessageBoxRoutine;
class SettingsStore;
class clsAction;
class modTranslation;

class AlarmWindowLogic {
public:
    static constexpr const char* section = "frmAlarm";
    static constexpr int textReplacement = 4;
    static constexpr int textKeepEditedMessage = 5;
    static constexpr int textTest = 21;
    static constexpr int textSnoozedSounding = 22;
    static constexpr int textSnoozeLeft = 23;
    static constexpr int textDeleteQuestion = 101;
    static constexpr int textDeleteNotSoundingQuestion = 102;

    struct Services {
        const Clock& clock;
        modTranslation& texts;
        SettingsStore& settings;
        AlarmWatch& watch;
        AlarmGroupCollection& groups;
        MessageBoxRoutine& messages;
    };

    explicit AlarmWindowLogic(Services services) : m_s(services) {}

    /// Shows a sounding (or a test) of the alarm's action; a window showing it already is updated.
    void showAlarm(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                   const Date& soundingDate, bool real, const std::string& replacementText);

    /// A window that only plays the action's sound: it remembers what it belongs to and stays hidden.
    void attach(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action, const Date& soundingDate,
                bool real);

    /// True when a click is taken: not within the first second after the window was shown.
    bool guardPassed() const;
    /// OK: after the guard, the closing work with the window's message and size. True when the window is to
    /// close.
    bool ok(const std::string& editedMessage, int widthPixels, int heightPixels);
    /// Snooze with the controls' values: after the guard, the watch's snooze command, then the closing work.
    /// True when the window is to close (not when the new moment has passed already).
    bool snooze(std::int32_t amount, std::int16_t unitPosition, std::int16_t addTo, const std::string& editedMessage,
                int widthPixels, int heightPixels);
    /// The closing work: cancels the attention alarm, offers to keep an edited message, stores the window
    /// size (pixels) and reports the collected changes.
    void close(const std::string& editedMessage, int widthPixels, int heightPixels);
    void turnOn();
    void turnOff();
    void stopSnoozing();
    /// Asks, then deletes the alarm (only when it will not sound again for `onlyIfNotSounding`). True when
    /// it was deleted and the window is to close.
    bool deleteAlarm(bool onlyIfNotSounding);
    void messageClicked();

    const std::shared_ptr<Alarm>& alarm() const { return m_alarm; }
    const std::shared_ptr<clsAction>& action() const { return m_action; }
    const Date& moment() const { return m_moment; }
    bool real() const { return m_real; }
    bool replacementMode() const { return m_replacementMode; }
    const std::string& caption() const { return m_caption; }
    const std::string& message() const { return m_message; }
    /// Text 22 or 23 when the alarm was snoozed, else "".
    const std::string& snoozeNote() const { return m_snoozeNote; }
    bool snoozeVisible() const { return m_snoozeVisible; }
    bool snoozeEnabled() const { return m_snoozeEnabled; }
    bool menuEnabled() const;
    std::int32_t snoozeAmount() const { return m_snoozeAmount; }
    std::int16_t snoozeUnitPosition() const { return m_snoozeUnitPosition; }
    std::int16_t snoozeAddTo() const { return m_snoozeAddTo; }
    bool topmost() const;
    std::int16_t changeKinds() const { return m_changeKinds; }
    bool closed() const { return m_closed; }
    /// The size to open with, in pixels.
    int widthPixels() const;
    int heightPixels() const;

private:
    void addKinds(std::int16_t kinds) { m_changeKinds = static_cast<std::int16_t>(m_changeKinds | kinds); }
    void reportState();

    Services m_s;
    std::shared_ptr<Alarm> m_alarm;
    std::shared_ptr<clsAction> m_action;
    Date m_moment;
    Date m_shownAt;
    bool m_real = true;
    bool m_replacementMode = false;
    std::string m_caption;
    std::string m_message;
    std::string m_snoozeNote;
    bool m_snoozeVisible = false;
    bool m_snoozeEnabled = false;
    std::int32_t m_snoozeAmount = 5;
    std::int16_t m_snoozeUnitPosition = 1;
    std::int16_t m_snoozeAddTo = 0;
    std::int16_t m_changeKinds = 0;
    bool m_closed = false;
};

} // namespace halvika
