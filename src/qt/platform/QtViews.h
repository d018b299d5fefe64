// What the core asks of the windows, carried out on Qt.
#pragma once

#include "platform/Views.h"

namespace halvika {

class QtViews : public Views {
public:
    void unloadAllWindows() override;
    void endProcess(int exitCode) override;

    /// Runs the main event loop and returns its exit code; returns at once when the end was asked for before
    /// the loop ran (from a question box at start, say), which the loop itself would never hear of.
    int exec();
    bool endRequested() const { return m_endRequested; }

private:
    bool m_endRequested = false;
    int m_exitCode = 0;
};

} // namespace halvika
