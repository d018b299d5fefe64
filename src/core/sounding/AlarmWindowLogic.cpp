#include "sounding/AlarmWindowLogic.h"

#include "alarms/Alarm.h"
#include "base/MessageBoxRoutine.h"
#include "dates/DateFormat.h"
#include "dates/DateUnits.h"
#include "groups/AlarmGroup.h"
#include "groups/AlarmGroupCollection.h"
#include "platform/Clock.h"
#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"
#include "sounding/AlarmWatch.h"
#include "text/Placeholders.h"

namespace halvika {

namespace {

constexpr int twipsPerPixel = 15;

Vector<Alarm> only(const std::shared_ptr<Alarm>& alarm) {
    Vector<Alarm> alarms;
    alarms.addElement(alarm);
    return alarms;
}

} // namespace

void AlarmWindowLogic::showAlarm(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                                 const Date& soundingDate, bool real, const std::string& replacementText) {
    const bool isNew = !m_alarm;
    m_alarm = alarm;
    m_action = action;
    m_moment = soundingDate;
    m_real = real;
    m_shownAt = m_s.clock.now().date;
    m_replacementMode = !replacementText.empty();

    const bool snoozeAction = action && action->offersSnooze();
    m_snoozeVisible = snoozeAction || m_replacementMode;
    m_snoozeEnabled = real && !alarm->readOnly;

    m_caption =
        alarm->name + " - " +
        (real ? formatDate(m_s.settings.displayFormats[2], soundingDate) : m_s.texts.getText(section, textTest));

    m_snoozeNote.clear();
    if (alarm->snoozing) {
        if (soundingDate == alarm->nextSnoozeAlarmDate) {
            m_snoozeNote = m_s.texts.getText(section, textSnoozedSounding);
            alarm->snoozing = false;
            addKinds(kindTimingChanged);
        } else {
            if (soundingDate > alarm->nextSnoozeAlarmDate) {
                alarm->snoozing = false;
                addKinds(kindTimingChanged);
            }
            m_snoozeNote = m_s.texts.getText(section, textSnoozeLeft);
        }
    }

    if (m_replacementMode) {
        m_message = Placeholders::fill(m_s.texts.getText(section, textReplacement), replacementText);
    } else if (isNew) {
        m_message = action ? action->text() : std::string();
    }

    if (isNew) {
        if (alarm->lastSnoozeSet) {
            m_snoozeAmount = alarm->lastSnoozeAmount;
            m_snoozeUnitPosition = listPositionOfUnitCode(alarm->lastSnoozeUnit);
            m_snoozeAddTo = alarm->lastSnoozeAddTo;
        } else {
            m_snoozeAmount = m_s.settings.snoozeAmount;
            m_snoozeUnitPosition = listPositionOfUnitCode(m_s.settings.snoozeUnit);
            m_snoozeAddTo = m_s.settings.snoozeAddTo;
        }
    }
}

void AlarmWindowLogic::attach(const std::shared_ptr<Alarm>& alarm, const std::shared_ptr<clsAction>& action,
                              const Date& soundingDate, bool real) {
    m_alarm = alarm;
    m_action = action;
    m_moment = soundingDate;
    m_real = real;
}

bool AlarmWindowLogic::guardPassed() const {
    const Date now = m_s.clock.now().date;
    return now < m_shownAt || now.serialSeconds() - m_shownAt.serialSeconds() > 1;
}

bool AlarmWindowLogic::menuEnabled() const {
    return m_alarm && !m_alarm->readOnly;
}

bool AlarmWindowLogic::topmost() const {
    return m_s.settings.forceForeground;
}

int AlarmWindowLogic::widthPixels() const {
    return m_s.settings.alarmWindowWidth / twipsPerPixel;
}

int AlarmWindowLogic::heightPixels() const {
    return m_s.settings.alarmWindowHeight / twipsPerPixel;
}

bool AlarmWindowLogic::ok(const std::string& editedMessage, int widthPixels, int heightPixels) {
    if (!guardPassed()) {
        return false;
    }
    close(editedMessage, widthPixels, heightPixels);
    return true;
}

bool AlarmWindowLogic::snooze(std::int32_t amount, std::int16_t unitPosition, std::int16_t addTo,
                              const std::string& editedMessage, int widthPixels, int heightPixels) {
    if (!guardPassed() || !m_snoozeEnabled) {
        return false;
    }
    m_snoozeAmount = amount;
    m_snoozeUnitPosition = unitPosition;
    m_snoozeAddTo = addTo;
    const auto result = m_s.watch.snoozeCommand(*m_alarm, m_moment, m_s.clock.now().date, addTo, amount, unitPosition);
    if (result == AlarmWatch::SnoozeResult::InThePast) {
        return false;
    }
    if (result == AlarmWatch::SnoozeResult::Snoozed) {
        addKinds(kindTimingChanged);
    }
    // The remembered snooze choice is part of the alarm's file.
    m_alarm->changed = true;
    close(editedMessage, widthPixels, heightPixels);
    return true;
}

void AlarmWindowLogic::close(const std::string& editedMessage, int widthPixels, int heightPixels) {
    if (m_closed) {
        return;
    }
    m_closed = true;
    m_s.watch.cancelAttentionAlarm();
    if (m_alarm && m_action && !m_replacementMode && editedMessage != m_message && !m_alarm->readOnly &&
        m_s.messages.msgBox(m_s.texts.getText(section, textKeepEditedMessage),
                            Dialogs::styleYesNo + Dialogs::styleQuestion) == Dialogs::answerYes) {
        m_action->setText(editedMessage);
        m_alarm->setChanged();
        addKinds(kindContentChanged);
    }
    const std::int32_t width = widthPixels * twipsPerPixel, height = heightPixels * twipsPerPixel;
    if (width > 0 && height > 0 &&
        (width != m_s.settings.alarmWindowWidth || height != m_s.settings.alarmWindowHeight)) {
        m_s.settings.alarmWindowWidth = width;
        m_s.settings.alarmWindowHeight = height;
        m_s.watch.requestWork(AlarmWatch::settingsChanged);
    }
    if (m_alarm && m_changeKinds != 0) {
        if (auto group = m_alarm->parent.lock()) {
            group->setChanged();
        }
        m_s.watch.alarmsChanged(only(m_alarm), m_changeKinds);
    }
}

void AlarmWindowLogic::reportState() {
    m_alarm->changed = true;
    if (auto group = m_alarm->parent.lock()) {
        group->setChanged();
    }
    m_s.watch.alarmsChanged(only(m_alarm), kindStateChanged);
}

void AlarmWindowLogic::turnOn() {
    if (menuEnabled()) {
        m_alarm->Active = true;
        reportState();
    }
}

void AlarmWindowLogic::turnOff() {
    if (menuEnabled()) {
        m_alarm->Active = false;
        reportState();
    }
}

void AlarmWindowLogic::stopSnoozing() {
    if (menuEnabled()) {
        m_alarm->snoozing = false;
        reportState();
    }
}

bool AlarmWindowLogic::deleteAlarm(bool onlyIfNotSounding) {
    if (!menuEnabled()) {
        return false;
    }
    const int text = onlyIfNotSounding ? textDeleteNotSoundingQuestion : textDeleteQuestion;
    if (m_s.messages.msgBox(m_s.texts.getText(section, text), Dialogs::styleYesNo + Dialogs::styleQuestion) !=
        Dialogs::answerYes) {
        return false;
    }
    const Vector<Alarm> deleted = m_s.groups.removeAlarms(only(m_alarm), onlyIfNotSounding, m_s.watch.correctedNow());
    if (deleted.numberOfElements() == 0) {
        return false;
    }
    // The alarm is gone: closing must not report it again.
    m_changeKinds = 0;
    m_closed = true;
    m_s.watch.cancelAttentionAlarm();
    return true;
}

void AlarmWindowLogic::messageClicked() {
    m_s.watch.cancelAttentionAlarm();
}

} // namespace halvika
