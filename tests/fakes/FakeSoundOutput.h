// Sound output that plays nothing and records every request; which files exist and which players can play
// them is set by the test.
#pragma once

#include "platform/SoundOutput.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace halvika::test {

class FakeSoundOutput : public SoundOutput {
public:
    /// One entry per request: "media:file", "simple:file", "loop:file", "stop", in order over all channels.
    std::vector<std::string> log;
    std::set<std::string> existing;
    bool mediaWorks = true;
    bool simpleWorks = true;
    bool loopWorks = true;
    int beeps = 0;

    class Channel : public SoundChannel {
    public:
        explicit Channel(FakeSoundOutput& output) : m_output(output) {}
        bool playMedia(const std::string& file) override { return record("media:", file, m_output.mediaWorks); }
        bool playSimple(const std::string& file) override { return record("simple:", file, m_output.simpleWorks); }
        bool playLooped(const std::string& file) override {
            looping = m_output.loopWorks;
            return record("loop:", file, m_output.loopWorks);
        }
        void stop() override {
            looping = false;
            m_output.log.push_back("stop");
        }
        bool looping = false;

    private:
        bool record(const char* kind, const std::string& file, bool works) {
            m_output.log.push_back(kind + file);
            return works;
        }
        FakeSoundOutput& m_output;
    };

    std::unique_ptr<SoundChannel> openChannel() override {
        auto channel = std::make_unique<Channel>(*this);
        channels.push_back(channel.get());
        return channel;
    }
    void beep() override { ++beeps; }
    bool fileExists(const std::string& path) const override { return existing.count(path) > 0; }

    /// Every channel opened, including closed ones (do not use those after their owner is gone).
    std::vector<Channel*> channels;

    /// The log entries that start with `prefix`.
    std::vector<std::string> entries(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& e : log) {
            if (e.rfind(prefix, 0) == 0) {
                found.push_back(e);
            }
        }
        return found;
    }
};

} // namespace halvika::test
