// Writes files on a thread of its own, so that a slow or stalled disk never holds up the thread that asks.
#include "text/FileWriteQueue.h"

#include "text/TextFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace halvika {

FileWriteQueue::FileWriteQueue() : FileWriteQueue(&TextFile::writeAtomically) {}

FileWriteQueue::FileWriteQueue(WriteFile writeFile)
    : m_writeFile(writeFile ? std::move(writeFile) : WriteFile(&TextFile::writeAtomically)) {}

FileWriteQueue::~FileWriteQueue() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void FileWriteQueue::write(const std::string& path, std::string content, OutcomeHandler onOutcome,
                           std::function<void()> onNameTaken) {
    enqueue(Job{path, std::move(content), false, std::move(onOutcome), false, std::move(onNameTaken), {}});
}

void FileWriteQueue::writeNew(const std::string& path, std::string content, OutcomeHandler onOutcome,
                              std::function<void()> onNameTaken) {
    enqueue(Job{path, std::move(content), false, std::move(onOutcome), true, std::move(onNameTaken), {}});
}

void FileWriteQueue::writeConfirmed(const std::string& path, std::string content, bool mustBeNew,
                                    OutcomeHandler onOutcome, std::function<void()> onNameTaken,
                                    OutcomeHandler confirm) {
    Job job{path, std::move(content), false, std::move(onOutcome), mustBeNew, std::move(onNameTaken), {}};
    job.confirmations.push_back(std::move(confirm));
    enqueue(std::move(job));
}

bool FileWriteQueue::nameTaken(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    return m_takenNames.count(path) > 0;
}

void FileWriteQueue::remove(const std::string& path) {
    enqueue(Job{path, {}, true, {}, false, {}, {}});
}

void FileWriteQueue::close() {
    const std::lock_guard lock(m_mutex);
    m_closed = true;
}

void FileWriteQueue::enqueue(Job job) {
    {
        const std::lock_guard lock(m_mutex);
        if (m_closed) {
            confirm(job.confirmations, false, "the program is ending");
            return;
        }
        // Only a job not yet begun is replaced; one under way is followed, so the files end as last asked.
        const auto waiting =
            std::find_if(m_jobs.begin(), m_jobs.end(), [&](const Job& queued) { return queued.path == job.path; });
        if (waiting != m_jobs.end() && job.removal) {
            confirm(waiting->confirmations, false, "the file was removed before it was written");
        }
        if (waiting != m_jobs.end() && job.removal && waiting->mustBeNew) {
            m_jobs.erase(waiting); // never written: whatever has the name now is not ours to remove
            if (m_jobs.empty() && m_current.empty()) {
                m_idle.notify_all();
            }
            return;
        }
        if (waiting != m_jobs.end()) {
            if (!job.removal && waiting->mustBeNew) {
                // The newer text of a file not written yet: still not over another one.
                job.mustBeNew = true;
                if (!job.onNameTaken) {
                    job.onNameTaken = std::move(waiting->onNameTaken);
                }
            }
            // The newer text carries the older one's confirmations.
            job.confirmations.insert(job.confirmations.begin(), std::make_move_iterator(waiting->confirmations.begin()),
                                     std::make_move_iterator(waiting->confirmations.end()));
            *waiting = std::move(job);
        } else {
            m_jobs.push_back(std::move(job));
        }
        if (!m_thread.joinable()) {
            // Made at the first write: a program that never saves never has the thread.
            m_thread = std::thread([this] { run(); });
        }
    }
    m_wake.notify_one();
}

bool FileWriteQueue::holds(const std::string& path) const {
    const std::lock_guard lock(m_mutex);
    return m_current == path ||
           std::any_of(m_jobs.begin(), m_jobs.end(), [&](const Job& job) { return job.path == path; });
}

bool FileWriteQueue::waitUntilDone(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    const auto done = [this] { return m_jobs.empty() && m_current.empty(); };
    if (limit == std::chrono::milliseconds::max()) {
        m_idle.wait(lock, done);
        return true;
    }
    return m_idle.wait_for(lock, limit, done);
}

int FileWriteQueue::reportOutcomes() {
    std::vector<Outcome> outcomes;
    {
        const std::lock_guard lock(m_mutex);
        outcomes.swap(m_outcomes);
    }
    // Outside the lock: a handler may queue the file again.
    int failed = 0;
    for (const Outcome& outcome : outcomes) {
        if (outcome.nameTaken && outcome.onNameTaken) {
            outcome.onNameTaken(); // not a failure: the file is written under another name
            continue;
        }
        failed += outcome.ok ? 0 : 1;
        if (outcome.onOutcome) {
            outcome.onOutcome(outcome.ok, outcome.reason);
        }
    }
    std::vector<Confirmation> confirmed;
    {
        const std::lock_guard lock(m_mutex);
        confirmed.swap(m_confirmed);
    }
    for (const Confirmation& confirmation : confirmed) {
        confirmation.handler(confirmation.ok, confirmation.reason);
    }
    return failed;
}

void FileWriteQueue::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            return; // stopping, and everything handed over is written
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_current = job.path;
        const bool alreadyTaken = m_takenNames.count(job.path) > 0;
        lock.unlock();
        std::string reason;
        bool ok = true;
        bool taken = false;
        if (job.removal) {
            std::error_code ignored; // a file already gone is what was asked for
            if (!alreadyTaken) {
                std::filesystem::remove(job.path, ignored);
            }
        } else if (alreadyTaken || (job.mustBeNew && TextFile::exists(job.path))) {
            ok = false;
            taken = true;
            reason = "another file has this name";
        } else {
            ok = m_writeFile(job.path, job.content, &reason);
        }
        lock.lock();
        if (taken) {
            m_takenNames.insert(job.path);
        }
        settle(job, ok, taken, std::move(reason));
        m_current.clear();
        if (m_jobs.empty()) {
            m_idle.notify_all();
        }
    }
}

void FileWriteQueue::setConfirmationWaker(std::function<void()> waker) {
    const std::lock_guard lock(m_mutex);
    m_waker = std::move(waker);
}

void FileWriteQueue::confirm(std::vector<OutcomeHandler>& confirmations, bool ok, const std::string& reason) {
    bool told = false;
    for (OutcomeHandler& handler : confirmations) {
        if (handler) {
            m_confirmed.push_back({std::move(handler), ok, reason});
            told = true;
        }
    }
    confirmations.clear();
    if (told && m_waker) {
        m_waker();
    }
}

void FileWriteQueue::settle(Job& job, bool ok, bool nameTaken, std::string reason) {
    confirm(job.confirmations, ok, reason);
    // Only the latest outcome for a file counts: a success makes an earlier failure of it moot. A removal
    // is nobody's news.
    std::erase_if(m_outcomes, [&](const Outcome& outcome) { return outcome.path == job.path; });
    if (!job.removal) {
        m_outcomes.push_back(
            Outcome{job.path, ok, nameTaken, std::move(reason), std::move(job.onOutcome), std::move(job.onNameTaken)});
    }
}

} // namespace halvika
