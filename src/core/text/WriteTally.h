// Several writes a user asked for at once, told as one.
#pragma once

#include "text/FileWriteQueue.h"

#include <functional>
#include <memory>
#include <string>

namespace halvika {

/// Collects the confirmations of a batch of queued writes ("Save all": every group, the settings, the to-do
/// note) and, once the last is in, tells `done` the lines of those that failed ("" when none did). Held by
/// the confirmations themselves, so it lives exactly as long as a write of the batch is outstanding.
class WriteTally : public std::enable_shared_from_this<WriteTally> {
public:
    using Done = std::function<void(const std::string& problems)>;

    static std::shared_ptr<WriteTally> create(Done done);
    /// The confirmation for one more write of the batch; when it fails, `label` and the reason make its line.
    FileWriteQueue::OutcomeHandler expect(std::string label);
    /// Every write of the batch is expected: `done` runs when the last is in, at once when none is out.
    void close();

private:
    explicit WriteTally(Done done) : m_done(std::move(done)) {}
    void settled();

    Done m_done;
    std::string m_problems;
    int m_outstanding = 1; ///< the batch itself, until closed
};

} // namespace halvika
