// Telling a worker thread that has stopped taking jobs from one that is merely busy.
#pragma once

#include <atomic>
#include <cstdint>

namespace halvika {

/// Watches a worker that takes jobs in the order handed over. It counts as stalled when it has had work for
/// longer than the limit without finishing any: then whoever hands it jobs can do without it (beep instead
/// of play) rather than wait. It recovers by itself when the worker moves again.
/// `handedOver` and `stalled` belong to the handing thread, `finished` to the worker; times are milliseconds
/// on one monotonic clock.
class StallWatch {
public:
    explicit StallWatch(std::int64_t limitMs) : m_limitMs(limitMs) {}

    void handedOver(std::int64_t nowMs);
    void finished(std::int64_t nowMs);
    bool stalled(std::int64_t nowMs) const;

private:
    const std::int64_t m_limitMs;
    std::uint64_t m_handed = 0;
    /// When the worker got work while it had none.
    std::int64_t m_busySinceMs = 0;
    std::atomic<std::uint64_t> m_finished{0};
    std::atomic<std::int64_t> m_lastFinishedMs{0};
};

} // namespace halvika
