// Opens the Qt alarm, sound and alarm clock windows for the core.
#pragma once

#include "platform/SoundingViews.h"

#include <QObject>

#include <functional>

namespace halvika {

class Clock;
class SoundingWindows;
class modTranslation;

class QtSoundingViews : public QObject, public SoundingViews {
    Q_OBJECT

public:
    QtSoundingViews(modTranslation& texts, const Clock& clock) : m_texts(texts), m_clock(clock) {}
    /// The windows' owner, told when a window closes; set before the first window opens.
    void setWindows(SoundingWindows& windows) { m_windows = &windows; }
    /// How an alarm window opens the editor for its alarm; without it the window offers no editor.
    void setEditorOpener(std::function<void(AlarmWindowLogic&)> opener) { m_openEditor = std::move(opener); }

    std::unique_ptr<View> openAlarmWindow(AlarmWindowLogic& logic) override;
    std::unique_ptr<View> openSoundWindow(SoundWindowLogic& logic, const std::string& caption) override;
    std::unique_ptr<View> openAlarmClock(AlarmClockLogic& logic) override;
    void post(std::function<void()> work) override;

private:
    modTranslation& m_texts;
    const Clock& m_clock;
    SoundingWindows* m_windows = nullptr;
    std::function<void(AlarmWindowLogic&)> m_openEditor;
};

} // namespace halvika
