// The alarms that fell due while the computer was away and stayed silent, as the user sees them.
#include "sounding/MissedAlarmsList.h"

#include "dates/DateFormat.h"
#include "groups/AlarmGroup.h"
#include "sounding/AlarmWatch.h"

#include <algorithm>

namespace halvika {

void MissedAlarmsList::add(const Vector<Alarm>& alarms, const DateVector& moments, bool cut) {
    m_cut = m_cut || cut;
    for (int i = 0; i < alarms.numberOfElements() && i < moments.numberOfElements(); ++i) {
        Entry entry{alarms.elementAt(i), moments.dateAt(i), false};
        const bool listed = std::any_of(m_entries.begin(), m_entries.end(), [&entry](const Entry& e) {
            return e.alarm == entry.alarm && e.moment == entry.moment;
        });
        if (listed) {
            continue;
        }
        // After entries of the same moment, so that a gap's own order stays.
        const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), entry.moment,
                                         [](const Date& m, const Entry& e) { return m < e.moment; });
        m_entries.insert(at, std::move(entry));
    }
}

std::vector<MissedAlarmsList::Row> MissedAlarmsList::rows(const std::string& format) const {
    std::vector<Row> rows;
    rows.reserve(m_entries.size());
    for (const auto& e : m_entries) {
        const auto group = e.alarm->parent.lock();
        rows.push_back({group ? group->name : std::string(), e.alarm->name, formatDate(format, e.moment), e.chosen});
    }
    return rows;
}

void MissedAlarmsList::choose(int row, bool chosen) {
    if (row >= 0 && row < count()) {
        m_entries[static_cast<std::size_t>(row)].chosen = chosen;
    }
}

void MissedAlarmsList::soundChosen(AlarmWatch& watch) {
    Vector<Alarm> alarms;
    DateVector moments;
    for (const auto& e : m_entries) {
        if (e.chosen) {
            alarms.addElement(e.alarm);
            moments.addDate(e.moment);
        }
    }
    std::erase_if(m_entries, [](const Entry& e) { return e.chosen; });
    if (alarms.numberOfElements() > 0) {
        watch.soundMissedNow(alarms, moments);
    }
}

} // namespace halvika
