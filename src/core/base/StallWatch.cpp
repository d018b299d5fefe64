#include "base/StallWatch.h"

#include <algorithm>

namespace halvika {

void StallWatch::handedOver(std::int64_t nowMs) {
    if (m_finished.load() == m_handed) {
        m_busySinceMs = nowMs;
    }
    ++m_handed;
}

void StallWatch::finished(std::int64_t nowMs) {
    // The time first: whoever sees the new count must also see that the worker moved just now.
    m_lastFinishedMs.store(nowMs);
    m_finished.fetch_add(1);
}

bool StallWatch::stalled(std::int64_t nowMs) const {
    if (m_finished.load() == m_handed) {
        return false;
    }
    return nowMs - std::max(m_busySinceMs, m_lastFinishedMs.load()) > m_limitMs;
}

} // namespace halvika
