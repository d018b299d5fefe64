// The alarms missed while the computer was away: one window for every gap, to sound a chosen few or dismiss.
#pragma once

#include "windows/Translatable.h"

#include <QDialog>

#include "sounding/MissedAlarmsList.h"

#include <string>

class QLabel;
class QTreeWidget;

namespace halvika {

class AlarmWatch;
class modTranslation;

class frmMissedAlarms : public QDialog, public Translatable {
    Q_OBJECT

public:
    static constexpr const char* section = "frmMissedAlarms";
    static constexpr int textNotification = 4;

    frmMissedAlarms(modTranslation& texts, AlarmWatch& watch, std::string dateFormat, QWidget* parent = nullptr);
    void translate() override;
    /// Adds a gap's alarms to the list shown; `cut`: the gap held more than could be listed.
    void add(const Vector<Alarm>& alarms, const DateVector& moments, bool cut);
    void setDateFormat(std::string format) { m_dateFormat = std::move(format); }
    const MissedAlarmsList& list() const { return m_list; }

private:
    void fillRows();
    void soundChosen();
    void dismiss();

    modTranslation& m_texts;
    AlarmWatch& m_watch;
    std::string m_dateFormat;
    MissedAlarmsList m_list;
    QTreeWidget* m_rows = nullptr;
    QLabel* m_cut = nullptr;
};

} // namespace halvika
