// Writes files on a thread of its own, so that a slow or stalled disk never holds up the thread that asks.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace halvika {

/// One thread writes the queued files in order. How a write ended is told on the owner's thread, at its next
/// `reportOutcomes`, for the latest write of each file only: a failure is never lost, nor told once a later
/// write of the file has made it moot.
class FileWriteQueue {
public:
    /// Replaces a file whole (TextFile::writeAtomically in the program; a stand-in in tests).
    /// An empty one stands for TextFile::writeAtomically.
    using WriteFile = std::function<bool(const std::string& path, const std::string& content, std::string* reason)>;
    using OutcomeHandler = std::function<void(bool ok, const std::string& reason)>;

    FileWriteQueue();
    explicit FileWriteQueue(WriteFile writeFile);
    FileWriteQueue(const FileWriteQueue&) = delete;
    FileWriteQueue& operator=(const FileWriteQueue&) = delete;
    /// Writes everything still queued before it ends: what was handed over is never dropped.
    ~FileWriteQueue();

    /// Queues `content` to replace the file at `path`. A write of the same file still waiting its turn takes
    /// the new content in its place, so a burst of changes costs one write. `onNameTaken`: see writeNew.
    void write(const std::string& path, std::string content, OutcomeHandler onOutcome = {},
               std::function<void()> onNameTaken = {});
    /// Queues a file that must not be there yet, for a name chosen without looking at the disk. When a file
    /// of that name is there by its turn, nothing is written and `onNameTaken` runs in place of `onOutcome`;
    /// from then on every write of that name is refused the same way, so no later write lands on that file.
    void writeNew(const std::string& path, std::string content, OutcomeHandler onOutcome,
                  std::function<void()> onNameTaken);
    /// As write, or writeNew with `mustBeNew`; besides, `confirm` is told how the write that carried this text
    /// ended: the text's own write, or the newer one that took its place before it began. Unlike `onOutcome`
    /// it is never dropped for a later write's outcome, so whoever waits for this text to be on disk hears.
    void writeConfirmed(const std::string& path, std::string content, bool mustBeNew, OutcomeHandler onOutcome,
                        std::function<void()> onNameTaken, OutcomeHandler confirm);
    /// Whether a write of this name found another file there (see writeNew).
    [[nodiscard]] bool nameTaken(const std::string& path) const;
    /// Queues the removal of the file, after whatever was queued before; a waiting write of it is dropped.
    void remove(const std::string& path);
    /// Whether a write or removal of the file is queued or under way.
    [[nodiscard]] bool holds(const std::string& path) const;
    /// Takes no more jobs from now on (what is queued is still done): the exit routine has written the last
    /// word, and work that finishes after it, around a question the exit closed, must not overwrite that.
    void close();
    /// Blocks until every queued job is done; false when `limit` passed first.
    bool waitUntilDone(std::chrono::milliseconds limit = std::chrono::milliseconds::max());
    /// Runs, on the calling thread, the handlers of the writes that ended since the last call. Returns how
    /// many failed.
    int reportOutcomes();
    /// Called, from whichever thread settled it, as soon as a confirmation waits for `reportOutcomes`: it
    /// should arrange for that call on the owner's thread, and do nothing else (the queue's lock is held).
    /// Plain outcomes wait for the owner's next round; only someone waiting for a confirmation is woken.
    void setConfirmationWaker(std::function<void()> waker);

private:
    struct Job {
        std::string path;
        std::string content;
        bool removal = false;
        OutcomeHandler onOutcome;
        bool mustBeNew = false;
        std::function<void()> onNameTaken;
        std::vector<OutcomeHandler> confirmations;
    };
    struct Outcome {
        std::string path;
        bool ok = false;
        bool nameTaken = false; ///< the file was not written: another had its name
        std::string reason;
        OutcomeHandler onOutcome;
        std::function<void()> onNameTaken;
    };
    struct Confirmation {
        OutcomeHandler handler;
        bool ok = false;
        std::string reason;
    };

    void enqueue(Job job);
    void run();
    /// Records the outcome of the job just done, under the lock.
    void settle(Job& job, bool ok, bool nameTaken, std::string reason);
    /// Under the lock: the confirmations are told at the next reportOutcomes.
    void confirm(std::vector<OutcomeHandler>& confirmations, bool ok, const std::string& reason);

    WriteFile m_writeFile;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    /// The path of the job under way; "" when none.
    std::string m_current;
    bool m_stopping = false;
    bool m_closed = false;
    std::vector<Outcome> m_outcomes;
    std::vector<Confirmation> m_confirmed;
    std::function<void()> m_waker;
    /// Names whose new file found another one there.
    std::set<std::string> m_takenNames;
    std::thread m_thread;
};

} // namespace halvika
