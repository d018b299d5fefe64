#include "sounding/SoundingWindows.h"

#include "alarms/Alarm.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "platform/Clock.h"
#include "platform/SoundOutput.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmClockLogic.h"
#include "sounding/AlarmWatch.h"
#include "sounding/SoundWindowLogic.h"

#include <algorithm>
#include <chrono>

namespace halvika {

struct SoundingWindows::AlarmEntry {
    std::unique_ptr<AlarmWindowLogic> logic;
    std::unique_ptr<SoundingViews::View> view;
};

struct SoundingWindows::SoundEntry {
    std::unique_ptr<SoundWindowLogic> logic;
    std::unique_ptr<SoundingViews::View> view;
    AlarmWindowLogic* parent = nullptr;
};

SoundingWindows::SoundingWindows(AlarmWindowLogic::Services services, SoundOutput& output, SoundVolume& volume,
                                 SoundingViews& views, std::string ringFile)
    : m_services(services), m_output(output), m_volume(volume), m_views(views), m_ringFile(std::move(ringFile)),
      m_random(static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count())) {}

SoundingWindows::~SoundingWindows() {
    closeAll();
}

AlarmWindowLogic* SoundingWindows::alarmWindow(std::size_t index) const {
    return index < m_alarmWindows.size() ? m_alarmWindows[index]->logic.get() : nullptr;
}

SoundWindowLogic* SoundingWindows::soundWindow(std::size_t index) const {
    return index < m_soundWindows.size() ? m_soundWindows[index]->logic.get() : nullptr;
}

SoundingWindows::AlarmEntry& SoundingWindows::findOrOpen(const std::shared_ptr<Alarm>& alarm,
                                                         const std::shared_ptr<clsAction>& action) {
    if (m_services.settings.oneAlarmWindow) {
        for (const auto& entry : m_alarmWindows) {
            if (entry->logic->alarm() == alarm && entry->logic->action() == action) {
                return *entry;
            }
        }
    }
    auto entry = std::make_unique<AlarmEntry>();
    entry->logic = std::make_unique<AlarmWindowLogic>(m_services);
    m_alarmWindows.push_back(std::move(entry));
    return *m_alarmWindows.back();
}

void SoundingWindows::showAlarmMessage(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                                       const Date& soundingDate, bool real, const std::string& replacementText) {
    AlarmEntry& entry = findOrOpen(alarm, action);
    entry.logic->showAlarm(alarm, action, soundingDate, real, replacementText);
    if (entry.view) {
        entry.view->refresh();
    } else {
        entry.view = m_views.openAlarmWindow(*entry.logic);
    }
}

void SoundingWindows::playAlarmSound(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                                     const Date& soundingDate, bool real) {
    // A window that was only created to play a sound stays hidden: the sound window shows the alarm.
    AlarmEntry& entry = findOrOpen(alarm, action);
    if (!entry.logic->alarm()) {
        entry.logic->attach(alarm, action, soundingDate, real);
    }
    AlarmWindowLogic* parent = entry.logic.get();

    if (m_soundWindows.size() >= maxSounds) {
        if (m_soundWindows.front()->parent == parent) {
            m_soundWindows.front()->parent = nullptr;
        }
        closeSound(m_soundWindows.front().get());
    }
    for (const auto& sound : m_soundWindows) {
        if (sound->parent == parent) {
            sound->parent = nullptr;
            closeSound(sound.get());
            break;
        }
    }

    auto sound = std::make_unique<SoundEntry>();
    sound->parent = parent;
    sound->logic = std::make_unique<SoundWindowLogic>(m_output, m_volume, m_output.openChannel(), m_random);
    SoundEntry* raw = sound.get();
    sound->logic->onFinished = [this, raw] { m_views.post([this, raw] { closeSound(raw); }); };
    sound->logic->onChanged = [raw] {
        if (raw->view) {
            raw->view->refresh();
        }
    };
    SoundWindowLogic::Request request = SoundWindowLogic::Request::fromAction(*action);
    request.fallbackFile = m_services.settings.defaultSound;
    request.overrideVolume = m_services.settings.overrideSoundVolume;
    request.volume = m_services.settings.soundVolume;
    const std::string caption = alarm->name + " - " +
                                (real ? formatDate(m_services.settings.displayFormats[2], soundingDate)
                                      : m_services.texts.getText("frmSound", textTest));
    m_soundWindows.push_back(std::move(sound));
    raw->view = m_views.openSoundWindow(*raw->logic, caption);
    raw->logic->setSoundAction(request, m_services.clock.now().date);
}

void SoundingWindows::closeSound(SoundEntry* entry) {
    const auto it =
        std::find_if(m_soundWindows.begin(), m_soundWindows.end(), [entry](const auto& e) { return e.get() == entry; });
    if (it == m_soundWindows.end()) {
        return; // already closed, for example by a stop before the posted close ran
    }
    std::unique_ptr<SoundEntry> owned = std::move(*it);
    m_soundWindows.erase(it);
    owned->logic->stop();
    owned->view.reset();
    // A hidden alarm window lives only for its sound.
    const auto parent = std::find_if(m_alarmWindows.begin(), m_alarmWindows.end(),
                                     [&owned](const auto& e) { return e->logic.get() == owned->parent; });
    if (parent != m_alarmWindows.end() && !(*parent)->view) {
        m_alarmWindows.erase(parent);
    }
}

void SoundingWindows::soundWindowStopped(SoundWindowLogic& logic, bool byUser) {
    if (byUser) {
        m_services.watch.cancelAttentionAlarm();
    }
    for (const auto& entry : m_soundWindows) {
        if (entry->logic.get() == &logic) {
            SoundEntry* raw = entry.get();
            raw->logic->stop();
            m_views.post([this, raw] { closeSound(raw); });
            return;
        }
    }
}

void SoundingWindows::removeAlarmWindow(AlarmWindowLogic* logic) {
    const auto it = std::find_if(m_alarmWindows.begin(), m_alarmWindows.end(),
                                 [logic](const auto& e) { return e->logic.get() == logic; });
    if (it == m_alarmWindows.end()) {
        return;
    }
    for (const auto& sound : m_soundWindows) {
        if (sound->parent == logic) {
            sound->parent = nullptr;
        }
    }
    std::unique_ptr<AlarmEntry> owned = std::move(*it);
    m_alarmWindows.erase(it);
    owned->view.reset();
}

void SoundingWindows::alarmWindowClosing(AlarmWindowLogic& logic, const std::string& editedMessage, int widthPixels,
                                         int heightPixels) {
    logic.close(editedMessage, widthPixels, heightPixels);
    AlarmWindowLogic* raw = &logic;
    m_views.post([this, raw] { removeAlarmWindow(raw); });
}

bool SoundingWindows::snoozeLatest(std::int32_t amount, std::int16_t unitCode) {
    if (m_alarmWindows.empty()) {
        return false;
    }
    AlarmWindowLogic& logic = *m_alarmWindows.back()->logic;
    constexpr std::int16_t fromNow = 1;
    if (!logic.snooze(amount, listPositionOfUnitCode(unitCode), fromNow, logic.message(), 0, 0)) {
        return false;
    }
    alarmWindowDone(logic);
    return true;
}

void SoundingWindows::alarmWindowDone(AlarmWindowLogic& logic) {
    AlarmWindowLogic* raw = &logic;
    m_views.post([this, raw] { removeAlarmWindow(raw); });
}

AlarmClockLogic& SoundingWindows::showAlarmClock() {
    if (!m_alarmClock) {
        m_alarmClock = std::make_unique<AlarmClockLogic>(
            m_services.clock, m_output.openChannel(), m_ringFile, m_services.settings.alarmClockMaxMinutes,
            m_services.settings.alarmClockSnoozeMinutes, [this] { m_output.beep(); });
    }
    m_alarmClock->setLimits(m_services.settings.alarmClockMaxMinutes, m_services.settings.alarmClockSnoozeMinutes);
    if (m_alarmClockView) {
        m_alarmClockView->refresh();
    } else {
        m_alarmClockView = m_views.openAlarmClock(*m_alarmClock);
    }
    return *m_alarmClock;
}

void SoundingWindows::soundAlarmClock() {
    showAlarmClock().soundAlarmClock();
    m_alarmClockView->refresh();
}

void SoundingWindows::alarmClockClosed() {
    if (!m_alarmClock) {
        return;
    }
    m_alarmClock->close();
    m_views.post([this] {
        m_alarmClockView.reset();
        m_alarmClock.reset();
    });
}

void SoundingWindows::stopAllSounds() {
    while (!m_soundWindows.empty()) {
        closeSound(m_soundWindows.back().get());
    }
    if (m_alarmClock) {
        m_alarmClock->stopSounding();
        if (m_alarmClockView) {
            m_alarmClockView->refresh();
        }
    }
}

void SoundingWindows::closeAll() {
    stopAllSounds();
    while (!m_alarmWindows.empty()) {
        m_alarmWindows.pop_back();
    }
    m_alarmClockView.reset();
    m_alarmClock.reset();
}

} // namespace halvika
