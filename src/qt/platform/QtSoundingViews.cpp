#include "platform/QtSoundingViews.h"

#include "windows/frmAlarm.h"
#include "windows/frmAlarmClock.h"
#include "windows/frmSound.h"

#include <QPointer>
#include <QTimer>

namespace halvika {

namespace {

/// A window owned by the core: destroying the view closes the window without reporting back.
template <typename Window> class WidgetView : public SoundingViews::View {
public:
    explicit WidgetView(Window* window) : m_window(window) {}
    ~WidgetView() override {
        if (m_window) {
            m_window->detach();
            m_window->hide();
            // Possibly inside the window's own event: destroyed once back in the event loop.
            m_window->deleteLater();
        }
    }
    void refresh() override {
        if (m_window) {
            m_window->refresh();
        }
    }

private:
    QPointer<Window> m_window;
};

} // namespace

std::unique_ptr<SoundingViews::View> QtSoundingViews::openAlarmWindow(AlarmWindowLogic& logic) {
    auto* window = new frmAlarm(logic, *m_windows, m_texts, m_openEditor);
    window->show();
    return std::make_unique<WidgetView<frmAlarm>>(window);
}

std::unique_ptr<SoundingViews::View> QtSoundingViews::openSoundWindow(SoundWindowLogic& logic,
                                                                      const std::string& caption) {
    auto* window = new frmSound(logic, *m_windows, m_texts, QString::fromStdString(caption));
    window->show();
    return std::make_unique<WidgetView<frmSound>>(window);
}

std::unique_ptr<SoundingViews::View> QtSoundingViews::openAlarmClock(AlarmClockLogic& logic) {
    auto* window = new frmAlarmClock(logic, *m_windows, m_texts, m_clock);
    return std::make_unique<WidgetView<frmAlarmClock>>(window);
}

void QtSoundingViews::post(std::function<void()> work) {
    QTimer::singleShot(0, this, std::move(work));
}

} // namespace halvika
