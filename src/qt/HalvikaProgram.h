// Puts the program together: arguments, home folder, single instance, services, windows, event loop.
#pragma once

namespace halvika {

class HalvikaProgram {
public:
    /// Runs the program and returns the process exit code.
    static int run(int argc, char** argv);

private:
    static int runApplication(int argc, char** argv);
};

} // namespace halvika
