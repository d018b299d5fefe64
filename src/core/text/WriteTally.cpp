// Several writes a user asked for at once, told as one.
#include "text/WriteTally.h"

#include <utility>

namespace halvika {

std::shared_ptr<WriteTally> WriteTally::create(Done done) {
    return std::shared_ptr<WriteTally>(new WriteTally(std::move(done)));
}

FileWriteQueue::OutcomeHandler WriteTally::expect(std::string label) {
    ++m_outstanding;
    // The handler keeps the tally: nobody else needs to hold it while the disk works.
    return [self = shared_from_this(), label = std::move(label)](bool ok, const std::string& reason) {
        if (!ok) {
            self->m_problems += "\n" + label + "\n" + reason;
        }
        self->settled();
    };
}

void WriteTally::close() {
    settled();
}

void WriteTally::settled() {
    if (--m_outstanding == 0 && m_done) {
        std::exchange(m_done, {})(m_problems);
    }
}

} // namespace halvika
