// The open alarm windows, sound windows and the alarm clock: finding, reusing, limiting and closing them.
#pragma once

#include "platform/SoundingViews.h"
#include "sounding/AlarmWindowLogic.h"

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace halvika {

class AlarmClockLogic;
class SoundOutput;
class SoundVolume;
class SoundWindowLogic;

class SoundingWindows {
public:
    /// At most this many sounds play at once; a newer one closes the oldest.
    static constexpr std::size_t maxSounds = 3;
    /// "frmSound": the caption's end for a test instead of the moment.
    static constexpr int textTest = 21;

    SoundingWindows(AlarmWindowLogic::Services services, SoundOutput& output, SoundVolume& volume, SoundingViews& views,
                    std::string ringFile);
    ~SoundingWindows();

    /// Shows the alarm's message in a new window, or, with "uoaw", in the window showing the same action.
    void showAlarmMessage(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                          const Date& soundingDate, bool real, const std::string& replacementText);
    /// Plays the action's sound from the alarm's window (found or created as for a message).
    void playAlarmSound(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                        const Date& soundingDate, bool real);
    /// Shows the alarm clock, creating it on first use.
    AlarmClockLogic& showAlarmClock();
    /// Rings the alarm clock.
    void soundAlarmClock();
    /// Closes every sound window and silences the alarm clock.
    void stopAllSounds();
    /// Snoozes the most recently opened alarm window by an amount of a unit (a unit code) from now, as its
    /// snooze button would, and closes it. False when none is open or the snooze was refused.
    bool snoozeLatest(std::int32_t amount, std::int16_t unitCode);
    /// Closes every window (the program ends).
    void closeAll();

    // Reports from the windows.
    /// The alarm window was closed by its title bar: the closing work, then it goes.
    void alarmWindowClosing(AlarmWindowLogic& logic, const std::string& editedMessage, int widthPixels,
                            int heightPixels);
    /// The alarm window's command closed it.
    void alarmWindowDone(AlarmWindowLogic& logic);
    /// The sound window's stop button (`byUser`) or its title bar.
    void soundWindowStopped(SoundWindowLogic& logic, bool byUser);
    void alarmClockClosed();

    std::size_t alarmWindowCount() const { return m_alarmWindows.size(); }
    std::size_t soundWindowCount() const { return m_soundWindows.size(); }
    AlarmWindowLogic* alarmWindow(std::size_t index) const;
    SoundWindowLogic* soundWindow(std::size_t index) const;
    AlarmClockLogic* alarmClock() const { return m_alarmClock.get(); }

private:
    struct AlarmEntry;
    struct SoundEntry;

    AlarmEntry& findOrOpen(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action);
    void closeSound(SoundEntry* entry);
    void removeAlarmWindow(AlarmWindowLogic* logic);

    AlarmWindowLogic::Services m_services;
    SoundOutput& m_output;
    SoundVolume& m_volume;
    SoundingViews& m_views;
    std::string m_ringFile;
    std::mt19937 m_random;
    std::vector<std::unique_ptr<AlarmEntry>> m_alarmWindows;
    std::vector<std::unique_ptr<SoundEntry>> m_soundWindows; ///< oldest first
    std::unique_ptr<AlarmClockLogic> m_alarmClock;
    std::unique_ptr<SoundingViews::View> m_alarmClockView;
};

} // namespace halvika
