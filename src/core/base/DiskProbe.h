// Questions to the file system that may not take long.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace halvika {

/// Asks the file system on a thread of its own and waits a limited time for the answer: a sound on a network
/// share that stopped answering, or a disk spinning up, must not hold up the alarm that wants it. A question
/// that outlasts the limit counts as "no"; while one is still out, the next are not asked at all (they would
/// only queue up behind it) and count as "no" at once. It recovers by itself once the stuck one returns.
class DiskProbe {
public:
    /// How long a sounding alarm waits for a file's check or a folder's listing.
    static constexpr std::chrono::milliseconds alarmLimit{250};

    explicit DiskProbe(std::chrono::milliseconds limit) : m_limit(limit) {}
    DiskProbe(const DiskProbe&) = delete;
    DiskProbe& operator=(const DiskProbe&) = delete;

    /// The one probe of everything a sounding alarm looks up on disk, so that a share found stuck by one
    /// look is not asked again by the next.
    static const DiskProbe& forAlarms();

    /// `question`'s answer, or nothing when it took too long or an earlier one is still out.
    template <class T> std::optional<T> ask(std::function<T()> question) const;

private:
    const std::chrono::milliseconds m_limit;
    /// Questions that outlasted their limit and have not returned yet; shared with their threads.
    std::shared_ptr<std::atomic<int>> m_stuck = std::make_shared<std::atomic<int>>(0);
};

template <class T> std::optional<T> DiskProbe::ask(std::function<T()> question) const {
    if (*m_stuck > 0) {
        return std::nullopt;
    }
    struct Pending {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<T> value;
        bool abandoned = false;
    };
    auto pending = std::make_shared<Pending>();
    try {
        // Detached: a question stuck in the kernel cannot be called off, and the caller does not wait for it.
        std::thread([pending, stuck = m_stuck, question = std::move(question)] {
            T value = question();
            const std::lock_guard lock(pending->mutex);
            if (pending->abandoned) {
                --*stuck;
                return;
            }
            pending->value = std::move(value);
            pending->done.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return std::nullopt; // no thread to be had: no answer either, rather than no alarm
    }
    std::unique_lock lock(pending->mutex);
    if (!pending->done.wait_for(lock, m_limit, [&pending] { return pending->value.has_value(); })) {
        pending->abandoned = true;
        ++*m_stuck;
        return std::nullopt;
    }
    return std::move(pending->value);
}

} // namespace halvika
