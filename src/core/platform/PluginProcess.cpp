// The blocking fallback for processes that cannot run a call in the background.
#include "platform/PluginProcess.h"

namespace halvika {

namespace {

class FinishedCall : public PluginProcess::Pending {
public:
    explicit FinishedCall(PluginProcess::Result result) : m_result(std::move(result)) {}
    bool advance(int) override { return true; }
    PluginProcess::Result takeResult() override { return std::move(m_result); }

private:
    PluginProcess::Result m_result;
};

} // namespace

std::unique_ptr<PluginProcess::Pending> PluginProcess::start(const std::string& program, const std::string& input,
                                                             int timeoutMs, std::size_t maxReply,
                                                             const std::vector<std::string>& arguments) {
    return std::make_unique<FinishedCall>(call(program, input, timeoutMs, maxReply, arguments));
}

} // namespace halvika
