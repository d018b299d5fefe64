// Starts programs without waiting for them, quickly even from a large process.
#pragma once

#include <string>
#include <vector>

namespace halvika {

class PosixProgramStarter {
public:
    /// Starts `program` (searched in PATH when it has no "/") with the arguments in `workingFolder` (the
    /// current one when empty), in a process group of its own. The child is reaped when it ends. False when it
    /// could not be started.
    static bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& workingFolder);
    /// Readies what starting a program needs, so that the first alarm's program waits for nothing.
    static void prepare();
};

} // namespace halvika
