// Running a plug-in program: the request on its input, the reply from its output.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace halvika {

class PluginProcess {
public:
    /// A plug-in program still running after it replied; ending the handle ends the program.
    class Running {
    public:
        virtual ~Running() = default;
        virtual bool isAlive() = 0;
    };

    struct Result {
        bool ok = false;                  ///< the program replied and ended well (or is still running, when allowed)
        std::string reply;                ///< its whole output; "" unless ok
        std::unique_ptr<Running> running; ///< set when the program went on after closing its output
    };

    /// A call under way. Nothing waits for it unless asked to; ending the handle before the call has ended
    /// ends the program.
    class Pending {
    public:
        virtual ~Pending() = default;
        /// Moves the call on, waiting at most `waitMs` (0: not at all) for the program; true once it has ended,
        /// and then `takeResult` gives the outcome.
        virtual bool advance(int waitMs) = 0;
        virtual Result takeResult() = 0;
    };

    virtual ~PluginProcess() = default;
    /// Starts the program, writes `input` to its standard input and closes it, and reads its output until
    /// end-of-file, all within `timeoutMs`. A program that cannot start, crashes, exits non-zero, runs out of
    /// time or writes more than `maxReply` bytes gives ok false. A program that closes its output and goes on
    /// is handed back in `running`; without it, such a program is waited for within the time left.
    virtual Result call(const std::string& program, const std::string& input, int timeoutMs, std::size_t maxReply,
                        const std::vector<std::string>& arguments = {}) = 0;
    /// The same call, returning at once. This default runs the whole call first, for processes that cannot
    /// do otherwise.
    virtual std::unique_ptr<Pending> start(const std::string& program, const std::string& input, int timeoutMs,
                                           std::size_t maxReply, const std::vector<std::string>& arguments = {});
};

} // namespace halvika
