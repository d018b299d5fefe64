// The file writer's thread: the caller never waits for the disk, the latest text of a file is what lands, and
// how each write ended is told on the caller's thread.
#include "text/FileWriteQueue.h"

#include "fakes/TempHome.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace halvika {
namespace {

using namespace std::chrono_literals;

/// A disk that holds every write until opened, and records what it was asked to write.
class StalledDisk {
public:
    FileWriteQueue::WriteFile writer() {
        return [this](const std::string& path, const std::string& content, std::string* reason) {
            std::unique_lock lock(m_mutex);
            m_arrived.notify_all();
            m_waiting = true;
            m_opened.wait(lock, [this] { return m_open; });
            m_waiting = false;
            writes.push_back(path + "=" + content);
            if (content == "refused") {
                *reason = "No space left on device";
                return false;
            }
            return true;
        };
    }
    void open() {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_opened.notify_all();
    }
    /// Blocks until a write is held.
    void waitForAWrite() {
        std::unique_lock lock(m_mutex);
        m_arrived.wait(lock, [this] { return m_waiting; });
    }

    std::vector<std::string> writes;

private:
    std::mutex m_mutex;
    std::condition_variable m_opened;
    std::condition_variable m_arrived;
    bool m_open = false;
    bool m_waiting = false;
};

TEST(FileWriteQueue, AStalledDiskNeverHoldsUpTheCallerAndOnlyTheLatestTextOfAFileIsWrittenAfterIt) {
    StalledDisk disk;
    FileWriteQueue queue(disk.writer());
    queue.write("a", "1");
    disk.waitForAWrite();
    // Each call returns while the disk holds the first write.
    queue.write("a", "2");
    queue.write("b", "1");
    queue.write("a", "3");
    EXPECT_TRUE(queue.holds("a"));
    EXPECT_TRUE(queue.holds("b"));
    EXPECT_FALSE(queue.holds("c"));
    EXPECT_FALSE(queue.waitUntilDone(20ms));
    disk.open();
    EXPECT_TRUE(queue.waitUntilDone());
    // "a=2" was replaced where it waited; the write under way when "a=2" came is followed, not dropped.
    EXPECT_EQ(disk.writes, (std::vector<std::string>{"a=1", "a=3", "b=1"}));
    EXPECT_FALSE(queue.holds("a"));
}

TEST(FileWriteQueue, EachFilesLatestOutcomeIsToldOnceOnTheCallersThread) {
    StalledDisk disk;
    disk.open();
    FileWriteQueue queue(disk.writer());
    const auto caller = std::this_thread::get_id();
    std::vector<std::string> told;
    const auto handler = [&](const std::string& file) {
        return [&, file](bool ok, const std::string& reason) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            told.push_back(file + (ok ? " saved" : " refused: " + reason));
        };
    };
    queue.write("a", "refused", handler("a"));
    queue.write("b", "fine", handler("b"));
    ASSERT_TRUE(queue.waitUntilDone());
    EXPECT_TRUE(told.empty()); // nothing is told from the writer's thread
    EXPECT_EQ(queue.reportOutcomes(), 1);
    EXPECT_EQ(told, (std::vector<std::string>{"a refused: No space left on device", "b saved"}));
    told.clear();
    EXPECT_EQ(queue.reportOutcomes(), 0);
    EXPECT_TRUE(told.empty());

    // A failure made moot by a later success of the same file before anyone looked is not told.
    queue.write("a", "refused", handler("a"));
    ASSERT_TRUE(queue.waitUntilDone());
    queue.write("a", "fine", handler("a"));
    ASSERT_TRUE(queue.waitUntilDone());
    EXPECT_EQ(queue.reportOutcomes(), 0);
    EXPECT_EQ(told, (std::vector<std::string>{"a saved"}));
}

TEST(FileWriteQueue, AConfirmationHearsOfTheWriteThatCarriedItsTextWhateverCameAfter) {
    StalledDisk disk;
    FileWriteQueue queue(disk.writer());
    std::vector<std::string> confirmed;
    const auto confirm = [&](const std::string& who) {
        return [&, who](bool ok, const std::string& reason) {
            confirmed.push_back(who + (ok ? " on disk" : " " + reason));
        };
    };
    std::atomic<int> wakes = 0; // the writer's thread asks for a report; plain outcomes wait
    queue.setConfirmationWaker([&wakes] { ++wakes; });
    queue.write("busy", "1");
    disk.waitForAWrite();
    // Waiting behind the stalled write: a newer text takes its place and carries its confirmation.
    queue.writeConfirmed("a", "1", false, {}, {}, confirm("first"));
    queue.writeConfirmed("a", "2", false, {}, {}, confirm("second"));
    queue.write("b", "1");
    queue.writeConfirmed("b", "2", false, {}, {}, confirm("dropped"));
    queue.remove("b"); // the text never reaches the disk
    disk.open();
    ASSERT_TRUE(queue.waitUntilDone());
    EXPECT_TRUE(confirmed.empty()); // told on the caller's thread, at the report
    EXPECT_EQ(wakes, 2);            // the removal's, at once, and the write's
    queue.reportOutcomes();
    EXPECT_EQ(confirmed, (std::vector<std::string>{"dropped the file was removed before it was written",
                                                   "first on disk", "second on disk"}));

    // A later outcome of the same file before anyone looked makes an earlier failure moot for the handlers,
    // but not for the confirmation: its text did not land.
    confirmed.clear();
    queue.writeConfirmed("a", "refused", false, {}, {}, confirm("refused"));
    ASSERT_TRUE(queue.waitUntilDone());
    queue.write("a", "3");
    ASSERT_TRUE(queue.waitUntilDone());
    EXPECT_EQ(wakes, 3);
    queue.close();
    queue.writeConfirmed("a", "4", false, {}, {}, confirm("late"));
    queue.reportOutcomes();
    EXPECT_EQ(confirmed, (std::vector<std::string>{"refused No space left on device", "late the program is ending"}));
}

TEST(FileWriteQueue, ARemovalComesAfterTheWritesBeforeItAndNoWaitingWriteBringsTheFileBack) {
    test::TempHome home;
    const std::string kept = home.file("kept.agx");
    const std::string gone = home.file("gone.agx");
    {
        FileWriteQueue queue;
        queue.write(kept, "<a/>");
        queue.write(gone, "<b/>");
        queue.remove(gone);
        ASSERT_TRUE(queue.waitUntilDone());
        EXPECT_EQ(home.read("kept.agx"), "<a/>");
        EXPECT_FALSE(std::filesystem::exists(gone));
        queue.remove(kept);
        queue.write(kept, "<c/>"); // written again after its removal
        // Nothing handed over is dropped when the writer goes: its end waits for the disk.
        queue.write(gone, "<d/>");
    }
    EXPECT_EQ(home.read("kept.agx"), "<c/>");
    EXPECT_EQ(home.read("gone.agx"), "<d/>");
}

TEST(FileWriteQueue, ANewFileNeverLandsOnAnotherOneAndNoLaterWriteOrRemovalOfThatNameDoesEither) {
    test::TempHome home;
    home.write("usg_0.agx", "theirs");
    const std::string theirs = home.file("usg_0.agx");
    std::vector<std::string> told;
    const auto outcome = [&](const std::string& what) {
        return [&, what](bool ok, const std::string&) { told.push_back(what + (ok ? " saved" : " refused")); };
    };
    const auto taken = [&](const std::string& what) { return [&, what] { told.push_back(what + " taken"); }; };
    FileWriteQueue queue;
    queue.writeNew(theirs, "ours", outcome("new"), taken("new"));
    ASSERT_TRUE(queue.waitUntilDone());
    EXPECT_TRUE(queue.nameTaken(theirs));
    EXPECT_EQ(queue.reportOutcomes(), 0); // a name taken is no failure: the caller names the file anew
    queue.write(theirs, "ours again", outcome("again"), taken("again"));
    ASSERT_TRUE(queue.waitUntilDone());
    queue.reportOutcomes();
    queue.remove(theirs);
    queue.writeNew(home.file("usg_1.agx"), "ours", outcome("fresh"), taken("fresh"));
    ASSERT_TRUE(queue.waitUntilDone());
    queue.reportOutcomes();
    EXPECT_EQ(told, (std::vector<std::string>{"new taken", "again taken", "fresh saved"}));
    EXPECT_EQ(home.read("usg_0.agx"), "theirs");
    EXPECT_EQ(home.read("usg_1.agx"), "ours");
    EXPECT_FALSE(queue.nameTaken(home.file("usg_1.agx")));
}

TEST(FileWriteQueue, ANewFileWaitingItsTurnStaysNewWhenANewerTextTakesItsPlaceAndIsDroppedByItsRemoval) {
    test::TempHome home;
    home.write("usg_0.agx", "theirs");
    const std::string theirs = home.file("usg_0.agx");
    const std::string dropped = home.file("usg_1.agx");
    StalledDisk disk;
    FileWriteQueue queue(disk.writer());
    queue.write("held", "1");
    disk.waitForAWrite();
    int takenTold = 0;
    queue.writeNew(theirs, "a", {}, [&] { ++takenTold; });
    queue.write(theirs, "b"); // the newer text, still not over their file; the first one's news stands
    queue.writeNew(dropped, "c", {}, {});
    queue.remove(dropped); // never written: nothing to remove, nothing to write
    EXPECT_FALSE(queue.holds(dropped));
    disk.open();
    ASSERT_TRUE(queue.waitUntilDone());
    queue.reportOutcomes();
    EXPECT_EQ(disk.writes, (std::vector<std::string>{"held=1"}));
    EXPECT_EQ(takenTold, 1);
    EXPECT_EQ(home.read("usg_0.agx"), "theirs");
}

} // namespace
} // namespace halvika
