// Plug-in programs run with posix_spawn, pipes and poll.
#pragma once

#include "platform/PluginProcess.h"

namespace halvika {

/// Each program runs in a process group of its own, so that what it starts ends with it.
class PosixPluginProcess : public PluginProcess {
public:
    Result call(const std::string& program, const std::string& input, int timeoutMs, std::size_t maxReply,
                const std::vector<std::string>& arguments = {}) override;
    std::unique_ptr<Pending> start(const std::string& program, const std::string& input, int timeoutMs,
                                   std::size_t maxReply, const std::vector<std::string>& arguments = {}) override;
};

} // namespace halvika
