#include "editing/FindLogic.h"

#include "alarms/Alarm.h"
#include "groups/AlarmGroup.h"
#include "groups/AlarmGroupCollection.h"
#include "text/CaseFolding.h"

namespace halvika {

bool FindLogic::forgetUnloaded() {
    bool dropped = false;
    for (int i = m_results.numberOfElements(); i-- > 0;) {
        if (!m_groups.isLoaded(*m_results.elementAt(i))) {
            m_results.removeElementAt(i);
            dropped = true;
        }
    }
    return dropped;
}

int FindLogic::find(const std::string& text, bool matchCase, bool withinResults) {
    Vector<Alarm> candidates;
    forgetUnloaded();
    if (withinResults) {
        candidates = m_results;
    } else {
        const Vector<AlarmGroup>& groups = m_groups.alarmGroups;
        for (int g = 0; g < groups.numberOfElements(); ++g) {
            if (!groups.elementAt(g)->hidden) {
                candidates.addVector(groups.elementAt(g)->alarms);
            }
        }
    }
    m_results.clear();
    const std::string wanted = matchCase ? text : CaseFolding::folded(text);
    for (int i = 0; i < candidates.numberOfElements(); ++i) {
        const auto& alarm = candidates.elementAt(i);
        const std::string whole = alarm->toXML("alrm")->toString();
        if ((matchCase ? whole : CaseFolding::folded(whole)).find(wanted) != std::string::npos) {
            m_results.addElement(alarm);
        }
    }
    return m_results.numberOfElements();
}

} // namespace halvika
