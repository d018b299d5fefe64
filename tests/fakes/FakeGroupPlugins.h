// A plug-in host with scripted replies, recording every call.
#pragma once

#include "groups/GroupPlugins.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace halvika::test {

class FakeGroupPlugins : public GroupPlugins {
public:
    struct Call {
        std::string plugin;
        std::string method;
        std::string parameters;
    };

    std::vector<FileFormat> imports;
    std::vector<FileFormat> exports;
    /// Replies by plug-in and method; a missing one answers "" like a failed call.
    std::map<std::pair<std::string, std::string>, std::string> replies;
    std::vector<Call> calls;

    std::vector<FileFormat> importFormats() override { return imports; }
    std::vector<FileFormat> exportFormats() override { return exports; }
    std::string call(const std::string& plugin, const std::string& method, const std::string& parameters) override {
        calls.push_back({plugin, method, parameters});
        const auto it = replies.find({plugin, method});
        return it == replies.end() ? std::string() : it->second;
    }
    /// With `deferCalls` the background calls wait in `deferred` until the test answers them.
    void callLater(const std::string& plugin, const std::string& method, const std::string& parameters,
                   std::function<void(const std::string&)> done) override {
        const std::string reply = call(plugin, method, parameters);
        if (!deferCalls) {
            done(reply);
            return;
        }
        deferred.push_back([reply, done = std::move(done)] { done(reply); });
    }
    bool deferCalls = false;
    std::vector<std::function<void()>> deferred;
    std::string languageElement() const override { return "<lang>en-us</lang>"; }
    std::string syncDescription(const std::string& plugin) const override {
        return plugin == "HalvikaSync*Cloud" ? "Cloud calendar" : "";
    }
};

} // namespace halvika::test
