// The windows of sounding alarms, as the core opens and closes them.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace halvika {

class AlarmClockLogic;
class AlarmWindowLogic;
class SoundWindowLogic;

class SoundingViews {
public:
    /// An open window; destroying it closes the window.
    class View {
    public:
        virtual ~View() = default;
        /// Shows the logic's current state (after a reuse, for example).
        virtual void refresh() = 0;
    };

    virtual ~SoundingViews() = default;
    virtual std::unique_ptr<View> openAlarmWindow(AlarmWindowLogic& logic) = 0;
    virtual std::unique_ptr<View> openSoundWindow(SoundWindowLogic& logic, const std::string& caption) = 0;
    virtual std::unique_ptr<View> openAlarmClock(AlarmClockLogic& logic) = 0;
    /// Runs `work` once control is back in the event loop (a window must not be destroyed from its own
    /// event).
    virtual void post(std::function<void()> work) = 0;
};

} // namespace halvika
