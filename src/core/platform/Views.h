// What the core tells the windows to do.
#pragma once

namespace halvika {

class Views {
public:
    virtual ~Views() = default;
    /// Closes every open window, the most recently opened first.
    virtual void unloadAllWindows() = 0;
    /// Ends the process with the exit code once control returns to the event loop.
    virtual void endProcess(int exitCode) = 0;
};

} // namespace halvika
