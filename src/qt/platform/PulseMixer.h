// The default output's volume and mute through the PulseAudio client library (PipeWire serves it too).
#pragma once

#include "platform/Mixer.h"

#include <pulse/volume.h>

#include <string>

struct pa_context;
struct pa_threaded_mainloop;
struct pa_operation;

namespace halvika {

class PulseMixer : public Mixer {
public:
    /// `server` empty: the user's default sound server.
    explicit PulseMixer(std::string server = "");
    ~PulseMixer() override;
    PulseMixer(const PulseMixer&) = delete;
    PulseMixer& operator=(const PulseMixer&) = delete;

    std::optional<Level> level() override;
    bool setVolume(long volume) override;
    bool setMuted(bool muted) override;

private:
    bool connect();
    void disconnect();
    struct Sink {
        std::string name;
        bool found = false;
        pa_cvolume volume{};
        bool muted = false;
    };
    /// Waits for the operation, for a bounded time; true when it is done. Called with the loop locked.
    bool wait(pa_operation* operation);
    /// After the loop is unlocked: a request left unanswered ends the use of the server for the run.
    void giveUpIfStalled();
    /// The default sink's name; called with the loop locked.
    std::string defaultSink();
    /// The default sink's volume and mute; called with the loop locked.
    Sink defaultSinkInfo();

    std::string m_server;
    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    bool m_failed = false;
    bool m_stalled = false;
};

} // namespace halvika
